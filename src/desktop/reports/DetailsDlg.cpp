#include "desktop/reports/DetailsDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <string_view>

#include "core/model/Kx7Doc.h"
#include "core/reports/DetailsReport.h"
#include "desktop/reports/DetailsSubDlg.h"
#include "desktop/reports/ReportUi.h"

CDetailsDlg::CDetailsDlg(const CKx7Doc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Detailed Information"));
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    // Every piece of the list text that a CR ends is one line; the LF after it goes.
    const std::string text = BuildDetailsList(document);
    const std::string_view rest = text;
    std::size_t start = 0;
    for (std::size_t cr = rest.find('\r'); cr != std::string_view::npos;
         cr = rest.find('\r', start)) {
        const std::string_view line = rest.substr(start, cr - start);
        m_list->addItem(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
        start = cr + 1;
        if (start < rest.size() && rest[start] == '\n') {
            ++start;
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Show Detailed Information"), this));
    auto* heading = MakeColumnHeading(
        QStringLiteral("Symbol                  Date       P.Price      # Shares"), this);
    heading->setContentsMargins(3, 0, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(new QLabel(QStringLiteral("Double Click on a record to see details."), this));
    layout->addWidget(MakeCloseButton(*this, QStringLiteral("Close")));
    resize(DialogUnits(*this, 307, 237));

    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ShowDetails(m_list->row(item)); });
}

CDetailsDlg::~CDetailsDlg() = default;

void CDetailsDlg::ShowDetails(int position) {
    if (position < 0 || position >= m_list->count()) {
        return;
    }
    const std::optional<std::string> details =
        BuildPurchaseDetails(m_document, static_cast<std::size_t>(position));
    if (!details) {
        return;
    }
    CDetailsSubDlg dialog(*details, this);
    dialog.exec();
}
