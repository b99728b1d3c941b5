#pragma once

#include <functional>

// The refusal sound of the forms. Qt has one beep; the frequency and length are kept so
// that a test can tell a refused OK (1000 Hz, 1000 ms) from a refused amount (100, 100).
void Beep(int frequency, int milliseconds);

class QString;
class QWidget;

// A refusal the form answers with the beep: the reason also shows in the status bar of the
// main window the form belongs to, since a sound alone does not say why.
void BeepBecause(const QWidget* form, const QString& reason, int frequency = 1000,
                 int milliseconds = 1000);
// Shows `text` for a while in the status bar of the main window `widget` belongs to; a
// widget of no main window shows nothing.
void SayInStatusBar(const QWidget* widget, const QString& text);

using BeepRecorder = std::function<void(int frequency, int milliseconds)>;

// While a recorder is installed it hears every beep instead of the speaker. Returns the
// recorder it replaces.
BeepRecorder SetBeepRecorder(BeepRecorder recorder);
