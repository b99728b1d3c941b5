#pragma once

#include <QDialog>
#include <array>

class CKx7Doc;
class CXListCtrl;
class QLineEdit;

// "Edit Alert": the price alerts of the held symbols. "Set" and "Clear" change the
// document at once; OK only closes.
class CEditAlertDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CEditAlertDlg)

public:
    CEditAlertDlg(CKx7Doc& doc, QWidget* parent);
    ~CEditAlertDlg() override;

private:
    void OnRowChosen(int row);
    // The list row selected, or -1.
    int SelectedRow() const;
    void OnSet();
    void OnClear();

    CKx7Doc& m_doc;
    CXListCtrl* m_alertList = nullptr;
    QLineEdit* m_symbolEdit = nullptr;
    // "Low Mark", "High Mark", "% Down", "% Up": the list's columns 1 to 4.
    std::array<QLineEdit*, 4> m_thresholdEdits{};
};
