#include "desktop/app/SettingsFile.h"

#include <sys/stat.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/app/RecentFileList.h"
#include "support/GuiTestRegistry.h"

class SettingsFileTest final : public QObject {
    Q_OBJECT

private slots:
    void firstRunWritesTheDefaultTexts() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/velmora.ini"));
        const Settings settings = LoadSettingsFile(path);
        QVERIFY(SaveSettingsFile(path, settings));

        QSettings written(path, QSettings::IniFormat);
        QCOMPARE(written.value("Settings/DateFormat").toString(), QStringLiteral("DMY"));
        QCOMPARE(written.value("Settings/ShowCount").toString(), QStringLiteral("20"));
        QCOMPARE(written.value("Settings/ShowBy").toString(), QStringLiteral("Percent"));
        QCOMPARE(written.value("Settings/SeperateO").toString(), QStringLiteral("TRUE"));
        QCOMPARE(written.value("Settings/WebSource").toString(), QStringLiteral("1"));
        QCOMPARE(written.value("AutoUpdate/Enabled").toString(), QStringLiteral("FFALSE"));
        QCOMPARE(written.value("AutoUpdate/Timer").toString(), QStringLiteral("3"));
    }

    void storedValuesAreReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        writeFile(path,
                  "[Settings]\nDateFormat=MDY\nShowCount=12\nShowBy=Symbol\nSeperateO=FALSE\n"
                  "WebSource=2\n[AutoUpdate]\nEnabled=TRUE\nTimer=1\n");
        const Settings settings = LoadSettingsFile(path);
        QVERIFY(!settings.dateMonthFirst);
        QCOMPARE(settings.pieRecordCount, 12);
        QCOMPARE(settings.pieGrouping, PieGrouping::kBySymbol);
        QVERIFY(!settings.ungroupOptions);
        QCOMPARE(settings.quoteSource, QuoteServer::kYahoo);
        QVERIFY(settings.autoUpdate);
        QCOMPARE(settings.updateInterval, 1);
    }

    void damagedFileGivesTheDefaults() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        writeFile(path, QByteArray("\x00\xff\xfe[Settings\nShowCount=1,2,3\n=\n[[[\n", 33));
        const Settings settings = LoadSettingsFile(path);
        QCOMPARE(settings.pieRecordCount, 20);
        QVERIFY(settings.dateMonthFirst);
        QCOMPARE(settings.updateInterval, 3);
    }

    void unwritableLocationIsReported() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("file")), "x");
        QVERIFY(!SaveSettingsFile(dir.filePath(QStringLiteral("file/velmora.ini")), Settings{}));
    }

    // A FIFO would hold every reader and writer, and a huge file would cost its size many
    // times over: neither is read or written, and the defaults are used.
    void specialOrHugeFileIsRefusedAndLeftAlone_data() {
        QTest::addColumn<bool>("fifo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo") << true << QStringLiteral("not a regular file");
        QTest::newRow("huge") << false << QStringLiteral("too large");
    }

    void specialOrHugeFileIsRefusedAndLeftAlone() {
        QFETCH(bool, fifo);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        QByteArray huge = "[Settings]\nShowCount=12\n";
        huge.append(QByteArray(static_cast<qsizetype>(kSettingsSizeLimit), ';'));
        if (fifo) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            writeFile(path, huge);
        }
        QElapsedTimer timer;
        timer.start();
        QVERIFY(QString::fromStdString(SettingsFileRefusal(path)).contains(reason));
        QCOMPARE(LoadSettingsFile(path).pieRecordCount, 20);
        QCOMPARE(LoadQuoteHosts(path).yahoo, QuoteHosts{}.yahoo);
        CRecentFileList recent;
        recent.Load(path);
        QVERIFY(recent.IsEmpty());
        recent.Add(dir.filePath(QStringLiteral("a.kx7")));
        QVERIFY(!recent.Save(path));
        QVERIFY(!SaveSettingsFile(path, Settings{}));
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(QFileInfo(path).isFile(), !fifo);
        if (!fifo) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == huge);
        }
        QVERIFY(SettingsFileRefusal(dir.filePath(QStringLiteral("missing.ini"))).empty());
    }

    void environmentNamesTheFile() {
        qputenv("VELMORA_CONFIG", "/tmp/velmora-test-config.ini");
        QCOMPARE(SettingsFilePath(), QStringLiteral("/tmp/velmora-test-config.ini"));
        qunsetenv("VELMORA_CONFIG");
        QVERIFY(SettingsFilePath().endsWith(QStringLiteral("velmora/velmora.ini")));
    }

    // A user's source goes to quote-sources.json beside the settings and comes back whole;
    // both files are for their owner alone, since a header may hold an API key. A user who
    // never chose gets the ready-made chain and no such file.
    void quoteSourcesLiveBesideTheSettings() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        const QString sources = QuoteSourcesFilePath(path);
        Settings settings = LoadSettingsFile(path);
        QCOMPARE(settings.quoteChain, DefaultQuoteChain());
        QVERIFY(SaveSettingsFile(path, settings));
        QVERIFY(!QFileInfo::exists(sources));

        QuoteSource mine;
        mine.name = "Mine";
        mine.url = "https://example.com/q?s={symbol}";
        mine.fields.price = "/price";
        mine.headers = {{"X-Api-Key", "secret"}};
        settings.quoteSources = {mine};
        settings.quoteChain = {"Mine", "Stooq (CSV)"};
        QVERIFY(SaveSettingsFile(path, settings));

        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOther;
        for (const QString& file : {path, sources}) {
            const QFileDevice::Permissions permissions = QFile::permissions(file);
            QVERIFY(permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QVERIFY(!(permissions & others));
        }
        const Settings read = LoadSettingsFile(path);
        QCOMPARE(read.quoteSources, settings.quoteSources);
        QCOMPARE(read.quoteChain, settings.quoteChain);
    }

    // A damaged sources file leaves out what cannot be used, says why, and keeps the
    // user's text beside it before anything is written over it.
    void damagedQuoteSourcesAreKeptAndNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        const QByteArray text =
            "{\"chain\": [\"Good\"], \"sources\": [{\"name\": \"Good\", \"url\": "
            "\"https://a/{symbol}\", \"fields\": {\"price\": \"/p\"}}, {\"name\": \"Bad\", "
            "\"url\": \"https://a/\"}]}";
        writeFile(QuoteSourcesFilePath(path), text);
        std::vector<std::string> problems;
        const Settings settings = LoadSettingsFile(path, &problems);
        QCOMPARE(settings.quoteSources.size(), std::size_t{1});
        QCOMPARE(settings.quoteChain, std::vector<std::string>{"Good"});
        QCOMPARE(problems.size(), std::size_t{2});
        QVERIFY(QString::fromStdString(problems[0]).contains(QStringLiteral("\"Bad\"")));
        QFile kept(QuoteSourcesFilePath(path) + QStringLiteral(".bak"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), text);
    }

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

static const GuiTestRegistration<SettingsFileTest> registration("SettingsFile_test");

#include "SettingsFile_test.moc"
