#pragma once

#include <QDialog>

class CKx7Doc;
class CXListCtrl;
class QComboBox;
class QLabel;

// "Gains and Losses": per symbol what was paid, what it is or was worth, the dividends
// and the gain, in the view the user picks; the list starts empty until one is picked.
class CGainsDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CGainsDlg)

public:
    // The valuing of shares still held brings the lots' available shares up to today.
    explicit CGainsDlg(CKx7Doc& document, QWidget* parent = nullptr);
    ~CGainsDlg() override;

    float TotalGain() const { return m_totalGain; }

private:
    void OnViewChanged(int index);

    CKx7Doc& m_document;
    float m_totalGain = 0;
    CXListCtrl* m_list;
    QComboBox* m_viewBox;
    QLabel* m_total;
};
