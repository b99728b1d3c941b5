#include "desktop/mainwindow/Kx7View.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTimer>

#include "core/figures/PieLayout.h"
#include "core/figures/TimelineLayout.h"
#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/MoneyFormat.h"
#include "core/settings/Settings.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/mainwindow/ViewPainter.h"

using view_painter::ToColour;
using view_painter::ToRect;

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

CXListCtrl* MakeList(QWidget* parent, const ViewRect& body, int id) {
    auto* list = new CXListCtrl(parent);
    list->setObjectName(QStringLiteral("list%1").arg(id));
    list->setGeometry(ToRect(body).adjusted(1, 1, -1, -1));
    QFont font = list->font();
    font.setPixelSize(11);
    list->setFont(font);
    list->horizontalHeader()->setFont(font);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

// How often the figures are looked at for the clock: vesting and expiry move by the second.
constexpr int kClockTickMs = 1000;

// Screen pixels per inch: one view unit prints at the size of one screen pixel.
double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

CKx7View::CKx7View(CKx7Doc& document, const Settings& settings, UpdateWorkerControl& worker,
                   QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_settings(settings),
      m_workerSwitch(worker),
      m_clockTimer(new QTimer(this)),
      m_holdingsList(MakeList(this, view_layout::kHoldingsBody, kHoldingsListId)),
      m_alertList(MakeList(this, view_layout::kAlertBody, kAlertListId)) {
    setMinimumSize(kDashboardSize);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);

    const int holdingsWidth = m_holdingsList->width();
    m_holdingsList->InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft,
                                 holdingsWidth * 25 / 100);
    m_holdingsList->InsertColumn(1, QStringLiteral("Value"), Qt::AlignRight,
                                 holdingsWidth * 25 / 100);
    m_holdingsList->InsertColumn(2, QStringLiteral("Price"), Qt::AlignRight,
                                 holdingsWidth * 25 / 100 - 10);
    m_holdingsList->InsertColumn(3, QStringLiteral("% Chg"), Qt::AlignRight,
                                 holdingsWidth * 25 / 100 - 6);
    const int alertWidth = m_alertList->width();
    m_alertList->InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft, alertWidth * 33 / 100);
    m_alertList->InsertColumn(1, QStringLiteral("Target"), Qt::AlignRight, alertWidth * 33 / 100);
    m_alertList->InsertColumn(2, QStringLiteral("Current"), Qt::AlignRight,
                              alertWidth * 34 / 100 - 16);

    connect(m_holdingsList, &CXListCtrl::RowClicked, this, &CKx7View::OnHoldingsClicked);
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            &CKx7View::Refresh);
    connect(m_clockTimer, &QTimer::timeout, this, &CKx7View::Refresh);
    m_clockTimer->start(kClockTickMs);
}

CKx7View::~CKx7View() = default;

void CKx7View::OnInitialUpdate() {
    m_holdingsList->DeleteAllItems();
    m_alertList->DeleteAllItems();
    m_shownHoldings.clear();
    m_shownAlerts.clear();
    m_listsFilled = false;
    Refresh();
}

void CKx7View::Refresh() {
    // Computed again only when the document, the settings shown or the second changed.
    const PaintFigures& figures = m_figures.Figures(m_document, m_settings.valueShown);
    FillAlertList(figures.dashboard.alerts);
    FillHoldingsList(figures.dashboard.holdings);
    m_listsFilled = true;
    m_timeline = LayoutTimeline(m_document, view_layout::kTimelineBody);
    m_workerSwitch.Apply(m_settings);
    update();
}

void CKx7View::Repaint() {
    Refresh();
    repaint();
}

void CKx7View::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintDashboard(painter);
}

void CKx7View::showEvent(QShowEvent* event) {
    Refresh();
    QWidget::showEvent(event);
}

void CKx7View::PaintDashboard(QPainter& painter) const {
    DrawAlertPanel(painter);
    // Before the first figures the panels are drawn empty.
    const PaintFigures* figures = m_figures.Current();
    if (figures != nullptr && m_settings.valueShown) {
        DrawValueSummary(painter, figures->dashboard.values);
    }
    DrawHoldingsAndPie(painter, figures);
    if (m_settings.chartShown) {
        view_painter::DrawTimeline(painter, m_timeline);
    }
}

void CKx7View::DrawAlertPanel(QPainter& painter) const {
    view_painter::DrawPanel(painter, view_layout::kAlertHeader, view_layout::kAlertBody,
                            QStringLiteral("Alert"), true, true);
    if (m_linkPressedLook) {
        view_painter::DrawLink(painter, view_palette::kLinkPressed);
    }
}

void CKx7View::FillAlertList(const std::vector<AlertRow>& rows) {
    if (m_listsFilled && rows == m_shownAlerts) {
        return;
    }
    m_alertList->DeleteAllItems();
    for (const AlertRow& alert : rows) {
        const int row = m_alertList->InsertItem(m_alertList->RowCount(), Text(alert.symbol));
        const QColor back = ToColour(alert.background);
        m_alertList->SetItemText(row, 0, Text(alert.symbol), Qt::black, back);
        m_alertList->SetItemText(row, 1, Text(alert.target), Qt::black, back);
        m_alertList->SetItemText(row, 2, Text(alert.current), Qt::black, back);
    }
    m_shownAlerts = rows;
}

