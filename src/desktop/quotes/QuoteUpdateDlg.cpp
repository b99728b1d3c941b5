#include "desktop/quotes/QuoteUpdateDlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <utility>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/quotes/HistoryFetch.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PriceHistoryKeeper.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/quotes/SourceChain.h"
#include "core/settings/Settings.h"
#include "desktop/quotes/MessageBoxFetchNotifier.h"
#include "desktop/quotes/TabbedItemDelegate.h"

namespace {

constexpr int kOpeningRange = 100;

// The fetch warnings of a run, until the user stops it: a stopped run shows no more boxes.
class StoppableFetchNotifier final : public FetchNotifier {
public:
    explicit StoppableFetchNotifier(const bool& stopped) : m_stopped(stopped) {}
    void Show(const FetchMessage& message) override {
        if (!m_stopped) {
            ShowFetchMessage(message);
        }
    }

private:
    const bool& m_stopped;
};

std::vector<QuoteSource> ChainOf(QuoteServer server) {
    const std::vector<QuoteSource> described = DescribedQuoteSources();
    const auto index = static_cast<std::size_t>(server);
    return index < described.size() ? std::vector<QuoteSource>{described[index]}
                                    : std::vector<QuoteSource>{};
}

// A history line: how many closes came, from when to when, or why none did.
std::string HistoryLine(const std::string& symbol, const HistoryFetch& fetch,
                        const std::string& keepError) {
    if (fetch.closes.empty()) {
        return symbol + "\tNo History (" + fetch.problem + ")";
    }
    std::string line = symbol + "\tHistory: " + std::to_string(fetch.closes.size()) +
                       " closes from " + PriceDayText(fetch.closes.front().day) + " to " +
                       PriceDayText(fetch.closes.back().day) + " (" + fetch.source + ")";
    return keepError.empty() ? line : line + ", not kept: " + keepError;
}

}  // namespace

CQuoteUpdateDlg::CQuoteUpdateDlg(CKx7Doc& document, QuoteServer server, QuoteHosts hosts,
                                 QWidget* parent)
    : CQuoteUpdateDlg(document, ChainOf(server), std::move(hosts), nullptr, parent) {}

CQuoteUpdateDlg::CQuoteUpdateDlg(CKx7Doc& document, std::vector<QuoteSource> chain,
                                 QuoteHosts hosts, HostPacer* pacer, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_chain(std::move(chain)),
      m_hosts(std::move(hosts)),
      m_ownPacer(pacer == nullptr ? std::make_unique<HostPacer>() : nullptr),
      m_pacer(pacer == nullptr ? *m_ownPacer : *pacer),
      m_list(new QListWidget(this)),
      m_updateButton(new QPushButton(QStringLiteral("Update"), this)),
      m_historyButton(new QPushButton(QStringLiteral("Fetch History"), this)),
      m_closeButton(new QPushButton(QStringLiteral("Close"), this)),
      m_progress(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("Quote Price"));
    m_list->setObjectName(QStringLiteral("quoteList"));
    m_list->setSortingEnabled(true);
    m_list->setItemDelegate(new CTabbedItemDelegate(m_list));
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumSize(420, 180);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_updateButton->setObjectName(QStringLiteral("updateButton"));
    m_historyButton->setObjectName(QStringLiteral("historyButton"));
    m_historyButton->setToolTip(
        QStringLiteral("Fetch the daily closes of the selected symbol, or of every symbol "
                       "held, into the price history"));
    m_historyButton->setEnabled(std::any_of(m_chain.begin(), m_chain.end(), [](const auto& source) {
        return !source.server && !source.history.url.empty();
    }));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_updateButton->setAutoDefault(false);
    m_historyButton->setAutoDefault(false);
    m_closeButton->setAutoDefault(false);

    auto* heading =
        new CTabbedHeading(QStringLiteral("Symbol\tOld Mktvalue\tCurrent MktValue"), m_list, this);
    heading->setObjectName(QStringLiteral("quoteHeading"));
    auto* status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("Update Status"), this));
    status->addWidget(m_progress, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_updateButton);
    buttons->addWidget(m_historyButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Get Current Market Value*"), this));
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addLayout(status);
    layout->addWidget(new QLabel(QStringLiteral("*Quotes are delayed 15 to 20 minutes."), this));
    layout->addLayout(buttons);

    connect(m_updateButton, &QPushButton::clicked, this, &CQuoteUpdateDlg::OnUpdate);
    connect(m_historyButton, &QPushButton::clicked, this, &CQuoteUpdateDlg::OnFetchHistory);
    connect(m_closeButton, &QPushButton::clicked, this, &CQuoteUpdateDlg::reject);
    FillOpeningLines();
}

