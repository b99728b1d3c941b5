#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "forms/RecordRows.h"

class CKx7Doc;
class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

// "Edit Record": every purchase, sale and dividend, edited through their own forms or
// deleted. Each change reaches the document at once; "Close" undoes nothing.
class CEditDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CEditDlg)

public:
    CEditDlg(CKx7Doc& doc, QWidget* parent);
    ~CEditDlg() override;

private:
    void BuildList();
    void ShowRow(QTreeWidgetItem* item, const RecordRow& row);
    // The row behind the selected item; nothing without a selection.
    RecordRow* SelectedRow(QTreeWidgetItem** item);
    void OnFilterChosen(int index);
    void OnHeaderClicked(int column);
    void OnEdit();
    void OnDelete();
    void EditPurchase(RecordRow& row);
    void EditSale(RecordRow& row);
    void EditDividend(RecordRow& row);

    CKx7Doc& m_doc;
    QTreeWidget* m_recordList = nullptr;
    QComboBox* m_filterBox = nullptr;
    std::string m_filter{kAllRecords};
    std::vector<RecordRow> m_rows;  // by the index each item keeps
    int m_sortColumn = -1;          // none until a heading is clicked
    bool m_sortAscending = true;
};
