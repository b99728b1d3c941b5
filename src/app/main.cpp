#include <QApplication>

#include "app/Kx7App.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    CKx7App kx7;
    if (!kx7.InitInstance(QApplication::arguments())) {
        return 1;
    }
    if (kx7.PrintOnly()) {
        return kx7.ExitInstance(kx7.PrintExitCode());
    }
    return kx7.ExitInstance(QApplication::exec());
}