void CKx7View::DrawValueSummary(QPainter& painter, const ValueSummary& values) const {
    const QString figures =
        Text(FormatMoney(values.totalValue) + "\n" + FormatMoney(values.realizedGain) + "\n" +
             FormatMoney(values.potentialGain));
    view_painter::DrawValueSummary(painter, figures);
}

void CKx7View::DrawHoldingsAndPie(QPainter& painter, const PaintFigures* figures) const {
    view_painter::DrawPanel(painter, view_layout::kPieHeader, view_layout::kPieBody,
                            QStringLiteral("Pie Chart"), true, true);
    if (figures != nullptr) {
        view_painter::DrawPie(painter, figures->pie,
                              Text(LastUpdateText(m_document.LastUpdateTime())),
                              figures->sliceDirections);
    }

    view_painter::DrawPanel(painter, view_layout::kHoldingsHeader, view_layout::kHoldingsBody,
                            QStringLiteral("Portfolio"), false, false);
}

void CKx7View::FillHoldingsList(const std::vector<HoldingRow>& rows) {
    if (m_listsFilled && rows == m_shownHoldings) {
        return;
    }
    m_holdingsList->DeleteAllItems();
    for (const HoldingRow& holding : rows) {
        const int row =
            m_holdingsList->InsertItem(m_holdingsList->RowCount(), Text(holding.symbolText));
        const QColor back = ToColour(holding.background);
        m_holdingsList->SetItemText(row, 0, Text(holding.symbolText), Qt::black, back);
        if (holding.bold) {
            m_holdingsList->SetCellBold(row, 0, true);
        }
        m_holdingsList->SetItemText(row, 1, Text(holding.value), Qt::black, back);
        m_holdingsList->SetItemText(row, 2, Text(holding.price), Qt::black, back);
        m_holdingsList->SetItemText(row, 3, Text(holding.change), Qt::black,
                                    ToColour(holding.changeBackground));
    }
    m_shownHoldings = rows;
}

void CKx7View::OnHoldingsClicked(int row) {
    QString symbol = m_holdingsList->GetItemText(row, 0);
    if (symbol.isEmpty()) {
        return;
    }
    while (symbol.endsWith(QLatin1Char('+')) || symbol.endsWith(QLatin1Char('-'))) {
        symbol.chop(1);
    }
    while (symbol.startsWith(QLatin1Char(' '))) {
        symbol.remove(0, 1);
    }
    emit SymbolSummaryRequested(symbol);
    m_holdingsList->DeleteAllItems();
    m_listsFilled = false;
    Repaint();
}

void CKx7View::SetLinkColour(bool pressedLook) {
    if (m_linkPressedLook == pressedLook) {
        return;
    }
    m_linkPressedLook = pressedLook;
    repaint(ToRect(view_layout::kAlertLink));
}

void CKx7View::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const ViewPoint point{at.x(), at.y()};
    if (view_layout::kAlertHeader.Contains(point)) {
        if (view_layout::kAlertLink.Contains(point)) {
            m_linkPressed = true;
            SetLinkColour(true);
        }
    } else {
        m_linkPressed = false;
    }
    QWidget::mousePressEvent(event);
}

void CKx7View::mouseMoveEvent(QMouseEvent* event) {
    if (m_linkPressed) {
        const QPoint at = event->position().toPoint();
        SetLinkColour(view_layout::kAlertLink.Contains({at.x(), at.y()}));
    }
    QWidget::mouseMoveEvent(event);
}

void CKx7View::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const ViewPoint point{at.x(), at.y()};
    const bool open = m_linkPressed && view_layout::kAlertLink.Contains(point) &&
                      view_layout::kAlertHeader.Contains(point);
    m_linkPressed = false;
    SetLinkColour(false);
    if (open) {
        emit AlertEditorRequested();
        Repaint();
    }
    QWidget::mouseReleaseEvent(event);
}

void CKx7View::Print(QPrinter& printer, const QString& documentTitle) {
    QPainter painter(&printer);
    if (!painter.isActive()) {
        return;
    }
    const double scale = printer.resolution() / ScreenDpi();
    painter.scale(scale, scale);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int pageWidth = static_cast<int>(page.width() / scale);

    painter.setFont(view_painter::TitleFont());
    painter.setPen(Qt::black);
    const int textHeight = painter.fontMetrics().height();
    painter.drawText(QRect(0, 25, pageWidth, textHeight), Qt::AlignLeft | Qt::AlignTop,
                     documentTitle);
    painter.drawText(QRect(0, 25, pageWidth, textHeight), Qt::AlignRight | Qt::AlignTop,
                     Text(FormatLocalTime(Clock::Now(), "%m/%d/%Y")));
    painter.drawLine(0, textHeight + 35, pageWidth, textHeight + 35);

    const int top = textHeight + 10 + 40;
    painter.translate(0, top);
    Refresh();
    PaintDashboard(painter);
    m_alertList->PaintToPrinter(painter, m_alertList->geometry().topLeft());
    m_holdingsList->PaintToPrinter(painter, m_holdingsList->geometry().topLeft());
}
