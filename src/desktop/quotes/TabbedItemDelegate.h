#pragma once

#include <QStyledItemDelegate>

// Draws a list line with its tabs expanded to the default tab stops, so the columns of
// the Quote Price list line up as they do in a list box with tab stops.
class CTabbedItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTabbedItemDelegate)

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
