#include "desktop/controls/ReportTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace {

// The gap between the frame and the text, as a text box leaves it.
constexpr int kMargin = 4;

QString FromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool ContainsIgnoringCase(std::string_view line, const QString& needle) {
    // Most lines are plain ASCII; convert only the ones that could hold the needle.
    if (static_cast<qsizetype>(line.size()) < needle.size()) {
        return false;
    }
    return FromBytes(line).contains(needle, Qt::CaseInsensitive);
}

}  // namespace

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
}

ReportTextView::~ReportTextView() = default;

void ReportTextView::SetText(std::string text) {
    m_text = std::move(text);
    m_lines.clear();
    // Counted first, so that the table of a long report is allocated once.
    m_lines.reserve(static_cast<std::size_t>(std::count(m_text.begin(), m_text.end(), '\n')) + 1);
    std::size_t widest = 0;
    const std::string_view all = m_text;
    std::size_t start = 0;
    while (start < all.size()) {
        // Reports end their lines in CR LF; a lone LF ends one too.
        std::size_t end = all.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) {
            end = all.size();
        }
        if (end > start && all[end - 1] == '\r') {
            --end;
        }
        m_lines.push_back({start, end - start});
        widest = std::max(widest, end - start);
        start = next;
    }
    // Bytes, not characters: a name with accented letters only widens the scroll range.
    m_widestLine = static_cast<int>(std::min<std::size_t>(widest, 1U << 20U));
    // A rebuilt report keeps the place the reader had, as far as it still reaches.
    const int last = LineCount() - 1;
    m_anchor = std::min(m_anchor, last);
    m_current = std::min(m_current, last);
    UpdateScrollBars();
    viewport()->update();
}

QString ReportTextView::Line(int index) const {
    return FromBytes(LineBytes(index));
}

std::string_view ReportTextView::LineBytes(int index) const {
    if (index < 0 || index >= LineCount()) {
        return {};
    }
    const LineSpan& span = m_lines[static_cast<std::size_t>(index)];
    return std::string_view(m_text).substr(span.start, span.length);
}

int ReportTextView::SelectionStart() const {
    return m_current < 0 ? -1 : std::min(m_anchor, m_current);
}

int ReportTextView::SelectionEnd() const {
    return m_current < 0 ? -1 : std::max(m_anchor, m_current);
}

void ReportTextView::SelectLines(int anchor, int current) {
    const int last = LineCount() - 1;
    m_anchor = std::clamp(anchor, -1, last);
    m_current = std::clamp(current, -1, last);
    if (m_anchor < 0 || m_current < 0) {
        m_anchor = m_current = -1;
    }
    EnsureVisible(m_current);
    viewport()->update();
}

void ReportTextView::SelectAll() {
    if (LineCount() == 0) {
        return;
    }
    // The view stays where it is, as in a text box.
    m_anchor = 0;
    m_current = LineCount() - 1;
    viewport()->update();
}

QString ReportTextView::SelectedText() const {
    QString text;
    for (int line = SelectionStart(); line >= 0 && line <= SelectionEnd(); ++line) {
        text += Line(line);
        text += QLatin1Char('\n');
    }
    return text;
}

void ReportTextView::CopySelection() const {
    if (SelectionStart() >= 0) {
        QApplication::clipboard()->setText(SelectedText());
    }
}

bool ReportTextView::Find(const QString& needle, bool backward) {
    const int count = LineCount();
    if (needle.isEmpty() || count == 0) {
        return false;
    }
    const int step = backward ? -1 : 1;
    const int from = m_current < 0 ? (backward ? count : -1) : m_current;
    for (int tried = 1; tried <= count; ++tried) {
        const int line = ((from + step * tried) % count + count) % count;
        if (ContainsIgnoringCase(LineBytes(line), needle)) {
            SelectLines(line, line);
            return true;
        }
    }
    return false;
}

int ReportTextView::LineHeight() const {
    return fontMetrics().lineSpacing();
}

