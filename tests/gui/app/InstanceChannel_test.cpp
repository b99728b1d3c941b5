#include "app/InstanceChannel.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/Kx7App.h"
#include "mainwindow/MainFrm.h"
#include "model/DemoPortfolio.h"
#include "model/Kx7Doc.h"
#include "model/Kx7File.h"
#include "support/GuiTestRegistry.h"

// The real program, started as a person or the file manager would start it.
class InstanceChannelTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_folder.isValid());
        qputenv("VELMORA_CONFIG", m_folder.filePath(QStringLiteral("velmora.ini")).toLocal8Bit());
    }

    void cleanup() { qunsetenv("VELMORA_CONFIG"); }

    void helpAndVersionNeedNoDisplay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << "--version"
                                 << "Velmora Version 5.1.0.0\n";
        QTest::newRow("short version") << "-v"
                                       << "Velmora Version 5.1.0.0\n";
        QTest::newRow("help") << "--help"
                              << "Usage: velmora [OPTION] [FILE]";
    }

    void helpAndVersionNeedNoDisplay() {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELMORA_PROGRAM_PATH), {option});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(expected),
                 qPrintable(option));
    }

    void secondStartHandsItsFileToTheRunningProgram() {
        const QString path = m_folder.filePath(QStringLiteral("handed.kx7"));
        {
            Settings settings;
            CKx7Doc doc(settings);
            BuildDemoPortfolio(doc);
            QVERIFY(SaveKx7File(doc, path.toStdString()).empty());
        }
        CKx7App running;
        QVERIFY(running.InitInstance({QStringLiteral("velmora")}));
        QCOMPARE(running.MainFrame().windowTitle(), QStringLiteral("Untitled - Velmora"));

        QProcess second;
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.start(QStringLiteral(VELMORA_PROGRAM_PATH), {path});
        // The running program answers from its event loop, so wait without blocking it.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(running.MainFrame().windowTitle(), QStringLiteral("handed.kx7 - Velmora"));
        QCOMPARE(running.Document().OwnerName(), std::string("Pat Example"));
        running.MainFrame().close();
        running.ExitInstance(0);
    }

    void windowKeepsItsSizeBetweenRuns() {
        {
            CKx7App first;
            QVERIFY(first.InitInstance({QStringLiteral("velmora")}));
            first.MainFrame().resize(700, 520);
            QVERIFY(first.MainFrame().close());
            first.ExitInstance(0);
        }
        CKx7App second;
        QVERIFY(second.InitInstance({QStringLiteral("velmora")}));
        QCOMPARE(second.MainFrame().size(), QSize(700, 520));
        second.MainFrame().close();
        second.ExitInstance(0);
    }

    void damagedPlacementIsIgnored() {
        {
            QSettings file(qEnvironmentVariable("VELMORA_CONFIG"), QSettings::IniFormat);
            file.setValue(QStringLiteral("Window/Geometry"), QStringLiteral("!!not base64!!"));
        }
        CKx7App app;
        QVERIFY(app.InitInstance({QStringLiteral("velmora")}));
        QVERIFY(app.MainFrame().width() > 200);
        app.MainFrame().close();
        app.ExitInstance(0);
    }

private:
    QTemporaryDir m_folder;
};

static const GuiTestRegistration<InstanceChannelTest> registration("InstanceChannel_test");

#include "InstanceChannel_test.moc"
