#include "desktop/quotes/TabbedItemDelegate.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <utility>

namespace {

constexpr int kMargin = 3;

QTextOption TabbedOption(const QFontMetrics& metrics) {
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(QuoteTabDistance(metrics));
    return option;
}

}  // namespace

qreal QuoteTabDistance(const QFontMetrics& metrics) {
    const int widest = std::max({metrics.horizontalAdvance(QStringLiteral("Current MktValue")),
                                 metrics.horizontalAdvance(QStringLiteral("$0000000.000000")),
                                 metrics.horizontalAdvance(QStringLiteral("WWWWWWWW"))});
    return widest + metrics.horizontalAdvance(QStringLiteral("   "));
}

void CTabbedItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString text = background.text;
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QRectF(option.rect.adjusted(kMargin, 0, -kMargin, 0)), text,
                      TabbedOption(QFontMetrics(option.font)));
    painter->restore();
}

QSize CTabbedItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const int fields = static_cast<int>(text.count(QLatin1Char('\t')));
    const int last = option.fontMetrics.horizontalAdvance(text.section(QLatin1Char('\t'), -1));
    const int width = static_cast<int>(fields * QuoteTabDistance(option.fontMetrics)) + last;
    return {width + 2 * kMargin, QStyledItemDelegate::sizeHint(option, index).height()};
}

CTabbedHeading::CTabbedHeading(QString text, const QWidget* list, QWidget* parent)
    : QWidget(parent), m_text(std::move(text)), m_list(list) {
    setAccessibleName(QString(m_text).replace(QLatin1Char('\t'), QLatin1Char(' ')));
}

int CTabbedHeading::TextLeft() const {
    int left = kMargin;
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(m_list)) {
        left += area->viewport()->geometry().left();
    }
    return left;
}

QSize CTabbedHeading::sizeHint() const {
    const QFontMetrics metrics(m_list->font());
    const int fields = static_cast<int>(m_text.count(QLatin1Char('\t')));
    return {static_cast<int>(fields * QuoteTabDistance(metrics)) +
                metrics.horizontalAdvance(m_text.section(QLatin1Char('\t'), -1)) + TextLeft(),
            metrics.height() + 2};
}

void CTabbedHeading::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(m_list->font());
    painter.setPen(palette().color(QPalette::WindowText));
    // The list may sit further right than this widget: the text follows the list's.
    const int offset =
        m_list->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    painter.drawText(QRectF(rect().adjusted(offset + TextLeft(), 0, 0, 0)), m_text,
                     TabbedOption(QFontMetrics(m_list->font())));
}
