#pragma once

#include <QDialog>
#include <string>

class CKx7Doc;
class QCheckBox;
class QComboBox;
class ReportTextView;
class QPushButton;

// "Tax Report": the sales of a chosen year with cost basis, net proceeds and gain, as
// text or as comma-separated lines that "Save As..." writes to a file for a spreadsheet.
// Nothing shows until a year is chosen.
class CTaxDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTaxDlg)

public:
    explicit CTaxDlg(const CKx7Doc& document, QWidget* parent = nullptr);
    ~CTaxDlg() override;

    // The report last built, with its CR LF line ends; empty before a year is chosen.
    const std::string& ReportText() const;

private:
    void OnOptionClicked();
    void Rebuild();
    void OnSaveAs();
    void OnExportCsv();

    const CKx7Doc& m_document;
    bool m_groupSales = true;
    bool m_deductCommission = true;
    bool m_csv = false;
    bool m_textIsCsv = false;
    QComboBox* m_yearBox;
    QCheckBox* m_groupSalesBox;
    QCheckBox* m_deductCommissionBox;
    QCheckBox* m_csvBox;
    ReportTextView* m_report;
    QPushButton* m_saveAs;
    QPushButton* m_exportCsv;
};
