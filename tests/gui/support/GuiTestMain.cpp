// Runs the GUI test class named by the first argument, or all of them.

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

#include "support/GuiTestRegistry.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Copies left by an earlier run that was stopped would ask to be recovered.
    const QString recovery = qEnvironmentVariable("VELMORA_RECOVERY_DIR");
    if (!recovery.isEmpty()) {
        QDir(recovery).removeRecursively();
    }
    const QStringList arguments = QApplication::arguments();
    QStringList qtestArguments{arguments.value(0)};
    QString only;
    if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-'))) {
        only = arguments[1];
        qtestArguments += arguments.mid(2);
    } else {
        qtestArguments += arguments.mid(1);
    }

    int failures = 0;
    bool found = false;
    for (const auto& [name, factory] : GuiTestRegistry::Entries()) {
        if (!only.isEmpty() && QString::fromStdString(name) != only) {
            continue;
        }
        found = true;
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), qtestArguments);
    }
    if (!found) {
        std::fprintf(stderr, "no GUI test named %s\n", qPrintable(only));
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
