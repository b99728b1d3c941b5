#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/ProcessInfo.h"
#include "core/support/Processes.h"
#include "desktop/app/Kx7App.h"
#include "desktop/app/RecoveryGuard.h"
#include "desktop/mainwindow/MainFrm.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

// A portfolio with unsaved changes outlives a crash of the program.
class RecoveryTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        qputenv("VELMORA_CONFIG", m_folder->filePath(QStringLiteral("velmora.ini")).toLocal8Bit());
        qputenv("VELMORA_RECOVERY_DIR", RecoveryFolder().toLocal8Bit());
        m_portfolio = m_folder->filePath(QStringLiteral("retire.kx7"));
        Settings settings;
        CKx7Doc doc(settings);
        BuildDemoPortfolio(doc);
        QVERIFY(SaveKx7File(doc, m_portfolio.toStdString()).empty());
    }

    void cleanup() {
        qunsetenv("VELMORA_CONFIG");
        qunsetenv("VELMORA_RECOVERY_DIR");
    }

    void killedProgramsChangesComeBack() {
        QProcess crashing;
        crashing.start(QStringLiteral(VELMORA_CRASH_PROGRAM_PATH), {m_portfolio});
        QVERIFY(crashing.waitForFinished(60000));
        QCOMPARE(crashing.exitStatus(), QProcess::CrashExit);
        QCOMPARE(CopiesLeft(), 1);

        QString question;
        AnswerMessageBox(QMessageBox::Yes, &question);
        CKx7App app;
        QVERIFY(app.InitInstance({QStringLiteral("velmora")}));
        QCOMPARE(question, QStringLiteral("Velmora ended without saving. Recover the unsaved "
                                          "changes of \"%1\"?")
                               .arg(m_portfolio));
        const CKx7Doc& doc = app.Document();
        QVERIFY(doc.IsModified());
        QCOMPARE(QString::fromStdString(doc.PathName()), m_portfolio);
        QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("retire.kx7[*] - Velmora"));
        QCOMPARE(QString::fromStdString(doc.Purchases().back()->symbol), QStringLiteral("CRSH"));
        QCOMPARE(doc.Purchases().back()->shares, 42.0f);
        QCOMPARE(QString::fromStdString(doc.OwnerName()), QStringLiteral("Pat Example"));
        // The dead program's copy gave way to this program's own.
        QCOMPARE(CopiesLeft(), 1);

        QVERIFY(app.MainFrame().SavePortfolio(m_portfolio));
        QTRY_COMPARE_WITH_TIMEOUT(CopiesLeft(), 0, 5000);
        app.MainFrame().close();
        app.ExitInstance(0);
        CKx7Doc saved(app.AppSettings());
        QVERIFY(OpenKx7File(saved, m_portfolio.toStdString()).Ok());
        QCOMPARE(QString::fromStdString(saved.Purchases().back()->symbol), QStringLiteral("CRSH"));
    }

    void answeringNoDiscardsTheCopy() {
        PlantCopy(QByteArray(), m_portfolio);
        AnswerMessageBox(QMessageBox::No);
        CKx7App app;
        QVERIFY(app.InitInstance({QStringLiteral("velmora")}));
        QVERIFY(!app.Document().IsModified());
        QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
        QCOMPARE(CopiesLeft(), 0);
        app.MainFrame().close();
        app.ExitInstance(0);
    }

    void unreadableCopyIsSetAside() {
        const QString copy = PlantCopy("\x02garbage", m_portfolio);
        AnswerMessageBox(QMessageBox::Yes);
        CKx7App app;
        QString warning;
        QTimer::singleShot(0, [&warning] { AnswerMessageBox(QMessageBox::Ok, &warning); });
        QVERIFY(app.InitInstance({QStringLiteral("velmora")}));
        QTRY_VERIFY(!warning.isEmpty());
        QVERIFY(warning.contains(QStringLiteral("could not be read")));
        QVERIFY(QFile::exists(copy + QStringLiteral(".unreadable")));
        QCOMPARE(CopiesLeft(), 0);
        app.MainFrame().close();
        app.ExitInstance(0);
    }

    void normalExitLeavesNoCopy() {
        CKx7App app;
        QVERIFY(app.InitInstance({QStringLiteral("velmora"), m_portfolio}));
        app.Document().SetPortfolioInformation("Changed", "");
        QTRY_COMPARE_WITH_TIMEOUT(CopiesLeft(), 1, 8000);
        AnswerMessageBox(QMessageBox::No);  // do not save the change
        QVERIFY(app.MainFrame().close());
        app.ExitInstance(0);
        QCOMPARE(CopiesLeft(), 0);
    }

private:
    QString RecoveryFolder() const { return m_folder->filePath(QStringLiteral("recovery")); }

    int CopiesLeft() const {
        return static_cast<int>(
            QDir(RecoveryFolder()).entryList({QStringLiteral("*.kx7")}, QDir::Files).size());
    }

    // A copy as a program that ended would have left it; empty bytes mean the demo.
    QString PlantCopy(const QByteArray& bytes, const QString& original) const {
        QDir().mkpath(RecoveryFolder());
        const QString stem = QStringLiteral("%1/%2-%3")
                                 .arg(RecoveryFolder(), QString::fromStdString(HostName()))
                                 .arg(DeadPid());
        QFile copy(stem + QStringLiteral(".kx7"));
        copy.open(QIODevice::WriteOnly);
        if (bytes.isEmpty()) {
            Settings settings;
            CKx7Doc doc(settings);
            BuildDemoPortfolio(doc);
            const std::vector<std::uint8_t> stored = StoreKx7(doc);
            copy.write(reinterpret_cast<const char*>(stored.data()),
                       static_cast<qint64>(stored.size()));
        } else {
            copy.write(bytes);
        }
        QFile note(stem + QStringLiteral(".origin"));
        note.open(QIODevice::WriteOnly);
        note.write(original.toUtf8());
        return copy.fileName();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_portfolio;
};

static const GuiTestRegistration<RecoveryTest> registration("Recovery_test");

#include "Recovery_test.moc"
