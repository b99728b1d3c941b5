#pragma once

#include <QDialog>

#include "core/settings/Settings.h"

struct Settings;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// "Edit Preferences": the seven settings of the main window, the dates and the automatic
// update. Filled from the settings; the caller copies the values back on OK.
class CPreferencesDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPreferencesDlg)

public:
    CPreferencesDlg(const Settings& settings, QWidget* parent);
    ~CPreferencesDlg() override;

    // The seven values as the dialog holds them.
    int RecordCount() const { return m_recordCount; }
    bool Ungroup() const { return m_ungroup; }
    bool AutoUpdate() const { return m_autoUpdate; }
    int RefreshIndex() const { return m_refreshIndex; }
    bool DateMonthFirst() const { return m_dateMonthFirst; }
    PieGrouping ShowBy() const { return m_showBy; }
    QuoteServer Source() const { return m_quoteSource; }
    void CopyTo(Settings& settings) const;

    // One click of the spin: +1 up, -1 down.
    void StepCount(int step);

    void accept() override;

private:
    // The bound values into their controls.
    void ShowMembers();
    // The bound values from their controls; false (with the message) for a bad count.
    bool TakeMembers();
    void OnEnableClicked();

    QLineEdit* m_countEdit = nullptr;
    QComboBox* m_showByBox = nullptr;
    QRadioButton* m_usDates = nullptr;
    QRadioButton* m_otherDates = nullptr;
    QComboBox* m_quoteServerBox = nullptr;
    QCheckBox* m_enableBox = nullptr;
    QComboBox* m_refreshBox = nullptr;
    QCheckBox* m_ungroupBox = nullptr;

    int m_recordCount = 0;
    bool m_ungroup = false;
    bool m_autoUpdate = false;
    int m_refreshIndex = -1;
    bool m_dateMonthFirst = true;
    PieGrouping m_showBy = PieGrouping::kByPercent;
    QuoteServer m_quoteSource = QuoteServer::kAmex;
};
