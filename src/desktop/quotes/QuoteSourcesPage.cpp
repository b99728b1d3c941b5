#include "desktop/quotes/QuoteSourcesPage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

#include "core/quotes/FetchNotifier.h"
#include "core/quotes/SourceTest.h"
#include "core/settings/Settings.h"
#include "core/settings/Version.h"
#include "desktop/quotes/QuoteSourceDlg.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString KindOf(SourceOrigin origin) {
    switch (origin) {
        case SourceOrigin::kDescribed:
            return QStringLiteral("(built in)");
        case SourceOrigin::kReadyMade:
            return QStringLiteral("(ready-made)");
        case SourceOrigin::kUser:
            break;
    }
    return QStringLiteral("(yours)");
}

QLabel* LabelOf(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

QPushButton* Button(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CQuoteSourcesPage::CQuoteSourcesPage(const Settings& settings, QWidget* parent)
    : QWidget(parent),
      m_userSources(settings.quoteSources),
      m_chain(EffectiveQuoteChain(settings.quoteChain, settings.quoteSource)),
      m_givenChain(settings.quoteChain),
      m_openingChain(m_chain) {
    m_sourceList = new QListWidget(this);
    m_sourceList->setObjectName(QStringLiteral("sourceList"));
    m_sourceList->setMinimumWidth(260);
    m_chainList = new QListWidget(this);
    m_chainList->setObjectName(QStringLiteral("chainList"));
    m_chainList->setMinimumWidth(200);
    m_newButton = Button(QStringLiteral("&New..."), this);
    m_copyButton = Button(QStringLiteral("&Copy..."), this);
    m_editButton = Button(QStringLiteral("&Edit..."), this);
    m_removeButton = Button(QStringLiteral("Re&move"), this);
    m_useButton = Button(QStringLiteral("&Use"), this);
    m_dontUseButton = Button(QStringLiteral("&Don't Use"), this);
    m_upButton = Button(QStringLiteral("U&p"), this);
    m_downButton = Button(QStringLiteral("Do&wn"), this);

    auto* test = new QGroupBox(QStringLiteral("Test"), this);
    m_testSymbol = new QLineEdit(QStringLiteral("AAPL"), test);
    m_testSymbol->setObjectName(QStringLiteral("testSymbol"));
    m_testSymbol->setMaximumWidth(120);
    m_testSymbol->installEventFilter(this);
    m_testButton = Button(QStringLiteral("&Test"), test);
    m_testButton->setObjectName(QStringLiteral("testButton"));
    m_testOutput = new QPlainTextEdit(test);
    m_testOutput->setObjectName(QStringLiteral("testOutput"));
    m_testOutput->setReadOnly(true);
    m_testOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_testOutput->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_testOutput->setMinimumHeight(140);
    m_testOutput->setPlaceholderText(
        QStringLiteral("Select a source and press Test to see what it answers for the symbol."));

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_newButton);
    listButtons->addWidget(m_copyButton);
    listButtons->addWidget(m_editButton);
    listButtons->addWidget(m_removeButton);
    listButtons->addStretch(1);
    auto* useButtons = new QVBoxLayout;
    useButtons->addStretch(1);
    useButtons->addWidget(m_useButton);
    useButtons->addWidget(m_dontUseButton);
    useButtons->addStretch(1);
    auto* moveButtons = new QVBoxLayout;
    moveButtons->addStretch(1);
    moveButtons->addWidget(m_upButton);
    moveButtons->addWidget(m_downButton);
    moveButtons->addStretch(1);
    auto* lists = new QGridLayout;
    lists->addWidget(LabelOf(QStringLiteral("&Sources:"), m_sourceList, this), 0, 0);
    lists->addWidget(LabelOf(QStringLiteral("As&k in this order:"), m_chainList, this), 0, 2);
    lists->addWidget(m_sourceList, 1, 0);
    lists->addLayout(useButtons, 1, 1);
    lists->addWidget(m_chainList, 1, 2);
    lists->addLayout(moveButtons, 1, 3);
    lists->addLayout(listButtons, 2, 0);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(2, 2);

    auto* testLine = new QHBoxLayout;
    testLine->addWidget(LabelOf(QStringLiteral("S&ymbol:"), m_testSymbol, test));
    testLine->addWidget(m_testSymbol);
    testLine->addWidget(m_testButton);
    testLine->addStretch(1);
    auto* testLayout = new QVBoxLayout(test);
    testLayout->addLayout(testLine);
    testLayout->addWidget(m_testOutput, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 3);
    layout->addWidget(test, 2);
    // Tab goes through the list with its buttons, then the chain with its own.
    const std::initializer_list<QWidget*> order{
        m_sourceList, m_newButton,     m_copyButton, m_editButton, m_removeButton,
        m_useButton,  m_dontUseButton, m_chainList,  m_upButton,   m_downButton,
        m_testSymbol, m_testButton,    m_testOutput};
    for (auto next = order.begin() + 1; next != order.end(); ++next) {
        setTabOrder(*(next - 1), *next);
    }

    connect(m_sourceList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(m_chainList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(m_sourceList, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });
    connect(m_newButton, &QPushButton::clicked, this, [this] { OnNew(); });
    connect(m_copyButton, &QPushButton::clicked, this, [this] { OnCopy(); });
    connect(m_editButton, &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(m_removeButton, &QPushButton::clicked, this, [this] { OnRemove(); });
    connect(m_useButton, &QPushButton::clicked, this, [this] { OnUse(); });
    connect(m_dontUseButton, &QPushButton::clicked, this, [this] { OnDontUse(); });
    connect(m_upButton, &QPushButton::clicked, this, [this] { OnMove(-1); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { OnMove(1); });
    connect(m_testButton, &QPushButton::clicked, this, [this] { OnTest(); });
    // Delete in either list takes the selected entry out of it, as its button does.
    new QShortcut(
        QKeySequence::Delete, m_sourceList, this, [this] { OnRemove(); }, Qt::WidgetShortcut);
    new QShortcut(
        QKeySequence::Delete, m_chainList, this, [this] { OnDontUse(); }, Qt::WidgetShortcut);

    FillSources(m_chain.empty() ? std::string() : m_chain.front());
    FillChain(0);
}

CQuoteSourcesPage::~CQuoteSourcesPage() {
    StopTest();
}

std::vector<std::string> CQuoteSourcesPage::ChainToKeep() const {
    if (m_givenChain.empty() && m_chain == m_openingChain) {
        return {};
    }
    return m_chain;
}

bool CQuoteSourcesPage::Check(QString& why) const {
    const bool known = std::any_of(m_chain.begin(), m_chain.end(), [this](const std::string& name) {
        return FindQuoteSource(m_sources, name).has_value();
    });
    if (!known) {
        why = QStringLiteral(
            "No source is asked for prices. Select a source in the list of Quote Sources and "
            "press Use.");
        return false;
    }
    return true;
}

void CQuoteSourcesPage::FocusChain() {
    m_chainList->setFocus();
}

void CQuoteSourcesPage::StopTest() {
    if (m_stopTest) {
        *m_stopTest = true;
    }
}

bool CQuoteSourcesPage::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the symbol field runs the test rather than closing the preferences.
    if (watched == m_testSymbol && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_testButton->isEnabled() && !m_testing) {
                OnTest();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CQuoteSourcesPage::FillSources(const std::string& selectName) {
    m_sources = AllQuoteSources(m_userSources);
    {
        const QSignalBlocker blocker(m_sourceList);
        m_sourceList->clear();
        int selected = -1;
        for (std::size_t at = 0; at < m_sources.size(); ++at) {
            const QuoteSource& source = m_sources[at];
            m_sourceList->addItem(Text(source.name) + QStringLiteral("  ") + KindOf(source.origin));
            if (selected < 0 && source.name == selectName) {
                selected = static_cast<int>(at);
            }
        }
        m_sourceList->setCurrentRow(std::max(selected, 0));
    }
    UpdateButtons();
}

void CQuoteSourcesPage::FillChain(int selectRow) {
    {
        const QSignalBlocker blocker(m_chainList);
        m_chainList->clear();
        for (const std::string& name : m_chain) {
            // A name the settings keep for a definition that was left out stays, marked,
            // so that nothing the user chose disappears unseen.
            m_chainList->addItem(FindQuoteSource(m_sources, name)
                                     ? Text(name)
                                     : Text(name) + QStringLiteral("  (no such source)"));
        }
        const int last = m_chainList->count() - 1;
        m_chainList->setCurrentRow(last < 0 ? -1 : std::clamp(selectRow, 0, last));
    }
    UpdateButtons();
}

void CQuoteSourcesPage::UpdateButtons() {
    const QuoteSource* source = SelectedSource();
    const bool changeable = source != nullptr && source->origin != SourceOrigin::kDescribed;
    const bool mine = source != nullptr && source->origin == SourceOrigin::kUser;
    // A test waits inside this page's event handling: the definitions stay as they are
    // until it ends.
    m_newButton->setEnabled(!m_testing);
    m_copyButton->setEnabled(!m_testing && changeable);
    m_editButton->setEnabled(!m_testing && changeable);
    m_removeButton->setEnabled(!m_testing && mine);
    m_useButton->setEnabled(source != nullptr && !InChain(source->name));
    const int row = m_chainList->currentRow();
    m_dontUseButton->setEnabled(row >= 0);
    m_upButton->setEnabled(row > 0);
    m_downButton->setEnabled(row >= 0 && row + 1 < m_chainList->count());
    m_testButton->setEnabled(m_testing || source != nullptr);
    m_testSymbol->setReadOnly(m_testing);
}

const QuoteSource* CQuoteSourcesPage::SelectedSource() const {
    const int row = m_sourceList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_sources.size()) {
        return nullptr;
    }
    return &m_sources[static_cast<std::size_t>(row)];
}

bool CQuoteSourcesPage::InChain(const std::string& name) const {
    return std::find(m_chain.begin(), m_chain.end(), name) != m_chain.end();
}

std::vector<std::string> CQuoteSourcesPage::OtherNames(const std::string& except) const {
    std::vector<std::string> names;
    bool skipped = false;
    for (const QuoteSource& source : m_sources) {
        if (!skipped && source.name == except) {
            skipped = true;
            continue;
        }
        names.push_back(source.name);
    }
    return names;
}

void CQuoteSourcesPage::OnNew() {
    if (!m_newButton->isEnabled()) {
        return;
    }
    CQuoteSourceDlg dialog(QuoteSource{}, OtherNames({}), false, this);
    if (dialog.exec() == QDialog::Accepted) {
        TakeUserSource(dialog.Source(), {});
    }
}

void CQuoteSourcesPage::OnCopy() {
    const QuoteSource* selected = SelectedSource();
    if (!m_copyButton->isEnabled() || selected == nullptr) {
        return;
    }
    QuoteSource copy = *selected;
    const std::string base = "Copy of " + copy.name;
    copy.name = base;
    for (int number = 2; FindQuoteSource(m_sources, copy.name); ++number) {
        copy.name = base + " (" + std::to_string(number) + ")";
    }
    copy.origin = SourceOrigin::kUser;
    copy.server.reset();
    CQuoteSourceDlg dialog(copy, OtherNames({}), false, this);
    if (dialog.exec() == QDialog::Accepted) {
        TakeUserSource(dialog.Source(), {});
    }
}

void CQuoteSourcesPage::OnEdit() {
    const QuoteSource* selected = SelectedSource();
    if (!m_editButton->isEnabled() || selected == nullptr) {
        return;
    }
    const QuoteSource source = *selected;
    const bool readOnly = source.origin != SourceOrigin::kUser;
    CQuoteSourceDlg dialog(source, OtherNames(source.name), readOnly, this);
    if (dialog.exec() == QDialog::Accepted && !readOnly) {
        TakeUserSource(dialog.Source(), source.name);
    }
}

void CQuoteSourcesPage::TakeUserSource(const QuoteSource& source, const std::string& oldName) {
    QuoteSource taken = source;
    taken.origin = SourceOrigin::kUser;
    taken.server.reset();
    const auto old = std::find_if(m_userSources.begin(), m_userSources.end(),
                                  [&](const QuoteSource& each) { return each.name == oldName; });
    if (oldName.empty() || old == m_userSources.end()) {
        m_userSources.push_back(taken);
    } else {
        *old = taken;
        std::replace(m_chain.begin(), m_chain.end(), oldName, taken.name);
    }
    FillSources(taken.name);
    FillChain(m_chainList->currentRow());
}

void CQuoteSourcesPage::OnRemove() {
    const QuoteSource* selected = SelectedSource();
    if (!m_removeButton->isEnabled() || selected == nullptr ||
        selected->origin != SourceOrigin::kUser) {
        return;
    }
    const std::string name = selected->name;
    QString question = QStringLiteral("Remove the source \"%1\"?").arg(Text(name));
    if (InChain(name)) {
        question += QStringLiteral(" It is no longer asked for prices either.");
    }
    if (QMessageBox::question(this, QString::fromLatin1(kProductName), question,
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // The selection moves to the next source, or to the one before at the end.
    const auto row = static_cast<std::size_t>(m_sourceList->currentRow());
    const std::string next =
        row + 1 < m_sources.size() ? m_sources[row + 1].name : m_sources[row - 1].name;
    std::erase_if(m_userSources, [&](const QuoteSource& source) { return source.name == name; });
    std::erase(m_chain, name);
    FillSources(next);
    FillChain(m_chainList->currentRow());
}

void CQuoteSourcesPage::OnUse() {
    const QuoteSource* selected = SelectedSource();
    if (selected == nullptr || InChain(selected->name)) {
        return;
    }
    m_chain.push_back(selected->name);
    FillChain(static_cast<int>(m_chain.size()) - 1);
}

void CQuoteSourcesPage::OnDontUse() {
    const int row = m_chainList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_chain.size()) {
        return;
    }
    m_chain.erase(m_chain.begin() + row);
    FillChain(row);
}

void CQuoteSourcesPage::OnMove(int step) {
    const int row = m_chainList->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= static_cast<int>(m_chain.size())) {
        return;
    }
    std::swap(m_chain[static_cast<std::size_t>(row)], m_chain[static_cast<std::size_t>(target)]);
    FillChain(target);
}

void CQuoteSourcesPage::OnTest() {
    if (m_testing) {
        StopTest();
        return;
    }
    const QuoteSource* selected = SelectedSource();
    if (selected == nullptr) {
        return;
    }
    const std::string symbol = m_testSymbol->text().trimmed().toStdString();
    if (symbol.empty()) {
        m_testOutput->setPlainText(QStringLiteral("Type a symbol to ask the source for."));
        m_testSymbol->setFocus();
        return;
    }
    // Copies: the lists may be refilled while the test waits.
    const QuoteSource source = *selected;
    const QuoteHosts hosts = m_hosts;
    const auto stop = std::make_shared<bool>(false);
    m_stopTest = stop;
    m_testing = true;
    m_testButton->setText(QStringLiteral("St&op"));
    UpdateButtons();
    m_testOutput->setPlainText(QStringLiteral("Testing %1...").arg(Text(source.name)));

    const QPointer<CQuoteSourcesPage> self(this);
    SilentFetchNotifier notifier;
    CWeb web(notifier, m_limits);
    const std::function<bool()> keepGoing = [stop] {
        QCoreApplication::processEvents();
        return !*stop;
    };
    web.SetProgressCallback(keepGoing);
    const SourceTestReport report = TestQuoteSource(web, hosts, source, symbol, m_pacer, keepGoing);
    if (self.isNull()) {
        return;
    }

    m_testing = false;
    m_stopTest.reset();
    m_testButton->setText(QStringLiteral("&Test"));
    UpdateButtons();
    if (*stop && !report.failure.empty()) {
        QString stopped;
        if (!report.url.empty()) {
            stopped = QStringLiteral("Address: %1\n").arg(Text(report.url));
        }
        m_testOutput->setPlainText(stopped + QStringLiteral("Stopped before the answer came."));
        return;
    }
    m_testOutput->setPlainText(Text(SourceTestText(report)));
}
