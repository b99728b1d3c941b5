#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>

// Answers every message box that opens with OK and keeps what it said: "caption|text",
// with "!" in front when it carries the warning icon. The first box may be held open for
// a while, to see who waits for it; `atRelease` then runs just before it is answered.
class MessageBoxRecorder final {
public:
    explicit MessageBoxRecorder(std::chrono::milliseconds holdFirst = {},
                                std::function<void()> atRelease = {})
        : m_holdFirst(holdFirst), m_atRelease(std::move(atRelease)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    QStringList messages;
    bool ownerless = true;  // no box had a parent window
    int openedWhileHeld = 0;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (box != m_seen) {
            m_seen = box;
            if (m_held.isValid()) {
                ++openedWhileHeld;
            }
            ownerless = ownerless && box->parentWidget() == nullptr;
            messages << QStringLiteral("%1%2|%3")
                            .arg(box->icon() == QMessageBox::Warning ? QStringLiteral("!")
                                                                     : QString())
                            .arg(box->windowTitle(), box->text());
        }
        if (messages.size() == 1 && m_holdFirst.count() > 0) {
            if (!m_held.isValid()) {
                m_held.start();
            }
            if (m_held.elapsed() < m_holdFirst.count()) {
                return;
            }
            m_holdFirst = {};
            m_held.invalidate();
            if (m_atRelease) {
                m_atRelease();
            }
        }
        // The next box may well be built at the same address.
        m_seen = nullptr;
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
    QMessageBox* m_seen = nullptr;
    std::chrono::milliseconds m_holdFirst;
    std::function<void()> m_atRelease;
    QElapsedTimer m_held;
};