QRect ReportTextView::LineRect(int index) const {
    const int height = LineHeight();
    return {0, kMargin + (index - verticalScrollBar()->value()) * height, viewport()->width(),
            height};
}

int ReportTextView::WidthFor(int characters) const {
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    return fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + scrollBar +
           2 * frameWidth() + 2 * kMargin + 2;
}

int ReportTextView::VisibleLines() const {
    return std::max(1, (viewport()->height() - 2 * kMargin) / LineHeight());
}

int ReportTextView::LineAt(int y) const {
    // Above the text counts as the line before the first in sight, so dragging up scrolls.
    const int offset = y - kMargin;
    const int height = LineHeight();
    const int rows = offset >= 0 ? offset / height : -((height - 1 - offset) / height);
    return verticalScrollBar()->value() + rows;
}

void ReportTextView::UpdateScrollBars() {
    const int visible = VisibleLines();
    verticalScrollBar()->setRange(0, std::max(0, LineCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    const int textWidth =
        fontMetrics().horizontalAdvance(QLatin1Char('0')) * m_widestLine + 2 * kMargin;
    horizontalScrollBar()->setRange(0, std::max(0, textWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

void ReportTextView::EnsureVisible(int line) {
    if (line < 0) {
        return;
    }
    QScrollBar& bar = *verticalScrollBar();
    if (line < bar.value()) {
        bar.setValue(line);
    } else if (line >= bar.value() + VisibleLines()) {
        bar.setValue(line - VisibleLines() + 1);
    }
}

void ReportTextView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const int height = LineHeight();
    const int first = verticalScrollBar()->value();
    const int last = std::min(LineCount() - 1, first + viewport()->height() / height + 1);
    const int x = kMargin - horizontalScrollBar()->value();
    const int ascent = fontMetrics().ascent();
    const QPalette& colours = palette();
    for (int line = first; line <= last; ++line) {
        const int top = kMargin + (line - first) * height;
        const bool selected = line >= SelectionStart() && line <= SelectionEnd();
        if (selected) {
            painter.fillRect(0, top, viewport()->width(), height, colours.highlight());
        }
        painter.setPen(selected ? colours.highlightedText().color() : colours.text().color());
        painter.drawText(x, top + ascent, Line(line));
    }
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateScrollBars();
    }
}

void ReportTextView::MoveCurrent(int line, bool extend) {
    if (LineCount() == 0) {
        return;
    }
    line = std::clamp(line, 0, LineCount() - 1);
    SelectLines(extend && m_anchor >= 0 ? m_anchor : line, line);
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    const int current = std::max(m_current, 0);
    switch (event->key()) {
        case Qt::Key_Up:
            MoveCurrent(m_current < 0 ? verticalScrollBar()->value() : current - 1, extend);
            return;
        case Qt::Key_Down:
            MoveCurrent(m_current < 0 ? verticalScrollBar()->value() : current + 1, extend);
            return;
        case Qt::Key_PageUp:
            MoveCurrent(current - VisibleLines(), extend);
            return;
        case Qt::Key_PageDown:
            MoveCurrent(current + VisibleLines(), extend);
            return;
        case Qt::Key_Home:
            MoveCurrent(0, extend);
            return;
        case Qt::Key_End:
            MoveCurrent(LineCount() - 1, extend);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_current >= 0) {
                emit LineActivated(m_current);
                return;
            }
            break;
        default:
            break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int line = LineAt(static_cast<int>(event->position().y()));
    if (line >= LineCount()) {
        SelectLines(-1, -1);
        return;
    }
    MoveCurrent(line, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) == 0 || m_anchor < 0) {
        return;
    }
    MoveCurrent(LineAt(static_cast<int>(event->position().y())), true);
}

void ReportTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int line = LineAt(static_cast<int>(event->position().y()));
    if (event->button() == Qt::LeftButton && line < LineCount()) {
        SelectLines(line, line);
        emit LineActivated(line);
    }
}
