// The program with one scripted change: it opens the file it is given, buys a lot without
// saving, waits until its recovery copy is on disk and then dies as a crash would.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <csignal>
#include <cstdlib>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "desktop/app/Kx7App.h"
#include "desktop/app/RecoveryGuard.h"
#include "desktop/mainwindow/MainFrm.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CKx7App kx7;
    if (!kx7.InitInstance(QApplication::arguments())) {
        return 1;
    }
    kx7.Document().Purchase({.symbol = "CRSH",
                             .companyName = "Crash Test Inc",
                             .shares = 42,
                             .price = 9.5f,
                             .date = Clock::Now(),
                             .commission = 1.0f,
                             .purchaseType = "Direct Purchase",
                             .comment = "never saved"});
    kx7.MainFrame().Repaint();

    const QDir folder(CRecoveryGuard::DefaultFolder());
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&folder] {
        if (!folder.entryList({QStringLiteral("*.kx7")}, QDir::Files).isEmpty()) {
            std::raise(SIGKILL);
        }
    });
    poll.start(50);
    QTimer::singleShot(20000, [] { std::_Exit(3); });  // no copy came: fail, never hang
    return QApplication::exec();
}
