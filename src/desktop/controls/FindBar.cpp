#include "desktop/controls/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "desktop/controls/ReportTextView.h"

FindBar::FindBar(ReportTextView& view, QWidget* parent)
    : QWidget(parent),
      m_view(view),
      m_text(new QLineEdit(this)),
      m_notFound(new QLabel(QStringLiteral("Not found"), this)) {
    setObjectName(QStringLiteral("findBar"));
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(QStringLiteral("Find"));
    m_text->setClearButtonEnabled(true);
    m_notFound->setObjectName(QStringLiteral("notFound"));
    m_notFound->hide();
    auto* next = new QPushButton(QStringLiteral("Next"), this);
    auto* previous = new QPushButton(QStringLiteral("Previous"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    next->setObjectName(QStringLiteral("findNext"));
    previous->setObjectName(QStringLiteral("findPrevious"));
    for (QPushButton* button : {next, previous, close}) {
        // Enter in the find line must find, not press the dialog's default button.
        button->setAutoDefault(false);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(m_notFound);
    layout->addWidget(close);
    hide();

    connect(next, &QPushButton::clicked, this, &FindBar::FindNext);
    connect(previous, &QPushButton::clicked, this, &FindBar::FindPrevious);
    connect(close, &QPushButton::clicked, this, &FindBar::Close);
    connect(m_text, &QLineEdit::textChanged, m_notFound, &QLabel::hide);

    QWidget* window = view.window();
    connect(new QShortcut(QKeySequence::Find, window), &QShortcut::activated, this, &FindBar::Open);
    // Find again (F3, Shift+F3) is a key of the report and of the find line.
    view.installEventFilter(this);
    m_text->installEventFilter(this);
}

FindBar::~FindBar() = default;

void FindBar::Open() {
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::Close() {
    hide();
    m_view.setFocus(Qt::OtherFocusReason);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::FindNext)) {
        FindNext();
        return true;
    }
    if (key->matches(QKeySequence::FindPrevious)) {
        FindPrevious();
        return true;
    }
    if (watched != m_text) {
        return QWidget::eventFilter(watched, event);
    }
    // Enter finds (Shift+Enter looks back) and Escape closes the find line; neither may
    // reach the dialog, which would close.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        Find((key->modifiers() & Qt::ShiftModifier) != 0);
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        Close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool FindBar::FindNext() {
    return Find(false);
}

bool FindBar::FindPrevious() {
    return Find(true);
}

bool FindBar::Find(bool backward) {
    if (m_text->text().isEmpty()) {
        Open();
        return false;
    }
    const bool found = m_view.Find(m_text->text(), backward);
    m_notFound->setVisible(!found);
    return found;
}
