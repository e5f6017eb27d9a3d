#include "core/MainToolbars.h"
#include "platform/Settings.h"
#include "publishing/modEdition.h"
#include "TestEnvironment.h"

#include <QFontDatabase>
#include <QSignalSpy>
#include <QtTest>

class tst_FontLists : public QObject
{
    Q_OBJECT

private slots:
    void init() { gMainToolbars() = MainToolbars(); }

    void defaultsWithoutSavedValues()
    {
        TestEnvironment env;
        QSignalSpy changed(&gMainToolbarsNotifier(), &MainToolbarsNotifier::Changed);
        LoadFontLists();
        const MainToolbars& bars = gMainToolbars();
        // The placeholders are replaced, not added to: position i still means editor size i + 1.
        QCOMPARE(bars.cboFontSize.Items(), QStringList({"8", "10", "12", "14", "18", "24", "36"}));
        QCOMPARE(bars.cboFontSize.Text(), QString("10"));
        QCOMPARE(bars.cboFontSize.ListIndex(), 1);
        QCOMPARE(bars.cboFontName.Text(), QString("Arial"));
        QCOMPARE(changed.count(), 1);
    }

    void installedFamiliesInAlphabeticalOrder()
    {
        TestEnvironment env;
        LoadFontLists();
        QStringList expected = QFontDatabase::families();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(gFontNames.size(), expected.size());
        for (int i = 1; i < gFontNames.size(); ++i)
            QVERIFY2(QString::compare(gFontNames[i - 1], gFontNames[i], Qt::CaseInsensitive) <= 0,
                     qPrintable(gFontNames[i - 1] + " / " + gFontNames[i]));
        QCOMPARE(gMainToolbars().cboFontName.Items(), gFontNames);
        expected.sort(Qt::CaseInsensitive);
        QStringList names = gFontNames;
        names.sort(Qt::CaseInsensitive);
        QCOMPARE(names, expected);
    }

    void savedFontAndSizeAreShown()
    {
        TestEnvironment env;
        LoadFontLists();
        const QString family = gFontNames.last();
        Settings::SaveSetting("Settings", "FontName", family);
        Settings::SaveSetting("Settings", "FontSize", "24");
        LoadFontLists();
        const MainToolbars& bars = gMainToolbars();
        QCOMPARE(bars.cboFontName.Text(), family);
        QCOMPARE(bars.cboFontName.ListIndex(), static_cast<int>(gFontNames.size() - 1));
        QCOMPARE(bars.cboFontSize.ListIndex(), 5);
        // Loading again does not add the sizes twice.
        QCOMPARE(bars.cboFontSize.Items().size(), 7);
    }
};

QTEST_MAIN(tst_FontLists)
#include "tst_FontLists.moc"
