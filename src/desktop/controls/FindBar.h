#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class ReportTextView;

// The find line under a report: Ctrl+F opens it, Enter or F3 finds the next line that holds
// the text, Shift+Enter or Shift+F3 the one before, Escape closes it and gives the report
// the focus back.
class FindBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindBar)

public:
    // Hidden until asked for; the shortcuts work anywhere in `view`'s window.
    explicit FindBar(ReportTextView& view, QWidget* parent = nullptr);
    ~FindBar() override;

    void Open();
    void Close();
    bool FindNext();
    bool FindPrevious();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Find(bool backward);

    ReportTextView& m_view;
    QLineEdit* m_text;
    QLabel* m_notFound;
};
