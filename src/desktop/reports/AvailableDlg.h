#pragma once

#include <QDialog>
#include <string>
#include <vector>

class CKx7Doc;
class QComboBox;
class ReportTextView;

// "Available": the lots that still hold shares, for every symbol or for the one the
// filter names.
class CAvailableDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAvailableDlg)

public:
    // `symbols`: the symbols with shares still held, for the filter. The reports bring
    // the lots' available shares up to today.
    CAvailableDlg(CKx7Doc& document, const std::vector<std::string>& symbols,
                  QWidget* parent = nullptr);
    ~CAvailableDlg() override;

private:
    void OnFilterChanged(int index);

    CKx7Doc& m_document;
    QComboBox* m_filterBox;
    ReportTextView* m_report;
};
