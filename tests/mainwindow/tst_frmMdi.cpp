#include "core/db/AdoConnection.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/MainWindowShell.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"
#include "TestEnvironment.h"

#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QtTest>

class tst_frmMdi : public QObject
{
    Q_OBJECT

private slots:
    void shellHasCaptionTagTabsAndPanels();
    void databasePanelFollowsProvider_data();
    void databasePanelFollowsProvider();
    void shellShowsOneWindowAndUnloadsIt();
    void panelsShowMarkupAsText();
};

void tst_frmMdi::shellHasCaptionTagTabsAndPanels()
{
    TestEnvironment env;
    Hourglass::Set();
    frmMdi window;
    QCOMPARE(window.windowTitle(), QString("Koravel"));
    QCOMPARE(window.Tag, QString("Main Form"));
    QCOMPARE(window.MdiArea()->viewMode(), QMdiArea::TabbedView);
    QCOMPARE(window.PanelText(1), QString("Koravel"));
    QCOMPARE(window.PanelText(3), QString("Current test plan"));
    QCOMPARE(window.PanelText(4), QString("Current test plan item"));
    QCOMPARE(window.PanelText(5), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    window.SetPanelText(4, "Procedure 3");
    QCOMPARE(window.PanelText(4), QString("Procedure 3"));
    // Loading the window ends the hourglass that start-up set.
    QVERIFY(!Hourglass::IsSet());
}

void tst_frmMdi::databasePanelFollowsProvider_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("panel");
    QTest::newRow("file") << "3"
                          << "/data/plans.db";
    QTest::newRow("server") << "2"
                            << "/data/plans.db";
    QTest::newRow("odbc") << "5"
                          << "PlansDsn";
    QTest::newRow("other") << "4"
                           << "Current database";
}

void tst_frmMdi::databasePanelFollowsProvider()
{
    QFETCH(QString, provider);
    QFETCH(QString, panel);
    TestEnvironment env;
    Settings::SaveSetting("DataBase", "Provider", provider);
    gConnection().DataSource = "/data/plans.db";
    gConnection().DSN = "PlansDsn";
    frmMdi window;
    QCOMPARE(window.PanelText(2), panel);
}

void tst_frmMdi::shellShowsOneWindowAndUnloadsIt()
{
    TestEnvironment env;
    MainWindowShell shell;
    QVERIFY(!shell.IsMainWindowShown());
    shell.ShowMainWindow();
    frmMdi* first = shell.MainWindow();
    shell.ShowMainWindow();
    QCOMPARE(shell.MainWindow(), first);
    QVERIFY(shell.IsMainWindowShown());
    QPointer<frmMdi> watch(first);
    shell.UnloadWindows();
    QVERIFY(!shell.IsMainWindowShown());
    QTRY_VERIFY(watch.isNull());
}

void tst_frmMdi::panelsShowMarkupAsText()
{
    TestEnvironment env;
    frmMdi window;
    const QString path = "/data/<b>plans</b>.db";
    window.SetPanelText(2, path);
    const QList<QLabel*> panels = window.sbStatusBar()->findChildren<QLabel*>();
    QCOMPARE(panels.size(), 5);
    for (const QLabel* panel : panels)
        QCOMPARE(panel->textFormat(), Qt::PlainText);
    QCOMPARE(window.PanelText(2), path);
}

QTEST_MAIN(tst_frmMdi)
#include "tst_frmMdi.moc"
