#include "desktop/reports/HistoryDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "core/model/Kx7Doc.h"
#include "core/reports/HistoryReport.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportUi.h"

namespace {

struct TimeFrame {
    const char* item;
    std::optional<int> days;
};

constexpr int kFirstShownDays = 7;
// Date, kind, shares, the name column, price and amount.
constexpr int kLineLength = 76;
const std::array<TimeFrame, 7> kTimeFrames{{{"1 Week", 7},
                                            {"1 Month", 31},
                                            {"3 Months", 93},
                                            {"6 Months", 183},
                                            {"1 Year", 365},
                                            {"2 Years", 730},
                                            {"Show All", std::nullopt}}};

}  // namespace

CHistoryDlg::CHistoryDlg(const CKx7Doc& document, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_days(kFirstShownDays),
      m_timeFrameBox(new QComboBox(this)),
      m_report(MakeReportBox(this)) {
    setWindowTitle(QStringLiteral("History Report"));
    m_timeFrameBox->setObjectName(QStringLiteral("timeFrameBox"));
    for (const TimeFrame& frame : kTimeFrames) {
        m_timeFrameBox->addItem(QString::fromLatin1(frame.item));
    }
    m_timeFrameBox->setCurrentIndex(-1);
    m_timeFrameBox->setMinimumContentsLength(10);

    QLabel* title = MakeTitle(QStringLiteral("Transaction History"), this);

    auto* frame = new QHBoxLayout;
    frame->addWidget(title);
    frame->addStretch();
    frame->addWidget(new QLabel(QStringLiteral("Timeframe:"), this));
    frame->addWidget(m_timeFrameBox);

    const QString heading = QStringLiteral(
        "Date       Trans        Qty  Description                   Price      Amount");
    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("OK"));
    AddTextReportCommands(*this, *buttons, title->text(), {heading}, *m_report);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frame);
    layout->addWidget(MakeColumnHeading(heading, this));
    AddReportWithFind(*layout, *m_report);
    layout->addWidget(buttons);
    m_report->setMinimumWidth(m_report->WidthFor(kLineLength));
    resize(DialogUnits(*this, 340, 266));

    connect(m_timeFrameBox, &QComboBox::currentIndexChanged, this,
            &CHistoryDlg::OnTimeFrameChanged);
    // Records added while the report is open show at once.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            &CHistoryDlg::Rebuild);
    Rebuild();
}

CHistoryDlg::~CHistoryDlg() = default;

std::optional<int> CHistoryDlg::DaysOf(int position) {
    if (position < 0 || position >= static_cast<int>(kTimeFrames.size())) {
        return kFirstShownDays;
    }
    return kTimeFrames[static_cast<std::size_t>(position)].days;
}

void CHistoryDlg::OnTimeFrameChanged(int index) {
    if (index < 0) {
        return;
    }
    m_days = DaysOf(index);
    Rebuild();
}

void CHistoryDlg::Rebuild() {
    m_report->SetText(BuildHistoryReport(m_document, m_days));
}
