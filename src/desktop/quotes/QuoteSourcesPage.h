#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/quotes/HostPacer.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/Web.h"

struct Settings;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The "Quote Sources" page of the preferences: every source the program knows, the user's
// own definitions (new, copied, edited, removed), the order in which sources are asked for
// a price, and a test that asks the selected source for one symbol and shows what came
// back. The test runs on this thread; the window goes on handling its events meanwhile.
class CQuoteSourcesPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuoteSourcesPage)

public:
    CQuoteSourcesPage(const Settings& settings, QWidget* parent);
    ~CQuoteSourcesPage() override;

    // The hosts of the three described servers, which a test of one of them asks.
    void SetQuoteHosts(QuoteHosts hosts) { m_hosts = std::move(hosts); }
    // Tests shorten the fetch time-outs.
    void SetFetchLimits(const FetchLimits& limits) { m_limits = limits; }

    std::vector<QuoteSource> UserSources() const { return m_userSources; }
    // The order shown, top first.
    std::vector<std::string> Chain() const { return m_chain; }
    // The chain as the settings keep it: empty while the user has left alone the one the
    // program chose for a settings file without a chain, so that it goes on following the
    // server chosen at start-up.
    std::vector<std::string> ChainToKeep() const;

    // False, with the reason, when the page's values cannot be taken.
    bool Check(QString& why) const;
    // Where a refused chain is mended.
    void FocusChain();

    bool Testing() const { return m_testing; }
    // Ends a running test at once; it shows that it was stopped.
    void StopTest();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The lists afresh, with the source of that name (or row) selected.
    void FillSources(const std::string& selectName);
    void FillChain(int selectRow);
    void UpdateButtons();
    // The source selected in the list of sources, or none.
    const QuoteSource* SelectedSource() const;
    bool InChain(const std::string& name) const;
    // Every name in the list but `except` (once).
    std::vector<std::string> OtherNames(const std::string& except) const;

    void OnNew();
    void OnCopy();
    void OnEdit();
    void OnRemove();
    void OnUse();
    void OnDontUse();
    void OnMove(int step);
    void OnTest();
    // Takes an edited or new user definition in place of `oldName` (empty: a new one).
    void TakeUserSource(const QuoteSource& source, const std::string& oldName);

    std::vector<QuoteSource> m_userSources;
    std::vector<QuoteSource> m_sources;  // every source, as listed
    std::vector<std::string> m_chain;
    const std::vector<std::string> m_givenChain;
    const std::vector<std::string> m_openingChain;  // as shown when the page opened
    QuoteHosts m_hosts;
    FetchLimits m_limits;
    HostPacer m_pacer;
    bool m_testing = false;
    // Shared with the running test, which may outlive the page inside its event handling.
    std::shared_ptr<bool> m_stopTest;

    QListWidget* m_sourceList = nullptr;
    QListWidget* m_chainList = nullptr;
    QPushButton* m_newButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_useButton = nullptr;
    QPushButton* m_dontUseButton = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QLineEdit* m_testSymbol = nullptr;
    QPushButton* m_testButton = nullptr;
    QPlainTextEdit* m_testOutput = nullptr;
};
