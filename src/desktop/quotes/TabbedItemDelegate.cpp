#include "desktop/quotes/TabbedItemDelegate.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int kMargin = 3;

int TextFlags() {
    return Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs;
}

}  // namespace

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
    painter->drawText(option.rect.adjusted(kMargin, 0, -kMargin, 0), TextFlags(), text);
    painter->restore();
}

QSize CTabbedItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QSize size = option.fontMetrics.size(TextFlags(), text);
    return {size.width() + 2 * kMargin, QStyledItemDelegate::sizeHint(option, index).height()};
}
