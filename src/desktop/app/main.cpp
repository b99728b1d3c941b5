#include <QApplication>
#include <cstdio>

#include "desktop/app/Kx7App.h"

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (const auto answer = CKx7App::AnswerWithoutWindow(arguments)) {
        std::fputs(answer->text.toLocal8Bit().constData(), stdout);
        return answer->exitCode;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    CKx7App kx7;
    if (!kx7.InitInstance(QApplication::arguments())) {
        return 1;
    }
    if (kx7.HandedOff()) {
        return 0;
    }
    if (kx7.PrintOnly()) {
        return kx7.ExitInstance(kx7.PrintExitCode());
    }
    return kx7.ExitInstance(QApplication::exec());
}
