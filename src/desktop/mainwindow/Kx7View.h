#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/figures/AlertRows.h"
#include "core/figures/DashboardCache.h"
#include "core/figures/PortfolioSnapshot.h"
#include "core/figures/TimelineLayout.h"
#include "core/figures/UpdateWorkerSwitch.h"

class CKx7Doc;
class CXListCtrl;
class QPrinter;
class QTimer;
struct Settings;

// The portfolio dashboard of fixed geometry: value summary, holdings and alert lists, pie
// chart and intraday timeline. Its figures are computed when the document or the settings
// change and when the clock's second turns (vesting and expiry move with it); computing
// them fires the alerts and switches the update worker. A paint only draws them.
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
    // Computes the figures afresh where what they depend on changed, refills the lists,
    // switches the update worker and schedules a paint.
    void Refresh();
    // Refreshes and paints at once.
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
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintDashboard(QPainter& painter) const;
    void DrawAlertPanel(QPainter& painter) const;
    void DrawValueSummary(QPainter& painter, const ValueSummary& values) const;
    void DrawHoldingsAndPie(QPainter& painter, const PaintFigures* figures) const;
    void FillAlertList(const std::vector<AlertRow>& rows);
    void FillHoldingsList(const std::vector<HoldingRow>& rows);
    void OnHoldingsClicked(int row);
    void SetLinkColour(bool pressedLook);

    CKx7Doc& m_document;
    const Settings& m_settings;
    UpdateWorkerSwitch m_workerSwitch;
    DashboardCache m_figures;
    TimelineLayout m_timeline;
    QTimer* m_clockTimer;
    CXListCtrl* m_holdingsList;
    CXListCtrl* m_alertList;
    // What the lists were last filled with: figures with the same rows leave the lists
    // alone, so the lists keep their selection and scroll position every second.
    std::vector<HoldingRow> m_shownHoldings;
    std::vector<AlertRow> m_shownAlerts;
    bool m_listsFilled = false;
    bool m_linkPressed = false;
    bool m_linkPressedLook = false;
};
