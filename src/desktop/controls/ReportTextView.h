#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Shows a report's text, one line per line end, in the fixed-pitch font, read-only. It lays
// out and converts only the lines in sight, so a report of a hundred thousand lines is on
// the screen as soon as one of ten lines is. Selection is by whole lines (mouse, Shift with
// the arrow and page keys, Ctrl+A), and Ctrl+C copies the selected lines as the report
// wrote them.
class ReportTextView final : public QAbstractScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportTextView)

public:
    explicit ReportTextView(QWidget* parent = nullptr);
    ~ReportTextView() override;

    // Lines end in CR LF or LF; a last line without one still counts.
    void SetText(std::string text);
    // The text as given, line ends included.
    const std::string& Text() const { return m_text; }

    int LineCount() const { return static_cast<int>(m_lines.size()); }
    QString Line(int index) const;
    std::string_view LineBytes(int index) const;

    // Selected lines run from SelectionStart() to SelectionEnd(), both included; with none
    // selected, both are -1.
    int SelectionStart() const;
    int SelectionEnd() const;
    void SelectLines(int anchor, int current);
    void SelectAll();
    // The selected lines, each ending in a line feed.
    QString SelectedText() const;
    void CopySelection() const;

    // Selects and shows the next line after the current one (or before it, backwards) that
    // contains `needle`, ignoring case, wrapping round at the ends. False when no line has it.
    bool Find(const QString& needle, bool backward);

    // The width that shows `characters` columns side by side without a horizontal scroll.
    int WidthFor(int characters) const;
    int LineHeight() const;
    // Where the line is in the viewport, in sight or not.
    QRect LineRect(int index) const;

signals:
    // A line was double-clicked or Enter pressed on it.
    void LineActivated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int LineAt(int y) const;
    int VisibleLines() const;
    void MoveCurrent(int line, bool extend);
    void EnsureVisible(int line);
    void UpdateScrollBars();

    std::string m_text;
    // Where each line starts in m_text and how many bytes it has before its line end.
    struct LineSpan {
        std::size_t start;
        std::size_t length;
    };
    std::vector<LineSpan> m_lines;
    int m_widestLine = 0;  // in characters
    int m_anchor = -1;
    int m_current = -1;
};
