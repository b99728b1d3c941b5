#include "desktop/app/InstanceChannel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "desktop/app/Kx7App.h"
#include "desktop/mainwindow/MainFrm.h"
#include "support/GuiTestRegistry.h"

namespace {

// Listens on `path` as the user `uid` in a child process and answers one request as the
// program would; the child's id, or -1 when it could not listen there.
pid_t ListenAsOtherUser(const QByteArray& path, uid_t uid) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only system calls from here: the test's threads did not come along.
        ::close(ready[0]);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(),
                    std::min(sizeof address.sun_path - 1, static_cast<std::size_t>(path.size())));
        const char listening =
            ::setgid(uid) == 0 && ::setuid(uid) == 0 &&
            ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(server, 1) == 0;
        static_cast<void>(::write(ready[1], &listening, 1));
        if (listening) {
            const int client = ::accept(server, nullptr, nullptr);
            char request[4096];
            if (::read(client, request, sizeof request) > 0) {
                static_cast<void>(::write(client, "ok\n", 3));
            }
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    char listening = 0;
    if (child < 0 || ::read(ready[0], &listening, 1) != 1 || listening == 0) {
        if (child > 0) {
            ::waitpid(child, nullptr, 0);
        }
        ::close(ready[0]);
        return -1;
    }
    ::close(ready[0]);
    return child;
}

}  // namespace

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

    // The channel's name can be worked out by anyone, so another user may listen on it
    // first: the path of a file is not handed to that user's program.
    void noFileIsHandedToAnotherUsersProgram() {
        if (::geteuid() != 0) {
            QSKIP("taking another user's part needs the superuser");
        }
        const QString name = QStringLiteral("velmora-test-stranger-%1").arg(::getpid());
        const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
        QFile::remove(QString::fromLocal8Bit(path));
        const pid_t stranger = ListenAsOtherUser(path, 65534);
        if (stranger < 0) {
            QSKIP("no other user could listen in the temporary folder");
        }
        const bool handed =
            CInstanceChannel::SendToRunning(name, m_folder.filePath(QStringLiteral("private.kx7")));
        ::kill(stranger, SIGKILL);
        ::waitpid(stranger, nullptr, 0);
        QFile::remove(QString::fromLocal8Bit(path));
        QVERIFY(!handed);
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
        QCOMPARE(running.MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Velmora"));

        QProcess second;
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.start(QStringLiteral(VELMORA_PROGRAM_PATH), {path});
        // The running program answers from its event loop, so wait without blocking it.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(running.MainFrame().windowTitle(), QStringLiteral("handed.kx7[*] - Velmora"));
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