CQuoteUpdateDlg::~CQuoteUpdateDlg() = default;

QStringList CQuoteUpdateDlg::Lines() const {
    QStringList lines;
    for (int row = 0; row < m_list->count(); ++row) {
        lines << m_list->item(row)->text();
    }
    return lines;
}

void CQuoteUpdateDlg::reject() {
    // The update runs inside this dialog's event handling: Close, Escape or the window's
    // close stop it at once, and the dialog closes when the run has stored what arrived.
    if (m_updating) {
        m_stopRequested = true;
        return;
    }
    QDialog::reject();
}

void CQuoteUpdateDlg::FillOpeningLines() {
    m_progress->setRange(0, kOpeningRange);
    m_progress->setValue(0);
    m_list->clear();
    for (const std::string& symbol : m_document.SymbolNames(SymbolFilter::kHeldLots)) {
        const double price = m_document.MarketPrice(symbol);
        m_list->addItem(QString::fromStdString(symbol) + QString::asprintf("\t$%f", price));
    }
}

void CQuoteUpdateDlg::AddLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        m_list->addItem(QString::fromStdString(line));
    }
}

void CQuoteUpdateDlg::BeginRun(int count) {
    m_updating = true;
    m_stopRequested = false;
    m_updateButton->setEnabled(false);
    m_historyButton->setEnabled(false);
    m_list->clear();
    // A range of 0..0 would turn the bar into a busy indicator that never ends; an empty
    // list keeps an empty bar instead.
    m_progress->setRange(0, std::max(count, 1));
    m_progress->setValue(count > 0 ? 1 : 0);
}

void CQuoteUpdateDlg::EndRun() {
    m_updating = false;
    m_updateButton->setEnabled(true);
    m_historyButton->setEnabled(true);
    if (m_stopRequested) {
        QDialog::reject();
    }
}

std::function<bool()> CQuoteUpdateDlg::KeepGoingUntilDeadline() {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::seconds(m_document.AppSettings().quoteDeadlineSeconds);
    return [this, deadline] {
        QCoreApplication::processEvents();
        return !m_stopRequested && std::chrono::steady_clock::now() < deadline;
    };
}

void CQuoteUpdateDlg::OnUpdate() {
    if (m_updating) {
        return;
    }
    const std::vector<ChainSymbol> symbols = ChainSymbols(m_document);
    const int count = static_cast<int>(symbols.size());
    BeginRun(count);

    StoppableFetchNotifier notifier(m_stopRequested);
    CWeb web(notifier, m_limits);
    const std::function<bool()> keepGoing = KeepGoingUntilDeadline();
    web.SetProgressCallback(keepGoing);
    FetchFromChain(
        web, m_hosts, QuoteCaller::kDialog, m_chain, symbols, m_pacer,
        [this](const std::vector<QuoteResult>& results) {
            AddLines(ApplyQuoteResults(m_document, results));
            if (m_history != nullptr) {
                if (const std::string error = m_history->Record(results, Clock::Now());
                    !error.empty()) {
                    AddLines({"Price history not kept: " + error});
                }
            }
            return !m_stopRequested;
        },
        keepGoing, [this](int position) { m_progress->setValue(position); });
    m_progress->setValue(count);
    FinishQuoteUpdate(m_document);
    EndRun();
}

void CQuoteUpdateDlg::OnFetchHistory() {
    if (m_updating || m_history == nullptr) {
        return;
    }
    std::vector<std::string> symbols;
    const QListWidgetItem* selected = m_list->currentItem();
    if (selected != nullptr && selected->isSelected()) {
        symbols.push_back(selected->text().section(QLatin1Char('\t'), 0, 0).toStdString());
    } else {
        symbols = m_document.SymbolNames(SymbolFilter::kHeldLots);
    }
    BeginRun(static_cast<int>(symbols.size()));
    SilentFetchNotifier notifier;
    CWeb web(notifier, m_limits);
    // The whole past the service has is asked for: a day already kept takes the fetched
    // close. Each symbol has the whole deadline, as a long history is one large answer.
    const std::int64_t now = Clock::Now();
    for (std::size_t at = 0; at < symbols.size() && !m_stopRequested; ++at) {
        const std::function<bool()> keepGoing = KeepGoingUntilDeadline();
        web.SetProgressCallback(keepGoing);
        const std::string& symbol = symbols[at];
        const HistoryFetch fetch = FetchHistory(web, m_chain, symbol, 0, now, m_pacer, keepGoing);
        AddLines({HistoryLine(symbol, fetch, m_history->Record(fetch.closes))});
        m_progress->setValue(static_cast<int>(at + 1));
    }
    EndRun();
}
