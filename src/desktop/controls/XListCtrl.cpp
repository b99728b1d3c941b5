#include "desktop/controls/XListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "desktop/controls/XCellDelegate.h"
#include "desktop/controls/XHeaderCtrl.h"
#include "desktop/controls/XListCompare.h"
#include "desktop/controls/XListModel.h"

CXListCtrl::CXListCtrl(QWidget* parent)
    : QTableView(parent), m_model(new XListModel(this)), m_header(new CXHeaderCtrl(this)) {
    setModel(m_model);
    setHorizontalHeader(m_header);
    setItemDelegate(new XCellDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    m_header->setStretchLastSection(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setFixedHeight(fontMetrics().height() + 6);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(m_header, &QHeaderView::sectionClicked, this, &CXListCtrl::OnColumnClick);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit RowClicked(index.row()); });
}

CXListCtrl::~CXListCtrl() = default;

void CXListCtrl::InsertColumn(int column, const QString& caption, Qt::Alignment alignment,
                              int width) {
    m_model->InsertColumn(column, caption, alignment);
    setColumnWidth(std::clamp(column, 0, ColumnCount() - 1), width);
}

int CXListCtrl::ColumnCount() const {
    return m_model->columnCount();
}

int CXListCtrl::RowCount() const {
    return m_model->rowCount();
}

ListCellData CXListCtrl::DefaultCell() const {
    ListCellData cell;
    cell.textColour = palette().color(QPalette::Text);
    cell.backColour = palette().color(QPalette::Base);
    return cell;
}

int CXListCtrl::InsertItem(int row, const QString& text) {
    if (row < 0 || ColumnCount() == 0) {
        return -1;
    }
    const int inserted = m_model->InsertRow(row, DefaultCell());
    m_model->Cell(inserted, 0).text = text;
    m_model->CellChanged(inserted, 0);
    return inserted;
}

bool CXListCtrl::SetItemText(int row, int column, const QString& text) {
    if (!m_model->HasCell(row, column)) {
        return false;
    }
    m_model->Cell(row, column).text = text;
    m_model->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetItemText(int row, int column, const QString& text, const QColor& textColour,
                             const QColor& backColour) {
    if (!m_model->HasCell(row, column)) {
        return false;
    }
    ListCellData& cell = m_model->Cell(row, column);
    const ListCellData defaults = DefaultCell();
    cell.text = text;
    cell.textColour = textColour.isValid() ? textColour : defaults.textColour;
    cell.backColour = backColour.isValid() ? backColour : defaults.backColour;
    m_model->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetCellBold(int row, int column, bool bold) {
    if (!m_model->HasCell(row, column)) {
        return false;
    }
    m_model->Cell(row, column).bold = bold;
    m_model->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetItemUserData(int row, void* userData) {
    if (!m_model->HasCell(row, 0)) {
        return false;
    }
    m_model->SetUserData(row, userData);
    return true;
}

void* CXListCtrl::GetItemUserData(int row) const {
    return m_model->HasCell(row, 0) ? m_model->RowAt(row).userData : nullptr;
}

QString CXListCtrl::GetItemText(int row, int column) const {
    const ListCellData* cell = Cell(row, column);
    return cell != nullptr ? cell->text : QString();
}

const ListCellData* CXListCtrl::Cell(int row, int column) const {
    if (!m_model->HasCell(row, column)) {
        return nullptr;
    }
    return &m_model->RowAt(row).cells[static_cast<std::size_t>(column)];
}

bool CXListCtrl::DeleteItem(int row) {
    return m_model->RemoveRow(row);
}

void CXListCtrl::DeleteAllItems() {
    m_model->Clear();
}

void CXListCtrl::OnColumnClick(int column) {
    const int direction = column == m_sortColumn ? (m_sortDirection + 1) % 3 : kAscending;
    SortByColumn(column, direction);
}

void CXListCtrl::SortByColumn(int column, int direction) {
    if (column < 0 || column >= ColumnCount()) {
        return;
    }
    m_sortColumn = column;
    m_sortDirection = direction;
    m_header->MarkSortColumn(column, direction);
    const auto text = [column](const XListModel::Row& row) {
        return static_cast<std::size_t>(column) < row.cells.size()
                   ? row.cells[static_cast<std::size_t>(column)].text
                   : QString();
    };
    m_model->Sort([&](const XListModel::Row& a, const XListModel::Row& b) {
        if (direction == kUnsorted) {
            return CompareInsertIndexes(a.insertIndex, b.insertIndex) < 0;
        }
        return CompareCellTexts(text(a), text(b), direction) < 0;
    });
}

void CXListCtrl::RepeatSort() {
    if (m_sortDirection != kUnsorted) {
        SortByColumn(m_sortColumn, m_sortDirection);
    }
}

void CXListCtrl::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (RowCount() != 0) {
        return;
    }
    QPainter painter(viewport());
    const QRect area = viewport()->rect().adjusted(0, 10, 0, 0);
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, EmptyMessage());
}

void CXListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
        emit RowClicked(-1);
    }
}

void CXListCtrl::PaintToPrinter(QPainter& painter, const QPoint& origin) {
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    render(&painter, origin, QRegion(), QWidget::DrawChildren);
    painter.restore();
}
