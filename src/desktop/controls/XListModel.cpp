#include "desktop/controls/XListModel.h"

XListModel::XListModel(QObject* parent) : QAbstractTableModel(parent) {}

XListModel::~XListModel() = default;

int XListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int XListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant XListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !HasCell(index.row(), index.column())) {
        return {};
    }
    const ListCellData& cell = m_rows[static_cast<std::size_t>(index.row())]
                                   .cells[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
            return cell.text;
        case Qt::TextAlignmentRole:
            return static_cast<int>(ColumnAlignment(index.column()) | Qt::AlignVCenter);
        case kCellRole:
            return QVariant::fromValue(static_cast<const void*>(&cell));
        default:
            return {};
    }
}

QVariant XListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return m_columns[static_cast<std::size_t>(section)].caption;
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(ColumnAlignment(section));
    }
    return {};
}

void XListModel::InsertColumn(int column, const QString& caption, Qt::Alignment alignment) {
    column = std::clamp(column, 0, columnCount());
    beginInsertColumns({}, column, column);
    m_columns.insert(m_columns.begin() + column, Column{caption, alignment});
    endInsertColumns();
}

Qt::Alignment XListModel::ColumnAlignment(int column) const {
    if (column < 0 || column >= columnCount()) {
        return Qt::AlignLeft;
    }
    return m_columns[static_cast<std::size_t>(column)].alignment;
}

int XListModel::InsertRow(int row, const ListCellData& defaults) {
    row = std::min(row, rowCount());
    beginInsertRows({}, row, row);
    Row inserted;
    inserted.cells.assign(m_columns.size(), defaults);
    inserted.insertIndex = row;
    m_rows.insert(m_rows.begin() + row, std::move(inserted));
    endInsertRows();
    return row;
}

bool XListModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return false;
    }
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

void XListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

bool XListModel::HasCell(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= 0 &&
           column < static_cast<int>(m_rows[static_cast<std::size_t>(row)].cells.size());
}

ListCellData& XListModel::Cell(int row, int column) {
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void XListModel::SetUserData(int row, void* userData) {
    m_rows[static_cast<std::size_t>(row)].userData = userData;
}

void XListModel::CellChanged(int row, int column) {
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}
