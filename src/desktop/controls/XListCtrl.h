#pragma once

#include <QColor>
#include <QTableView>

#include "desktop/controls/ListCellData.h"

class CXHeaderCtrl;
class QPainter;
class XListModel;

// A report-style list that draws its cells itself: a text colour, a background colour
// and a bold-underlined flag per cell, a message in the empty list, three-state sorting
// by header click, and printing into a page. Row and column indexes count from 0; an
// index out of range makes an operation do nothing and return false (or -1).
class CXListCtrl final : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CXListCtrl)

public:
    static constexpr int kAscending = 0;
    static constexpr int kDescending = 1;
    static constexpr int kUnsorted = 2;

    explicit CXListCtrl(QWidget* parent = nullptr);
    ~CXListCtrl() override;

    // Columns must exist before rows: a row's cells cover the columns of its insertion.
    void InsertColumn(int column, const QString& caption, Qt::Alignment alignment, int width);
    int ColumnCount() const;
    int RowCount() const;

    // The new row's index, or -1 for a negative index. Past the end appends.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    // An invalid colour stands for the control's default text or background colour.
    bool SetItemText(int row, int column, const QString& text, const QColor& textColour,
                     const QColor& backColour);
    bool SetCellBold(int row, int column, bool bold);
    bool SetItemUserData(int row, void* userData);
    void* GetItemUserData(int row) const;
    QString GetItemText(int row, int column) const;
    // The cell's record, or null.
    const ListCellData* Cell(int row, int column) const;
    bool DeleteItem(int row);
    void DeleteAllItems();

    void SortByColumn(int column, int direction);
    // Sorts again by the last column and direction, so a refill keeps the user's sort.
    void RepeatSort();
    int SortColumn() const { return m_sortColumn; }
    int SortDirection() const { return m_sortDirection; }

    CXHeaderCtrl& Header() { return *m_header; }

    // Paints the header and the rows into a page, the control's top-left at `origin`.
    void PaintToPrinter(QPainter& painter, const QPoint& origin);

    static QString EmptyMessage() {
        return QStringLiteral("There are no items to show in this view.");
    }

signals:
    // A click on a row (-1: on the empty area below the rows).
    void RowClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnColumnClick(int column);
    ListCellData DefaultCell() const;

    XListModel* m_model;
    CXHeaderCtrl* m_header;
    int m_sortColumn = -1;
    int m_sortDirection = kUnsorted;
};
