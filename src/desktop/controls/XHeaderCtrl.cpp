#include "desktop/controls/XHeaderCtrl.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "desktop/controls/MemDC.h"

namespace {

constexpr int kCaptionLimit = 80;

// GDI-style rectangle edges: right and bottom are one past the last pixel.
int Right(const QRect& rect) {
    return rect.x() + rect.width();
}

int Bottom(const QRect& rect) {
    return rect.y() + rect.height();
}

void Line(QPainter& painter, const QColor& colour, int x1, int y1, int x2, int y2) {
    painter.setPen(QPen(colour, 1));
    painter.drawLine(x1, y1, x2, y2);
}

Qt::Alignment HorizontalAlignment(const QVariant& alignment) {
    const auto value = Qt::Alignment(alignment.toInt());
    if (value & Qt::AlignHCenter) {
        return Qt::AlignHCenter;
    }
    if (value & Qt::AlignRight) {
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

void DrawCaption(QPainter& painter, const QRect& rect, const QString& caption,
                 Qt::Alignment alignment) {
    painter.setPen(CXHeaderCtrl::kCaptionColour);
    const QString shown = painter.fontMetrics().elidedText(caption, Qt::ElideRight, rect.width());
    painter.drawText(rect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

}  // namespace

CXHeaderCtrl::CXHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSortIndicatorShown(false);
    setHighlightSections(false);
    // Every pixel is painted by paintEvent, so the background is never cleared apart.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    LoadColours();
}

CXHeaderCtrl::~CXHeaderCtrl() = default;

void CXHeaderCtrl::LoadColours() {
    const QPalette& colours = palette();
    m_highlight = colours.color(QPalette::Light);
    m_shadow = colours.color(QPalette::Dark);
    m_face = colours.color(QPalette::Button);
    m_text = colours.color(QPalette::ButtonText);
}

void CXHeaderCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        LoadColours();
    }
    QHeaderView::changeEvent(event);
}

void CXHeaderCtrl::MarkSortColumn(int column, int direction) {
    m_sortColumn = column;
    m_sortDirection = direction;
    m_ownerDrawn.insert(column);
    viewport()->update();
}

void CXHeaderCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    CMemDC surface(painter, event->rect());
    PaintHeader(surface.Painter(), event->rect());
}

void CXHeaderCtrl::PaintHeader(QPainter& painter, const QRect& clip) const {
    if (clip.isEmpty()) {
        return;
    }
    painter.save();
    painter.fillRect(clip, m_face);
    painter.setFont(font());
    painter.setPen(m_text);
    int totalWidth = 0;
    const int columns = count();
    for (int visual = 0; visual < columns; ++visual) {
        const int column = logicalIndex(visual);
        if (isSectionHidden(column)) {
            continue;
        }
        const QRect item(sectionViewportPosition(column), 0, sectionSize(column), height());
        const QString caption =
            model() != nullptr
                ? model()->headerData(column, Qt::Horizontal).toString().left(kCaptionLimit)
                : QString();
        const Qt::Alignment alignment = model() != nullptr
                                            ? HorizontalAlignment(model()->headerData(
                                                  column, Qt::Horizontal, Qt::TextAlignmentRole))
                                            : Qt::AlignLeft;
        if (IsOwnerDrawn(column)) {
            DrawOwnerItem(painter, column, item, caption, alignment);
        } else {
            DrawCaption(painter, item.adjusted(m_spacing, 0, -m_spacing, 0), caption, alignment);
        }
        if (visual < columns - 1) {
            Line(painter, m_shadow, Right(item) - 1, item.y() + 2, Right(item) - 1,
                 Bottom(item) - 3);
            Line(painter, m_highlight, Right(item), item.y() + 2, Right(item), Bottom(item) - 3);
        }
        totalWidth += item.width();
    }
    if (totalWidth > 0) {
        const int left = -offset();
        const int right = left + totalWidth - 1;
        const int bottom = height() - 1;
        Line(painter, m_highlight, left, 0, right, 0);
        Line(painter, m_highlight, left, 0, left, bottom);
        Line(painter, m_shadow, left, bottom, right, bottom);
        Line(painter, m_shadow, right, 0, right, bottom);
    }
    painter.restore();
}

void CXHeaderCtrl::DrawOwnerItem(QPainter& painter, int column, QRect rect, const QString& caption,
                                 Qt::Alignment alignment) const {
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, m_face);
    const QRect whole = rect;
    const int quarter = rect.height() / 4;
    if (column == m_sortColumn) {
        rect.setRight(rect.right() - 3 * quarter);
    }
    rect.adjust(quarter, 0, -quarter, 0);
    if (rect.width() > 0) {
        DrawCaption(painter, rect, caption, alignment);
    }
    if (column == m_sortColumn) {
        DrawTriangle(painter, whole);
    }
    painter.restore();
}

void CXHeaderCtrl::DrawTriangle(QPainter& painter, const QRect& rect) const {
    const int d = rect.height() / 4;
    const int x = Right(rect);
    const int y = Bottom(rect);
    if (m_sortDirection == 1) {
        // Pointing up.
        Line(painter, m_highlight, x - 2 * d, d, x - d, y - d - 1);
        Line(painter, m_highlight, x - d, y - d - 1, x - 3 * d - 2, y - d - 1);
        Line(painter, m_shadow, x - 3 * d - 1, y - d - 1, x - 2 * d, d - 1);
    } else if (m_sortDirection == 0) {
        // Pointing down.
        Line(painter, m_highlight, x - d - 1, d, x - 2 * d - 1, y - d);
        Line(painter, m_shadow, x - 2 * d - 2, y - d, x - 3 * d - 1, d);
        Line(painter, m_shadow, x - 3 * d - 1, d, x - d - 1, d);
    }
}
