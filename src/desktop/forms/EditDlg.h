#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/figures/RecordRows.h"

class CKx7Doc;
class CXListCtrl;
class QComboBox;

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
    void ShowRow(int listRow, const RecordRow& row);
    // The list row selected, or -1.
    int SelectedListRow() const;
    RecordRow* RowAt(int listRow) const;
    void OnFilterChosen(int index);
    void OnEdit();
    void OnDelete();
    void EditPurchase(RecordRow& row);
    void EditSale(RecordRow& row);
    void EditDividend(RecordRow& row);

    CKx7Doc& m_doc;
    CXListCtrl* m_recordList = nullptr;
    QComboBox* m_filterBox = nullptr;
    std::string m_filter{kAllRecords};
    // Each list row keeps the address of its entry; the vector is not resized until the
    // list is built again.
    std::vector<RecordRow> m_rows;
};
