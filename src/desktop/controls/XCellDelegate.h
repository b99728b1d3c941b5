#pragma once

#include <QStyledItemDelegate>

// Draws every cell of a CXListCtrl itself: its own colours, bold and underlined text when
// flagged, and the selection colours of the control.
class XCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(XCellDelegate)

public:
    explicit XCellDelegate(QObject* parent = nullptr);
    ~XCellDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
