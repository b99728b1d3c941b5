#pragma once

#include <functional>

// The refusal sound of the forms. Qt has one beep; the frequency and length are kept so
// that a test can tell a refused OK (1000 Hz, 1000 ms) from a refused amount (100, 100).
void Beep(int frequency, int milliseconds);

using BeepRecorder = std::function<void(int frequency, int milliseconds)>;

// While a recorder is installed it hears every beep instead of the speaker. Returns the
// recorder it replaces.
BeepRecorder SetBeepRecorder(BeepRecorder recorder);
