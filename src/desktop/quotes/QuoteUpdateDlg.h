#pragma once

#include <QDialog>

#include "core/quotes/QuoteHosts.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"

class CKx7Doc;
class QListWidget;
class QProgressBar;
class QPushButton;

// "Quote Price": lists the held symbols with their prices and, on "Update", fetches new
// prices from the chosen source into the document, listing old and new side by side.
// The fetch runs on this thread; the window goes on handling its events while a page
// loads, and the warnings of a failed fetch appear as message boxes without an owner. A
// run ends by the deadline in the settings, or at once when the dialog is closed.
class CQuoteUpdateDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuoteUpdateDlg)

public:
    CQuoteUpdateDlg(CKx7Doc& document, QuoteServer source, QuoteHosts hosts,
                    QWidget* parent = nullptr);

    // Tests shorten the fetch time-outs.
    void SetFetchLimits(const FetchLimits& limits) { m_limits = limits; }

    QStringList Lines() const;
    bool Updating() const { return m_updating; }

public slots:
    void reject() override;

private:
    void FillOpeningLines();
    void OnUpdate();
    void AddLines(const std::vector<std::string>& lines);

    CKx7Doc& m_document;
    const QuoteServer m_source;
    const QuoteHosts m_hosts;
    FetchLimits m_limits;
    QListWidget* m_list;
    QPushButton* m_updateButton;
    QPushButton* m_closeButton;
    QProgressBar* m_progress;
    bool m_updating = false;
    bool m_stopRequested = false;  // Close during a run: stop it, then close
};
