#pragma once

#include <QDialog>

class CKx7Doc;
class QLabel;
class QLineEdit;
class QListWidget;

// "Value": market prices typed by hand, one symbol at a time, and the value and share of
// each holding. "Commit" stores a price in the document at once.
class CValueDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CValueDlg)

public:
    CValueDlg(CKx7Doc& doc, QWidget* parent);
    ~CValueDlg() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnRowChosen();
    void OnCommit();
    void OnCalculate();
    // Enter: checks the entry as the dialog's value and closes without committing.
    void OnEnter();
    void ShowEntryValue();

    CKx7Doc& m_doc;
    QListWidget* m_rowList = nullptr;
    QLineEdit* m_entry = nullptr;
    QLabel* m_total = nullptr;
    float m_entryValue = 0;
    int m_rowCount = 0;
};
