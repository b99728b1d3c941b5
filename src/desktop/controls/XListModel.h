#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <algorithm>
#include <vector>

#include "desktop/controls/ListCellData.h"

// The rows of a CXListCtrl: per-cell colours, bold flags and texts, each row's insertion
// index (the unsorted order) and a value its owner attaches.
class XListModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(XListModel)

public:
    enum Role { kCellRole = Qt::UserRole + 1 };

    struct Column {
        QString caption;
        Qt::Alignment alignment;
    };

    struct Row {
        std::vector<ListCellData> cells;
        int insertIndex = 0;
        void* userData = nullptr;
    };

    explicit XListModel(QObject* parent = nullptr);
    ~XListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void InsertColumn(int column, const QString& caption, Qt::Alignment alignment);
    Qt::Alignment ColumnAlignment(int column) const;

    // The default colours are those of the control when the row is inserted.
    int InsertRow(int row, const ListCellData& defaults);
    bool RemoveRow(int row);
    void Clear();

    bool HasCell(int row, int column) const;
    const Row& RowAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    ListCellData& Cell(int row, int column);
    void SetUserData(int row, void* userData);
    void CellChanged(int row, int column);

    // Reorders the rows; `before` says whether row a goes before row b.
    template <typename Before>
    void Sort(Before before);

private:
    void MergeSort(std::vector<Row>& rows, const auto& before);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

template <typename Before>
void XListModel::Sort(Before before) {
    beginResetModel();
    MergeSort(m_rows, before);
    endResetModel();
}

// A merge sort that stays within bounds whatever the comparison answers: the cell
// comparisons are not a strict ordering across mixed kinds of text.
void XListModel::MergeSort(std::vector<Row>& rows, const auto& before) {
    std::vector<Row> buffer(rows.size());
    for (std::size_t width = 1; width < rows.size(); width *= 2) {
        for (std::size_t left = 0; left < rows.size(); left += 2 * width) {
            const std::size_t middle = std::min(left + width, rows.size());
            const std::size_t right = std::min(left + 2 * width, rows.size());
            std::size_t i = left;
            std::size_t j = middle;
            std::size_t out = left;
            while (i < middle && j < right) {
                buffer[out++] = std::move(before(rows[j], rows[i]) ? rows[j++] : rows[i++]);
            }
            while (i < middle) {
                buffer[out++] = std::move(rows[i++]);
            }
            while (j < right) {
                buffer[out++] = std::move(rows[j++]);
            }
        }
        rows.swap(buffer);
    }
}
