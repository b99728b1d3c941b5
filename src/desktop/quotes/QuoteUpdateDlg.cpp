#include "desktop/quotes/QuoteUpdateDlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <utility>

#include "core/model/Kx7Doc.h"
#include "core/quotes/QuoteUpdate.h"
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

}  // namespace

CQuoteUpdateDlg::CQuoteUpdateDlg(CKx7Doc& document, QuoteServer source, QuoteHosts hosts,
                                 QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_source(source),
      m_hosts(std::move(hosts)),
      m_list(new QListWidget(this)),
      m_updateButton(new QPushButton(QStringLiteral("Update"), this)),
      m_closeButton(new QPushButton(QStringLiteral("Close"), this)),
      m_progress(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("Quote Price"));
    m_list->setObjectName(QStringLiteral("quoteList"));
    m_list->setSortingEnabled(true);
    m_list->setItemDelegate(new CTabbedItemDelegate(m_list));
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumSize(320, 180);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_updateButton->setObjectName(QStringLiteral("updateButton"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_updateButton->setAutoDefault(false);
    m_closeButton->setAutoDefault(false);

    auto* status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("Update Status"), this));
    status->addWidget(m_progress, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_updateButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Get Current Market Value*"), this));
    layout->addWidget(new QLabel(QStringLiteral("Symbol   Old Mktvalue  Current MktValue"), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(status);
    layout->addWidget(new QLabel(QStringLiteral("*Quotes are delayed 15 to 20 minutes."), this));
    layout->addLayout(buttons);

    connect(m_updateButton, &QPushButton::clicked, this, &CQuoteUpdateDlg::OnUpdate);
    connect(m_closeButton, &QPushButton::clicked, this, &CQuoteUpdateDlg::reject);
    FillOpeningLines();
}

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

void CQuoteUpdateDlg::OnUpdate() {
    if (m_updating) {
        return;
    }
    m_updating = true;
    m_stopRequested = false;
    m_updateButton->setEnabled(false);
    m_list->clear();

    const std::vector<std::string> symbols = m_document.SymbolNames(SymbolFilter::kHeldLots);
    const int count = static_cast<int>(symbols.size());
    // A range of 0..0 would turn the bar into a busy indicator that never ends; an empty
    // list keeps an empty bar instead.
    m_progress->setRange(0, std::max(count, 1));
    m_progress->setValue(count > 0 ? 1 : 0);

    StoppableFetchNotifier notifier(m_stopRequested);
    CWeb web(notifier, m_limits);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::seconds(m_document.AppSettings().quoteDeadlineSeconds);
    web.SetProgressCallback([this, deadline] {
        QCoreApplication::processEvents();
        return !m_stopRequested && std::chrono::steady_clock::now() < deadline;
    });
    FetchQuoteBatches(
        web, m_hosts, m_source, QuoteCaller::kDialog, symbols,
        [this](const std::vector<QuoteResult>& results) {
            AddLines(ApplyQuoteResults(m_document, results));
            return !m_stopRequested;
        },
        [this](int position) { m_progress->setValue(position); });
    m_progress->setValue(count);
    FinishQuoteUpdate(m_document);

    m_updating = false;
    m_updateButton->setEnabled(true);
    if (m_stopRequested) {
        QDialog::reject();
    }
}
