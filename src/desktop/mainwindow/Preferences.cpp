#include "desktop/mainwindow/Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/figures/FormNumbers.h"
#include "core/settings/Settings.h"
#include "desktop/forms/FormFields.h"
#include "desktop/quotes/QuoteSourcesPage.h"

namespace {

constexpr int kFewestSlices = 5;
constexpr int kMostSlices = 30;

QToolButton* SpinArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 12);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

CPreferencesDlg::CPreferencesDlg(const Settings& settings, QWidget* parent)
    : QDialog(parent),
      m_recordCount(settings.pieRecordCount),
      m_ungroup(settings.ungroupOptions),
      m_autoUpdate(settings.autoUpdate),
      m_refreshIndex(settings.updateInterval),
      m_dateMonthFirst(settings.dateMonthFirst),
      m_showBy(settings.pieGrouping),
      m_quoteSource(settings.quoteSource) {
    setWindowTitle(QStringLiteral("Edit Preferences"));

    auto* general = new QWidget(this);
    auto* display = new QGroupBox(QStringLiteral("Main Window Display"), general);
    m_countEdit = new QLineEdit(display);
    m_countEdit->setMaximumWidth(48);
    auto* up = SpinArrow(Qt::UpArrow, display);
    up->setObjectName(QStringLiteral("countUp"));
    auto* down = SpinArrow(Qt::DownArrow, display);
    down->setObjectName(QStringLiteral("countDown"));
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin->addWidget(up);
    spin->addWidget(down);
    m_showByBox = new QComboBox(display);
    m_showByBox->addItems(
        {QStringLiteral("Percent"), QStringLiteral("Value"), QStringLiteral("Symbol")});
    auto* count = new QHBoxLayout;
    count->addWidget(m_countEdit);
    count->addLayout(spin);
    count->addWidget(new QLabel(QStringLiteral("Records"), display));
    count->addStretch();
    auto* displayLayout = new QGridLayout(display);
    displayLayout->addWidget(LabelFor(QStringLiteral("Pie Chart shows:"), m_countEdit, display), 0,
                             0);
    displayLayout->addLayout(count, 0, 1);
    displayLayout->addWidget(LabelFor(QStringLiteral("Show by:"), m_showByBox, display), 1, 0);
    displayLayout->addWidget(m_showByBox, 1, 1);

    auto* dates = new QGroupBox(QStringLiteral("Date Format"), general);
    m_usDates = new QRadioButton(QStringLiteral("Month/Day/Year (US)"), dates);
    m_otherDates = new QRadioButton(QStringLiteral("Day/Month/Year"), dates);
    auto* datesLayout = new QVBoxLayout(dates);
    datesLayout->addWidget(m_usDates);
    datesLayout->addWidget(m_otherDates);

    auto* server = new QGroupBox(QStringLiteral("Web Update Server"), general);
    m_quoteServerBox = new QComboBox(server);
    m_quoteServerBox->addItems({QStringLiteral("American Stock Exchange"), QStringLiteral("Yahoo!"),
                                QStringLiteral("NASDAQ")});
    m_quoteServerBox->setEnabled(false);  // the source is chosen at start-up, not here
    auto* serverLayout = new QHBoxLayout(server);
    serverLayout->addWidget(LabelFor(QStringLiteral("Quote Server:"), m_quoteServerBox, server));
    serverLayout->addWidget(m_quoteServerBox, 1);

    auto* automatic = new QGroupBox(QStringLiteral("Auto Web Update"), general);
    m_enableBox = new QCheckBox(QStringLiteral("Enable"), automatic);
    m_refreshBox = new QComboBox(automatic);
    m_refreshBox->addItems({QStringLiteral("1 Minute"), QStringLiteral("3 Minutes"),
                            QStringLiteral("5 Minutes"), QStringLiteral("10 Minutes"),
                            QStringLiteral("30 Minutes"), QStringLiteral("60 Minutes")});
    auto* automaticLayout = new QGridLayout(automatic);
    automaticLayout->addWidget(m_enableBox, 0, 0, 1, 2);
    automaticLayout->addWidget(LabelFor(QStringLiteral("Refresh Time:"), m_refreshBox, automatic),
                               1, 0);
    automaticLayout->addWidget(m_refreshBox, 1, 1);

    m_ungroupBox = new QCheckBox(QStringLiteral("Ungroup Options and Stock"), general);

    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(display);
    generalLayout->addWidget(dates);
    generalLayout->addWidget(server);
    generalLayout->addWidget(automatic);
    generalLayout->addWidget(m_ungroupBox);
    generalLayout->addStretch(1);

    m_sourcesPage = new CQuoteSourcesPage(settings, this);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(general, QStringLiteral("General"));
    m_tabs->addTab(m_sourcesPage, QStringLiteral("Quote Sources"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_countEdit, m_showByBox, m_usDates, m_otherDates, m_quoteServerBox, m_enableBox,
                 m_refreshBox, m_ungroupBox});

    ShowMembers();
    (m_dateMonthFirst ? m_usDates : m_otherDates)->setChecked(true);
    m_showByBox->setCurrentIndex(static_cast<int>(m_showBy));
    m_quoteServerBox->setCurrentIndex(static_cast<int>(m_quoteSource));
    m_refreshBox->setEnabled(m_autoUpdate);

    connect(up, &QToolButton::clicked, this, [this] { StepCount(1); });
    connect(down, &QToolButton::clicked, this, [this] { StepCount(-1); });
    connect(m_enableBox, &QCheckBox::clicked, this, &CPreferencesDlg::OnEnableClicked);
}

