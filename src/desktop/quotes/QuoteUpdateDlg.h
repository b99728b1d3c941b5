#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"

class CKx7Doc;
class HostPacer;
class PriceHistoryKeeper;
class QListWidget;
class QProgressBar;
class QPushButton;

// "Quote Price": lists the held symbols with their prices and, on "Update", asks the chosen
// sources in turn for new prices, storing them in the document and listing old and new
// side by side. "Fetch History" fills the price history with the daily closes of the
// selected symbol, or of every held symbol. The fetch runs on this thread; the window goes
// on handling its events while a page loads. The three described servers' warnings appear
// as message boxes without an owner. A run ends by the deadline in the settings, or at once
// when the dialog is closed.
class CQuoteUpdateDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuoteUpdateDlg)

public:
    // Asks one of the three described servers, as the program always has.
    CQuoteUpdateDlg(CKx7Doc& document, QuoteServer server, QuoteHosts hosts,
                    QWidget* parent = nullptr);
    // Asks the sources of a chain; `pacer` is shared with the automatic update (none: the
    // dialog keeps its own).
    CQuoteUpdateDlg(CKx7Doc& document, std::vector<QuoteSource> chain, QuoteHosts hosts,
                    HostPacer* pacer, QWidget* parent = nullptr);
    ~CQuoteUpdateDlg() override;

    // Tests shorten the fetch time-outs.
    void SetFetchLimits(const FetchLimits& limits) { m_limits = limits; }
    // Where the prices obtained are kept, day by day; none keeps nothing.
    void SetPriceHistory(PriceHistoryKeeper* keeper) { m_history = keeper; }

    QStringList Lines() const;
    bool Updating() const { return m_updating; }

public slots:
    void reject() override;

private:
    void FillOpeningLines();
    void OnUpdate();
    void OnFetchHistory();
    void AddLines(const std::vector<std::string>& lines);
    // Starts a run: buttons off, the list cleared, the bar over `count` steps.
    void BeginRun(int count);
    void EndRun();
    std::function<bool()> KeepGoingUntilDeadline();

    CKx7Doc& m_document;
    const std::vector<QuoteSource> m_chain;
    const QuoteHosts m_hosts;
    std::unique_ptr<HostPacer> m_ownPacer;
    HostPacer& m_pacer;
    PriceHistoryKeeper* m_history = nullptr;
    FetchLimits m_limits;
    QListWidget* m_list;
    QPushButton* m_updateButton;
    QPushButton* m_historyButton;
    QPushButton* m_closeButton;
    QProgressBar* m_progress;
    bool m_updating = false;
    bool m_stopRequested = false;  // Close during a run: stop it, then close
};
