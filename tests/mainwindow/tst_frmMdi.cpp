#include "core/db/AdoConnection.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/MainWindowShell.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"
#include "DayWindow.h"
#include "TestDatabase.h"
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
    const DayWindow days;
    frmMdi window;
    QCOMPARE(window.windowTitle(), QString("Koravel"));
    QCOMPARE(window.Tag, QString("Main Form"));
    QCOMPARE(window.MdiArea()->viewMode(), QMdiArea::TabbedView);
    QCOMPARE(window.PanelText(1), QString("Koravel"));
    QCOMPARE(window.PanelText(3), QString("Current test plan"));
    QCOMPARE(window.PanelText(4), QString("Current test plan item"));
    KORAVEL_COMPARE_DAY_TEXT(days, window.PanelText(5),
                             [](const QDate& day) { return QLocale().toString(day, QLocale::ShortFormat); });
    window.SetPanelText(4, "Procedure 3");
    QCOMPARE(window.PanelText(4), QString("Procedure 3"));
    // Loading the window ends the hourglass that start-up set.
    QVERIFY(!Hourglass::IsSet());
}

void tst_frmMdi::databasePanelFollowsProvider_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<bool>("dsn");  // the panel shows the data source name, not the file
    QTest::newRow("file") << "3" << false;
    QTest::newRow("server") << "2" << false;
    QTest::newRow("odbc") << "5" << true;
}

// The panel names the database once one is open, and nothing while none is: a start-up whose
// database did not open must not look connected.
void tst_frmMdi::databasePanelFollowsProvider()
{
    QFETCH(QString, provider);
    QFETCH(bool, dsn);
    TestEnvironment env;
    Settings::SaveSetting("DataBase", "Provider", provider);
    TestDatabase db(QStringLiteral("sqlite"));
    gConnection().Close();
    gConnection().DataSource = "/data/plans.db";
    gConnection().DSN = "PlansDsn";
    frmMdi window;
    QCOMPARE(window.PanelText(2), QString());
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    QCOMPARE(window.PanelText(2), dsn ? QString("PlansDsn") : db.FilePath());
    // A failed open leaves it empty again.
    gConnection().DataSource = env.Path("missing.db");
    QVERIFY(!gConnection().DataOpen());
    QCOMPARE(window.PanelText(2), QString());
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
