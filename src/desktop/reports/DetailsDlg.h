#pragma once

#include <QDialog>

class CKx7Doc;
class ReportTextView;

// "Detailed Information": one line per purchase, sold-out lots included; a double click
// on a line (or Enter) opens the details of that purchase.
class CDetailsDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDetailsDlg)

public:
    explicit CDetailsDlg(const CKx7Doc& document, QWidget* parent = nullptr);
    ~CDetailsDlg() override;

    // Opens the details of the purchase at `position` (from 0, in document order);
    // nothing for a position without a line.
    void ShowDetails(int position);

private:
    const CKx7Doc& m_document;
    ReportTextView* m_list;
};
