#pragma once

#include <QDialog>
#include <optional>

class CKx7Doc;
class QComboBox;
class ReportTextView;

// "History Report": the purchases and sales of a recent time frame in date order, one
// fixed-width line each. It opens on the last week with no time frame chosen.
class CHistoryDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CHistoryDlg)

public:
    explicit CHistoryDlg(const CKx7Doc& document, QWidget* parent = nullptr);
    ~CHistoryDlg() override;

    // The days the time frame at `position` of the box looks back; none for "Show All",
    // which lists every transaction however old.
    static std::optional<int> DaysOf(int position);
    // The days shown now.
    std::optional<int> Days() const { return m_days; }

private:
    void OnTimeFrameChanged(int index);
    void Rebuild();

    const CKx7Doc& m_document;
    std::optional<int> m_days;
    QComboBox* m_timeFrameBox;
    ReportTextView* m_report;
};
