#include <sys/wait.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTest>
#include <fstream>
#include <functional>

#include "core/model/Kx7Doc.h"
#include "core/model/PortfolioLock.h"
#include "core/model/ProcessInfo.h"
#include "core/support/Processes.h"
#include "desktop/mainwindow/MainFrm.h"
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

// What another process finds when it tries to lock the file.
PortfolioLock::State StateSeenByAnotherProcess(const QString& path) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(static_cast<int>(PortfolioLock(path.toStdString()).GetState()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return static_cast<PortfolioLock::State>(WEXITSTATUS(status));
}

// Chooses `path` in the next file dialog, then does `next` (the dialog is gone by then).
// `offered` receives the name the dialog offered first.
void ChooseFile(const QString& path, const std::function<void()>& next = {},
                QString* offered = nullptr) {
    OnNextModal([path, next, offered](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        if (offered != nullptr && !dialog->selectedFiles().isEmpty()) {
            *offered = dialog->selectedFiles().first();
        }
        dialog->setOption(QFileDialog::DontConfirmOverwrite);  // as if confirmed
        AcceptFile(*dialog, path);
        if (next) {
            next();
        }
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
        const QString alias = f.PathOf(QStringLiteral("alias.kx7"));
        QVERIFY(QFile::link(first, alias));
        QVERIFY(f.frame.OpenPortfolio(alias));  // by another name: still ours, and held
        QVERIFY(LockedByUs(first));
        QCOMPARE(StateSeenByAnotherProcess(first), PortfolioLock::State::kHeldByOther);
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

    // A lock whose process has ended is taken over only when the user says so.
    void lockLeftByAnEndedProgramIsTakenOverAfterAsking() {
        FrameFixture f;
        const QString left = f.WriteFile(QStringLiteral("left.kx7"), "Left");
        const auto leaveLock = [&left] {
            std::ofstream(PortfolioLock::LockPathFor(left.toStdString())) << DeadPid() << "\n"
                                                                          << HostName() << "\n";
        };
        leaveLock();
        QString question;
        AnswerMessageBox(QMessageBox::No, &question);
        QVERIFY(f.frame.OpenPortfolio(left));
        QVERIFY(question.contains(QStringLiteral("no longer runs")));
        QVERIFY(f.frame.IsReadOnly());
        QVERIFY(!LockedByUs(left));

        QVERIFY(f.frame.NewPortfolio());
        leaveLock();
        AnswerMessageBox(QMessageBox::Yes);
        QVERIFY(f.frame.OpenPortfolio(left));
        QVERIFY(!f.frame.IsReadOnly());
        QVERIFY(LockedByUs(left));
    }

    // A file read only in part opens read-only: Save asks for a new name, and the file
    // itself, by any name, is never written over.
    void partlyReadFileIsNeverWrittenOver() {
        FrameFixture f;
        const QString partial = f.WriteFile(QStringLiteral("partial.kx7"), "Partial");
        QFile::link(partial, f.PathOf(QStringLiteral("alias.kx7")));
        AnswerMessageBox(QMessageBox::Ok);
        QVERIFY(f.frame.OpenPortfolio(partial));
        QVERIFY(f.frame.IsReadOnly());
        f.doc.SetPortfolioInformation("Changed", "");

        for (const QString& name : {partial, f.PathOf(QStringLiteral("alias.kx7"))}) {
            QString refusal;
            ChooseFile(name, [&refusal] { AnswerMessageBox(QMessageBox::Ok, &refusal); });
            QVERIFY(!f.frame.SavePortfolio(partial));
            QVERIFY2(refusal.contains(QStringLiteral("stays as it is")), qPrintable(refusal));
        }
        QFile file(partial);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Partial"));
        QVERIFY(!QFile::exists(partial + QStringLiteral(".bak")));

        const QString copy = f.PathOf(QStringLiteral("whole.kx7"));
        QString offered;
        ChooseFile(copy, {}, &offered);
        QVERIFY(f.frame.SavePortfolio(partial));
        QCOMPARE(QFileInfo(offered).fileName(), QStringLiteral("partial-recovered.kx7"));
        QCOMPARE(QString::fromStdString(f.doc.PathName()), copy);
        QVERIFY(!f.frame.IsReadOnly());
        QVERIFY(!f.doc.IsIncomplete());
    }

    // Another program changed the file after it was opened here: Save asks before it
    // writes over that program's work.
    void outsideChangeIsDetectedBeforeSave_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("ownerAfter");
        QTest::newRow("cancel") << QStringLiteral("Cancel") << false << QByteArray("Theirs!")
                                << QStringLiteral("Mine!!");
        QTest::newRow("overwrite") << QStringLiteral("&Overwrite") << true << QByteArray("Mine!!")
                                   << QStringLiteral("Mine!!");
        QTest::newRow("reload") << QStringLiteral("&Reload") << false << QByteArray("Theirs!")
                                << QStringLiteral("Theirs!");
    }

    void outsideChangeIsDetectedBeforeSave() {
        QFETCH(QString, button);
        QFETCH(bool, saved);
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, ownerAfter);
        FrameFixture f;
        const QString path = f.WriteFile(QStringLiteral("shared.kx7"), "Original");
        QVERIFY(f.frame.OpenPortfolio(path));
        f.doc.SetPortfolioInformation("Mine!!", "");
        f.WriteFile(QStringLiteral("shared.kx7"), "Theirs!");  // another program's save

        QString question;
        OnNextModal([&question, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            question = box->text();
            for (QAbstractButton* candidate : box->buttons()) {
                if (candidate->text() == button) {
                    candidate->click();
                    return;
                }
            }
            QFAIL("no such button");
        });
        QCOMPARE(f.frame.SavePortfolio(path), saved);
        QVERIFY(question.contains(QStringLiteral("was changed by another program")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), onDisk);
        QCOMPARE(QString::fromStdString(f.doc.OwnerName()), ownerAfter);
    }

    // The file touched, or saved here, is no change: Save goes on without a question.
    void ownSavesAndTouchesAreNoOutsideChange() {
        FrameFixture f;
        const QString path = f.WriteFile(QStringLiteral("mine.kx7"), "Mine");
        QVERIFY(f.frame.OpenPortfolio(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
        file.close();
        f.doc.SetPortfolioInformation("Mine too", "");
        QVERIFY(f.frame.SavePortfolio(path));
        f.doc.SetPortfolioInformation("Mine three", "");
        QVERIFY(f.frame.SavePortfolio(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Mine three"));
    }
};

static const GuiTestRegistration<FrameLockTest> registration("FrameLock_test");

#include "FrameLock_test.moc"
