#pragma once

#include <QDialog>
#include <string>
#include <vector>

class CKx7Doc;
class QPlainTextEdit;

// "Overview": for every symbol, its purchases and sales in date order with a running
// share count, one block per symbol.
class COverviewDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(COverviewDlg)

public:
    // `symbols`: every symbol that has a lot, in any order; the report sorts them.
    COverviewDlg(const CKx7Doc& document, std::vector<std::string> symbols,
                 QWidget* parent = nullptr);
    ~COverviewDlg() override;
};
