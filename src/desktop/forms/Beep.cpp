#include "desktop/forms/Beep.h"

#include <QApplication>
#include <utility>

namespace {

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
