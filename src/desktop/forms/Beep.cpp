#include "desktop/forms/Beep.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <utility>

namespace {

// Long enough to read a sentence.
constexpr int kStatusMessageMs = 8000;

BeepRecorder& Recorder() {
    static BeepRecorder recorder;
    return recorder;
}

}  // namespace

void Beep(int frequency, int milliseconds) {
    if (Recorder()) {
        Recorder()(frequency, milliseconds);
        return;
    }
    QApplication::beep();
}

BeepRecorder SetBeepRecorder(BeepRecorder recorder) {
    return std::exchange(Recorder(), std::move(recorder));
}

void SayInStatusBar(const QWidget* widget, const QString& text) {
    for (const QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        if (const auto* frame = qobject_cast<const QMainWindow*>(at)) {
            frame->statusBar()->showMessage(text, kStatusMessageMs);
            return;
        }
    }
}

void BeepBecause(const QWidget* form, const QString& reason, int frequency, int milliseconds) {
    Beep(frequency, milliseconds);
    SayInStatusBar(form, reason);
}