CPreferencesDlg::~CPreferencesDlg() = default;

void CPreferencesDlg::CopyTo(Settings& settings) const {
    settings.pieRecordCount = m_recordCount;
    settings.ungroupOptions = m_ungroup;
    settings.autoUpdate = m_autoUpdate;
    settings.updateInterval = m_refreshIndex;
    settings.dateMonthFirst = m_dateMonthFirst;
    settings.pieGrouping = m_showBy;
    settings.quoteSource = m_quoteSource;
    settings.quoteSources = m_sourcesPage->UserSources();
    settings.quoteChain = m_sourcesPage->ChainToKeep();
}

void CPreferencesDlg::StepCount(int step) {
    // The step moves the count last taken from the field, not what has been typed since;
    // every bound control shows its value again.
    m_recordCount = std::clamp(m_recordCount + step, kFewestSlices, kMostSlices);
    ShowMembers();
}

void CPreferencesDlg::ShowMembers() {
    m_countEdit->setText(QString::number(m_recordCount));
    m_ungroupBox->setChecked(m_ungroup);
    m_enableBox->setChecked(m_autoUpdate);
    m_refreshBox->setCurrentIndex(m_refreshIndex);
}

bool CPreferencesDlg::TakeMembers() {
    const std::optional<int> count = ParseFormInteger(FieldText(m_countEdit));
    if (!count || *count < kFewestSlices || *count > kMostSlices) {
        ShowFormMessage(this, count ? QStringLiteral("Please enter an integer between %1 and %2.")
                                          .arg(kFewestSlices)
                                          .arg(kMostSlices)
                                    : QStringLiteral("Please enter an integer."));
        m_countEdit->setFocus();
        m_countEdit->selectAll();
        return false;
    }
    m_recordCount = *count;
    m_ungroup = m_ungroupBox->isChecked();
    m_autoUpdate = m_enableBox->isChecked();
    m_refreshIndex = m_refreshBox->currentIndex();
    return true;
}

void CPreferencesDlg::OnEnableClicked() {
    TakeMembers();
    m_refreshBox->setEnabled(m_autoUpdate);
}

void CPreferencesDlg::accept() {
    if (!TakeMembers()) {
        return;
    }
    m_dateMonthFirst = m_usDates->isChecked();
    m_showBy = static_cast<PieGrouping>(m_showByBox->currentIndex());
    m_quoteSource = static_cast<QuoteServer>(m_quoteServerBox->currentIndex());
    m_ungroup = m_ungroupBox->isChecked();
    QString why;
    if (!m_sourcesPage->Check(why)) {
        m_tabs->setCurrentWidget(m_sourcesPage);
        ShowFormMessage(this, why);
        m_sourcesPage->FocusChain();
        return;
    }
    QDialog::accept();
}

void CPreferencesDlg::done(int result) {
    m_sourcesPage->StopTest();
    QDialog::done(result);
}
