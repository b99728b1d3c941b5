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

// Puts an environment variable back as it was when the scope ends.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name)
        : m_name(name), m_value(qgetenv(name)), m_set(qEnvironmentVariableIsSet(name)) {}
    ~ScopedEnvironment() {
        if (m_set) {
            qputenv(m_name, m_value);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    QByteArray m_value;
    bool m_set;
};

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

    // A program started on another display, or with another settings file, keeps to
    // itself; the same user, display and settings find the running program.
    void channelIsKeyedByDisplayAndSettings() {
        const ScopedEnvironment instance("VELMORA_INSTANCE");
        const ScopedEnvironment x11("DISPLAY");
        const ScopedEnvironment wayland("WAYLAND_DISPLAY");
        qunsetenv("VELMORA_INSTANCE");
        const QString settings = m_folder.filePath(QStringLiteral("velmora.ini"));
        const auto nameOn = [&](const char* display, const char* waylandName, const QString& ini) {
            qputenv("DISPLAY", display);
            qputenv("WAYLAND_DISPLAY", waylandName);
            return CInstanceChannel::DefaultName(ini);
        };
        const QString mine = nameOn(":0", "", settings);
        QCOMPARE(nameOn(":0", "", settings), mine);
        QVERIFY(nameOn(":1", "", settings) != mine);
        QVERIFY(nameOn(":0", "wayland-0", settings) != mine);
        QVERIFY(nameOn(":0", "", m_folder.filePath(QStringLiteral("other.ini"))) != mine);
        QVERIFY(mine.size() < 40);
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
