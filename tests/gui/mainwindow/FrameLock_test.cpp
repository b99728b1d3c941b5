#include <unistd.h>
#include <QFile>
#include <QFileDialog>
#include <QTest>
#include <fstream>

#include "mainwindow/MainFrm.h"
#include "model/Kx7Doc.h"
#include "model/PortfolioLock.h"
#include "model/ProcessInfo.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

// Marks the file as open in another running program (this test's parent process).
void LockByAnother(const QString& path) {
    std::ofstream(PortfolioLock::LockPathFor(path.toStdString())) << getppid() << "\n"
                                                                  << HostName() << "\n";
}

bool LockedByUs(const QString& path) {
    std::ifstream in(PortfolioLock::LockPathFor(path.toStdString()));
    int pid = 0;
    return static_cast<bool>(in >> pid) && pid == getpid();
}

void ChooseFile(const QString& path) {
    OnNextModal([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace

// One writer per portfolio file.
class FrameLockTest final : public QObject {
    Q_OBJECT

private slots:
    void openFileIsLockedUntilAnotherIsOpened() {
        FrameFixture f;
        const QString first = f.WriteFile(QStringLiteral("first.kx7"));
        const QString second = f.WriteFile(QStringLiteral("second.kx7"));
        QVERIFY(f.frame.OpenPortfolio(first));
        QVERIFY(LockedByUs(first));
        QVERIFY(!f.frame.IsReadOnly());
        QVERIFY(f.frame.OpenPortfolio(first));  // opened again: still ours
        QVERIFY(LockedByUs(first));
        QVERIFY(f.frame.OpenPortfolio(second));
        QVERIFY(!QFile::exists(
            QString::fromStdString(PortfolioLock::LockPathFor(first.toStdString()))));
        QVERIFY(f.frame.NewPortfolio());
        QVERIFY(!LockedByUs(second));
    }

    void fileOpenElsewhereOpensReadOnlyAndSavesUnderANewName() {
        FrameFixture f;
        const QString shared = f.WriteFile(QStringLiteral("shared.kx7"), "Shared Owner");
        LockByAnother(shared);
        QString warning;
        AnswerMessageBox(QMessageBox::Yes, &warning);
        QVERIFY(f.frame.OpenPortfolio(shared));
        QVERIFY(warning.contains(QStringLiteral("is open in Velmora on")));
        QVERIFY(f.frame.IsReadOnly());
        QCOMPARE(f.doc.OwnerName(), std::string("Shared Owner"));

        const QString copy = f.PathOf(QStringLiteral("mine.kx7"));
        ChooseFile(copy);
        QVERIFY(f.frame.SavePortfolio(QString::fromStdString(f.doc.PathName())));
        QCOMPARE(QString::fromStdString(f.doc.PathName()), copy);
        QVERIFY(!f.frame.IsReadOnly());
        QVERIFY(LockedByUs(copy));
        QVERIFY(!LockedByUs(shared));  // the other program's lock stands
        QVERIFY(QFile::exists(
            QString::fromStdString(PortfolioLock::LockPathFor(shared.toStdString()))));
    }

    void refusingReadOnlyKeepsWhatWasOpen() {
        FrameFixture f;
        const QString mine = f.WriteFile(QStringLiteral("mine.kx7"), "Mine");
        const QString shared = f.WriteFile(QStringLiteral("shared.kx7"), "Shared");
        QVERIFY(f.frame.OpenPortfolio(mine));
        LockByAnother(shared);
        AnswerMessageBox(QMessageBox::No);
        QVERIFY(!f.frame.OpenPortfolio(shared));
        QCOMPARE(f.doc.OwnerName(), std::string("Mine"));
        QVERIFY(LockedByUs(mine));
    }

    void savingOverAFileOpenElsewhereIsRefused() {
        FrameFixture f;
        const QString shared = f.WriteFile(QStringLiteral("shared.kx7"), "Shared");
        LockByAnother(shared);
        QString warning;
        AnswerMessageBox(QMessageBox::Ok, &warning);
        QVERIFY(!f.frame.SavePortfolio(shared));
        QVERIFY(warning.contains(QStringLiteral("Save the portfolio under another name.")));
        QFile file(shared);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Shared"));
    }
};

static const GuiTestRegistration<FrameLockTest> registration("FrameLock_test");

#include "FrameLock_test.moc"
