#include "desktop/app/Kx7App.h"

#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "core/model/Kx7Doc.h"
#include "desktop/app/AboutDlg.h"
#include "desktop/mainwindow/MainFrm.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

class Kx7AppTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_folder.isValid());
        m_config = m_folder.filePath(QStringLiteral("velmora.ini"));
        QFile::remove(m_config);
        qputenv("VELMORA_CONFIG", m_config.toLocal8Bit());
    }

    void cleanup() { qunsetenv("VELMORA_CONFIG"); }

    void settingsAndRecentFilesAreWrittenAtExit() {
        {
            QSettings file(m_config, QSettings::IniFormat);
            file.setValue(QStringLiteral("Settings/ShowCount"), QStringLiteral("7"));
            file.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/tmp/a.kx7"));
        }
        CKx7App app;
        QVERIFY(app.InitInstance({QStringLiteral("velmora")}));
        QCOMPARE(app.AppSettings().pieRecordCount, 7);
        QCOMPARE(app.RecentFiles().Entries(), QStringList{QStringLiteral("/tmp/a.kx7")});
        QVERIFY(app.MainFrame().isVisible());
        QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
        app.AppSettings().autoUpdate = true;
        app.RecentFiles().Add(QStringLiteral("/tmp/b.kx7"));
        QVERIFY(app.MainFrame().close());
        QCOMPARE(app.ExitInstance(0), 0);

        const QSettings written(m_config, QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("AutoUpdate/Enabled")).toString(),
                 QStringLiteral("TRUE"));
        QCOMPARE(written.value(QStringLiteral("Settings/ShowCount")).toString(),
                 QStringLiteral("7"));
        QCOMPARE(written.value(QStringLiteral("Settings/DateFormat")).toString(),
                 QStringLiteral("DMY"));
        QCOMPARE(written.value(QStringLiteral("Recent File List/File1")).toString(),
                 QStringLiteral("/tmp/b.kx7"));
        QCOMPARE(written.value(QStringLiteral("Recent File List/File2")).toString(),
                 QStringLiteral("/tmp/a.kx7"));
    }

    void fileThatCannotBeOpenedLeavesAnEmptyPortfolio() {
        CKx7App app;
        QString message;
        AnswerMessageBox(QMessageBox::Ok, &message);
        QVERIFY(app.InitInstance({QStringLiteral("velmora"), m_folder.filePath("missing.kx7")}));
        QVERIFY(!message.isEmpty());
        QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
        QVERIFY(app.MainFrame().isVisible());
        app.MainFrame().close();
        app.ExitInstance(0);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("error");
        QTest::newRow("nothing") << QStringList{"velmora"} << "" << false << false;
        QTest::newRow("file") << QStringList{"velmora", "a.kx7"} << "a.kx7" << false << false;
        QTest::newRow("print") << QStringList{"velmora", "--print", "a.kx7"} << "a.kx7" << true
                               << false;
        QTest::newRow("print without file")
            << QStringList{"velmora", "--print"} << "" << true << true;
        QTest::newRow("two files")
            << QStringList{"velmora", "a.kx7", "b.kx7"} << "a.kx7" << false << true;
        QTest::newRow("unknown option")
            << QStringList{"velmora", "--frobnicate"} << "" << false << true;
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, print);
        QFETCH(bool, error);
        const CKx7App::CommandLine line = CKx7App::ParseCommandLine(arguments);
        QCOMPARE(!line.error.isEmpty(), error);
        if (!error) {
            QCOMPARE(line.file, file);
            QCOMPARE(line.print, print);
        }
    }

    void aboutBoxShowsNameAndVersion() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Velmora"));
        auto* version = about.findChild<QLineEdit*>(QStringLiteral("version"));
        QVERIFY(version != nullptr);
        QVERIFY(version->isReadOnly());
        QCOMPARE(version->text(), QStringLiteral("Velmora Version 5.1.0.0"));
        auto* purpose = about.findChild<QLabel*>(QStringLiteral("purpose"));
        QCOMPARE(purpose->text(), QStringLiteral("This program can help you track purchase and "
                                                 "sales for your stock transactions."));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(about.grab().save(ScreenshotFolder() + QStringLiteral("/about.png")));
        QTest::keyClick(&about, Qt::Key_Return);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

private:
    QTemporaryDir m_folder;
    QString m_config;
};

static const GuiTestRegistration<Kx7AppTest> registration("Kx7App_test");

#include "Kx7App_test.moc"
