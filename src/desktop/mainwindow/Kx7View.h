#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/figures/AlertRows.h"
#include "core/figures/DashboardCache.h"
#include "core/figures/PortfolioSnapshot.h"
#include "core/figures/UpdateWorkerSwitch.h"

class CKx7Doc;
class CXListCtrl;
class QPrinter;
struct Settings;

// The portfolio dashboard of fixed geometry: value summary, holdings and alert lists, pie
// chart and intraday timeline. Every paint re-reads the document, or finds what it read
// last still current: alerts are evaluated here and nowhere else.
class CKx7View final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKx7View)

public:
    static constexpr int kHoldingsListId = 1031;
    static constexpr int kAlertListId = 1032;
    // The area the dashboard draws in.
    static constexpr QSize kDashboardSize{570, 440};

    CKx7View(CKx7Doc& document, const Settings& settings, UpdateWorkerControl& worker,
             QWidget* parent = nullptr);
    ~CKx7View() override;

    // A new or opened portfolio: the lists start empty.
    void OnInitialUpdate();
    // Invalidates and repaints at once, so the view re-reads the document now.
    void Repaint();

    // The view printed into one page: a header with the title and today's date, then the
    // dashboard with both lists.
    void Print(QPrinter& printer, const QString& documentTitle);

    CXListCtrl& HoldingsList() { return *m_holdingsList; }
    CXListCtrl& AlertList() { return *m_alertList; }
    bool LinkPressed() const { return m_linkPressed; }
    bool WorkerRunning() const { return m_workerSwitch.Running(); }

    QSize sizeHint() const override { return kDashboardSize; }

signals:
    // The alert panel's "Edit" link was clicked.
    void AlertEditorRequested();
    // A holdings row was clicked; the symbol without its alert mark.
    void SymbolSummaryRequested(const QString& symbol);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintDashboard(QPainter& painter);
    void DrawAlertPanel(QPainter& painter, const std::vector<AlertRow>& alerts);
    void DrawValueSummary(QPainter& painter, const ValueSummary& values);
    void DrawHoldingsAndPie(QPainter& painter, const PaintFigures& figures);
    void FillAlertList(const std::vector<AlertRow>& rows);
    void FillHoldingsList(const std::vector<HoldingRow>& rows);
    void OnHoldingsClicked(int row);
    void SetLinkColour(bool pressedLook);

    CKx7Doc& m_document;
    const Settings& m_settings;
    UpdateWorkerSwitch m_workerSwitch;
    DashboardCache m_figures;
    CXListCtrl* m_holdingsList;
    CXListCtrl* m_alertList;
    // What the lists were last filled with: a paint that finds the same rows leaves the
    // lists alone, so refilling never triggers another paint.
    std::vector<HoldingRow> m_shownHoldings;
    std::vector<AlertRow> m_shownAlerts;
    bool m_listsFilled = false;
    bool m_linkPressed = false;
    bool m_linkPressedLook = false;
};
