#include "desktop/mainwindow/ViewPainter.h"

#include <QPainter>
#include <QStringList>
#include <QtMath>
#include <algorithm>
#include <limits>

#include "core/figures/PieLayout.h"
#include "core/figures/TimelineLayout.h"

namespace view_painter {

namespace {

// A 1-pixel frame drawn inside the rectangle.
void Frame(QPainter& painter, const ViewRect& rect, const Rgb& colour) {
    painter.save();
    painter.setPen(QPen(ToColour(colour), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
    painter.restore();
}

void Text(QPainter& painter, const ViewRect& box, int flags, const QString& text) {
    painter.drawText(ToRect(box), flags, text);
}

// Qt angles: degrees counter-clockwise from three o'clock, y growing downwards.
double AngleOf(const ViewPoint& point, const ViewPoint& centre) {
    return qRadiansToDegrees(std::atan2(-(point.y - centre.y), point.x - centre.x));
}

void DrawWedge(QPainter& painter, const PieLayout& layout, const PieWedge& wedge) {
    const double start = AngleOf(wedge.from, layout.centre);
    double span = std::fmod(AngleOf(wedge.to, layout.centre) - start + 720.0, 360.0);
    if (wedge.from == wedge.to) {
        span = 360.0;
    }
    painter.drawPie(ToRect(layout.bounds), qRound(start * 16), qRound(span * 16));
}

void DrawLabel(QPainter& painter, const PieSlice& slice) {
    painter.save();
    painter.setClipRect(ToRect(slice.labelBox));
    Text(painter, slice.labelBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
         QString::fromStdString(slice.label));
    painter.restore();
}

// The font at the largest pixel size, down from the given one, at which every line fits
// the box: the fixed boxes were measured for narrower faces than most systems have.
QFont FittedFont(QFont font, const QStringList& lines, const QSize& box) {
    constexpr int kSmallest = 7;
    while (font.pixelSize() > kSmallest) {
        const QFontMetrics metrics(font);
        bool fits = metrics.height() * lines.size() <= box.height();
        for (const QString& line : lines) {
            fits = fits && metrics.horizontalAdvance(line) <= box.width();
        }
        if (fits) {
            break;
        }
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

// Fitted to the width only: the timeline's label boxes are lower than any readable font,
// and the text may stand out of them as it always has.
void FittedText(QPainter& painter, const ViewRect& box, int flags, const QString& text) {
    painter.save();
    painter.setFont(FittedFont(painter.font(), text.split(QLatin1Char('\n')),
                               QSize(box.Width(), std::numeric_limits<int>::max() / 4)));
    Text(painter, box, flags, text);
    painter.restore();
}

}  // namespace

QColor ToColour(const Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

QRect ToRect(const ViewRect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

QFont TitleFont() {
    QFont font;
    font.setPixelSize(16);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont LinkFont() {
    QFont font = TitleFont();
    font.setUnderline(true);
    return font;
}

QFont SmallFont() {
    QFont font;
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    return font;
}

void DrawPanel(QPainter& painter, const ViewRect& header, const ViewRect& body,
               const QString& title, bool withEdit, bool fillBody) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ToColour(view_palette::kOutline), 2));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(header.left + 1, header.top, header.right - header.left - 1,
                                   body.bottom - 20 - header.top),
                            6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.setFont(TitleFont());
    painter.setPen(Qt::black);
    Text(painter, {header.left + 5, header.top, header.right, header.bottom},
         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    if (withEdit) {
        painter.setFont(LinkFont());
        painter.setPen(ToColour(view_palette::kLink));
        Text(painter, {header.left, header.top, header.right - 5, header.bottom},
             Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("Edit"));
    }
    if (fillBody) {
        painter.fillRect(ToRect(body), ToColour(view_palette::kBodyFill));
    }
    painter.restore();
    Frame(painter, body, view_palette::kOutline);
}

void DrawLink(QPainter& painter, const Rgb& colour) {
    painter.save();
    const QRect link = ToRect(view_layout::kAlertLink);
    painter.fillRect(link.adjusted(0, 2, 0, -2), Qt::white);
    painter.setFont(LinkFont());
    painter.setPen(ToColour(colour));
    painter.drawText(link, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("Edit"));
    painter.restore();
}

void DrawValueSummary(QPainter& painter, const QString& figures) {
    painter.save();
    const QString labels = QStringLiteral("Value :\nRealized Gain :\nPotential Gain :");
    const QSize box = view_painter::ToRect(view_layout::kValueLabels).size();
    // Both columns share one size, the one that lets both fit.
    const QFont labelFont = FittedFont(TitleFont(), labels.split(QLatin1Char('\n')), box);
    painter.setFont(FittedFont(labelFont, figures.split(QLatin1Char('\n')),
                               view_painter::ToRect(view_layout::kValueFigures).size()));
    painter.setPen(ToColour(view_palette::kLink));
    const int flags = Qt::AlignRight | Qt::AlignTop;
    Text(painter, view_layout::kValueLabels, flags, labels);
    Text(painter, view_layout::kValueFigures, flags, figures);
    painter.restore();
}

void DrawPie(QPainter& painter, const PieLayout& layout, const QString& lastUpdate,
             const std::vector<int>& directions) {
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setFont(SmallFont());
    painter.setBackground(ToColour(view_palette::kBodyFill));
    painter.setBackgroundMode(Qt::OpaqueMode);

    if (!lastUpdate.isEmpty()) {
        const ViewRect& body = view_layout::kPieBody;
        // At least as tall as the font, so the text is not cut at the bottom.
        const int height = std::max(8, painter.fontMetrics().height());
        const ViewRect box{body.left + 3, body.bottom - 3 - height, body.right - 3,
                           body.bottom - 3};
        painter.save();
        painter.setClipRect(ToRect(box));
        Text(painter, box, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, lastUpdate);
        painter.restore();
    }

    if (layout.fullCircle) {
        painter.setBrush(ToColour(view_palette::kEmptyPie));
        painter.drawEllipse(ToRect(layout.bounds));
        painter.restore();
        return;
    }
    QColor labelColour = Qt::black;
    for (std::size_t i = 0; i < layout.slices.size(); ++i) {
        const PieSlice& slice = layout.slices[i];
        const int direction = i < directions.size() ? directions[i] : 0;
        labelColour = ToColour(view_palette::DirectionTextColour(direction));
        painter.setPen(labelColour);
        DrawLabel(painter, slice);
        if (slice.wedge) {
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(ToColour(view_palette::SliceColour(slice.colourIndex)));
            DrawWedge(painter, layout, *slice.wedge);
        }
    }
    if (layout.other) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(ToColour(view_palette::kOtherSlice));
        DrawWedge(painter, layout, *layout.other->wedge);
        painter.setPen(labelColour);
        DrawLabel(painter, *layout.other);
    }
    painter.restore();
}

void DrawTimeline(QPainter& painter, const TimelineLayout& layout) {
    const ViewRect& body = view_layout::kTimelineBody;
    DrawPanel(painter, view_layout::kTimelineHeader, body, QStringLiteral("Timeline"), true, true);
    Frame(painter, {body.left, body.top, body.right, body.bottom - 15}, view_palette::kOutline);
    Frame(painter, {body.left, body.top, body.left + 30, body.bottom}, view_palette::kOutline);
    if (!layout.graph) {
        return;
    }
    painter.save();
    painter.setFont(SmallFont());
    painter.setPen(Qt::black);
    painter.setBackground(ToColour(view_palette::kBodyFill));
    const int label = Qt::AlignRight | Qt::TextSingleLine;
    const auto text = [&](const TimelineLabel& item, int flags) {
        FittedText(painter, item.box, flags, QString::fromStdString(item.text));
    };
    if (layout.flat) {
        text(layout.firstLabel, label | Qt::AlignVCenter);
    } else {
        text(*layout.minLabel, label | Qt::AlignBottom);
        text(*layout.maxLabel, label | Qt::AlignTop);
        text(layout.firstLabel, label | Qt::AlignTop);
    }
    painter.setPen(QPen(ToColour(view_palette::kTimelinePen), 1));
    painter.drawLine(layout.lineFrom.x, layout.lineFrom.y, layout.lineTo.x, layout.lineTo.y);
    if (!layout.series.empty()) {
        QPolygon series;
        for (const ViewPoint& point : layout.series) {
            series << QPoint(point.x, point.y);
        }
        painter.drawPolyline(series);
    }
    painter.setPen(Qt::black);
    text(layout.firstTime, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
    text(layout.lastTime, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine);
    painter.restore();
}

}  // namespace view_painter
