#pragma once

#include <QDialog>
#include <string>

#include "core/exchange/ImportPlan.h"
#include "core/exchange/ImportRow.h"

class CKx7Doc;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Import Transactions": reads a CSV file (through the mapping chosen) or a QIF file and
// shows every row as it will be recorded, the rows skipped and why, and the totals. Nothing
// changes until Import; the caller then records the plan as one step to undo.
class CImportDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CImportDlg)

public:
    CImportDlg(const CKx7Doc& document, const QString& path, QWidget* parent = nullptr);

    const ImportPlan& Plan() const { return m_plan; }
    ImportMatching Matching() const;

private:
    // Reads the file again through the choices and fills the preview.
    void Refresh();

    const CKx7Doc& m_document;
    std::string m_text;   // the file as read
    std::string m_error;  // why it could not be read at all
    bool m_qif = false;
    ImportPlan m_plan;
    QComboBox* m_mappingBox;
    QCheckBox* m_dayFirstBox;
    QComboBox* m_matchingBox;
    QTableWidget* m_table;
    QLabel* m_totals;
    QPushButton* m_importButton;
};
