#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/app/SettingsFile.h"
#include "support/GuiTestRegistry.h"

class QuoteHostsFileTest final : public QObject {
    Q_OBJECT

private slots:
    void hostsComeFromTheQuoteHostsSection_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("amex");
        QTest::addColumn<QString>("yahoo");
        QTest::addColumn<QString>("nasdaq");

        const QuoteHosts defaults;
        const QString amex = QString::fromStdString(defaults.amex);
        const QString yahoo = QString::fromStdString(defaults.yahoo);
        const QString nasdaq = QString::fromStdString(defaults.nasdaq);
        QTest::newRow("no section")
            << QByteArray("[Settings]\nShowCount=10\n") << amex << yahoo << nasdaq;
        QTest::newRow("all three") << QByteArray(
                                          "[QuoteHosts]\nAMEX=a.test\nYahoo=y.test\n"
                                          "NASDAQ=n.test\n")
                                   << "a.test"
                                   << "y.test"
                                   << "n.test";
        QTest::newRow("with port, others kept")
            << QByteArray("[QuoteHosts]\nYahoo=127.0.0.1:8080\n") << amex << "127.0.0.1:8080"
            << nasdaq;
        QTest::newRow("empty value keeps the default")
            << QByteArray("[QuoteHosts]\nNASDAQ=\nAMEX=  \n") << amex << yahoo << nasdaq;
    }

    void hostsComeFromTheQuoteHostsSection() {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmora.ini"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();

        const QuoteHosts hosts = LoadQuoteHosts(path);

        QTEST(QString::fromStdString(hosts.amex), "amex");
        QTEST(QString::fromStdString(hosts.yahoo), "yahoo");
        QTEST(QString::fromStdString(hosts.nasdaq), "nasdaq");
    }

    void missingFileGivesThePublicHosts() {
        QTemporaryDir dir;
        const QuoteHosts hosts = LoadQuoteHosts(dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(QString::fromStdString(hosts.yahoo), QStringLiteral("quote.yahoo.com"));
    }
};

static const GuiTestRegistration<QuoteHostsFileTest> registration("QuoteHostsFile_test");

#include "QuoteHostsFile_test.moc"
