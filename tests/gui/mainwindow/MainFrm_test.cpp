#include "mainwindow/MainFrm.h"

#include <QTest>

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "support/GuiTestRegistry.h"

class MainFrmTest final : public QObject {
    Q_OBJECT

private slots:
    void titleNamesTheDocument() {
        Settings settings;
        CKx7Doc doc(settings);
        CMainFrame frame(doc);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Untitled - Velmora"));

        doc.SetPathName("/tmp/retire.kx7");
        frame.UpdateTitle();
        QCOMPARE(frame.windowTitle(), QStringLiteral("retire.kx7 - Velmora"));
        QVERIFY(frame.close());
    }
};

static const GuiTestRegistration<MainFrmTest> registration("MainFrm_test");

#include "MainFrm_test.moc"
