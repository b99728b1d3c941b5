#pragma once

#include <QDialog>

#include "core/settings/Settings.h"

struct Settings;
class CQuoteSourcesPage;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

// "Edit Preferences": on "General" the seven settings of the main window, the dates and
// the automatic update; on "Quote Sources" the user's own sources and the order in which
// sources are asked. Filled from the settings; the caller copies the values back on OK.
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

    // The caller gives it the hosts of the described servers.
    CQuoteSourcesPage& SourcesPage() { return *m_sourcesPage; }

    // One click of the spin: +1 up, -1 down.
    void StepCount(int step);

    void accept() override;
    // However the dialog closes, a running test of a source stops.
    void done(int result) override;

private:
    // The bound values into their controls.
    void ShowMembers();
    // The bound values from their controls; false (with the message) for a bad count.
    bool TakeMembers();
    void OnEnableClicked();

    QTabWidget* m_tabs = nullptr;
    CQuoteSourcesPage* m_sourcesPage = nullptr;
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
