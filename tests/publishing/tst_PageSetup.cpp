#include "FakeControl.h"
#include "TestEnvironment.h"

#include "platform/Settings.h"
#include "publishing/PageSetupModel.h"
#include "publishing/modEdition.h"

#include <QtTest>

using Stored = QMap<QString, QString>;
using DispId = IControl::DispId;

namespace {

// A4 as the drawing measures it: 11906 x 16838 twips at 56.7 twips per millimetre.
const double kA4Width = 11906 / 56.7;
const double kA4Height = 16838 / 56.7;

void Store(const Stored& stored)
{
    for (auto it = stored.begin(); it != stored.end(); ++it)
        Settings::SaveSetting("PageSetUp", it.key(), it.value());
}

QString Read(const char* key)
{
    return Settings::GetSetting("PageSetUp", key, "<none>");
}

}  // namespace

// The stored page set-up handed to the print and preview control, and the page set-up dialog's
// values, drawing and OK without its window.
class tst_PageSetup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void applyPageSetup_data();
    void applyPageSetup();

    void defaultsSaved();
    void load_data();
    void load();
    void paperAndOrientation();
    void drag_data();
    void drag();
    void lengthsWrittenWithPoint();
};

void tst_PageSetup::applyPageSetup_data()
{
    QTest::addColumn<Stored>("stored");
    // FooterHeight, HeaderHeight, MarginBottom, MarginTop, MarginLeft, MarginRight, PageWidth,
    // PageHeight
    QTest::addColumn<QList<int>>("lengths");
    QTest::addColumn<QString>("orientation");
    QTest::addColumn<int>("logged");

    const QList<int> defaults{101, 79, 66, 28, 62, 62, 827, 1169};
    QTest::newRow("empty section") << Stored{} << defaults << "portrait" << 0;
    QTest::newRow("worked values") << Stored{{"FooterHeight", "2561"}, {"HeaderHeight", "2000"},
                                             {"MarginBottom", "1671"}, {"MarginTop", "700"},
                                             {"MarginLeft", "1575"},   {"MarginRight", "700"}}
                                   << QList<int>{101, 79, 66, 28, 62, 28, 827, 1169} << "portrait" << 0;
    QTest::newRow("2561.7") << Stored{{"FooterHeight", "2561.7"}} << defaults << "portrait" << 0;
    // 1612.5 reads as 1612 (63.46), not 1613 (63.50).
    QTest::newRow("halves to even") << Stored{{"MarginLeft", "1612.5"}, {"MarginRight", "1612,5"}}
                                    << QList<int>{101, 79, 66, 28, 63, 63, 827, 1169} << "portrait" << 0;
    QTest::newRow("orientation -1") << Stored{{"Orientation", "-1"}} << defaults << "portrait" << 0;
    QTest::newRow("orientation 1") << Stored{{"Orientation", "1"}} << defaults << "portrait" << 0;
    QTest::newRow("orientation 0") << Stored{{"Orientation", "0"}} << QList<int>{101, 79, 66, 28, 62, 62, 1169, 827}
                                   << "landscape" << 0;
    QTest::newRow("orientation not a number") << Stored{{"Orientation", "yes"}} << defaults << "portrait" << 1;
    QTest::newRow("Letter") << Stored{{"Name", "1"}} << QList<int>{101, 79, 66, 28, 62, 62, 850, 1100} << "portrait"
                            << 0;
    QTest::newRow("Executive, 7.25 x 10.5 in")
        << Stored{{"Name", "7"}} << QList<int>{101, 79, 66, 28, 62, 62, 725, 1050} << "portrait" << 0;
    QTest::newRow("JIS B5") << Stored{{"Name", "13"}} << QList<int>{101, 79, 66, 28, 62, 62, 716, 1012} << "portrait"
                            << 0;
    QTest::newRow("DL envelope landscape") << Stored{{"Name", "27"}, {"Orientation", "0"}}
                                           << QList<int>{101, 79, 66, 28, 62, 62, 866, 433} << "landscape" << 0;
    QTest::newRow("unknown paper code") << Stored{{"Name", "999"}} << defaults << "portrait" << 0;
    QTest::newRow("bad values") << Stored{{"Name", "A4"},
                                          {"MarginLeft", "abc"},
                                          {"MarginRight", "-5"},
                                          {"MarginTop", "40000"},
                                          {"MarginBottom", "700"}}
                                << QList<int>{101, 79, 28, 28, 62, 62, 827, 1169} << "portrait" << 4;
}

void tst_PageSetup::applyPageSetup()
{
    QFETCH(Stored, stored);
    QFETCH(QList<int>, lengths);
    QFETCH(QString, orientation);
    QFETCH(int, logged);
    TestEnvironment env;
    Store(stored);
    FakeControl control;
    ApplyPageSetup(control);
    const QList<FakeControl::Call> expected{
        {DispId::FooterHeight, lengths[0]}, {DispId::HeaderHeight, lengths[1]}, {DispId::MarginBottom, lengths[2]},
        {DispId::MarginTop, lengths[3]},    {DispId::MarginLeft, lengths[4]},   {DispId::MarginRight, lengths[5]},
        {DispId::Orientation, orientation}, {DispId::PageWidth, lengths[6]},    {DispId::PageHeight, lengths[7]}};
    QCOMPARE(control.calls, expected);
    QCOMPARE(env.BugLogEntries(), logged);
    if (logged > 0)
        QVERIFY(env.BugLog().contains("Error_ApplyPageSetup : "));
}

void tst_PageSetup::defaultsSaved()
{
    TestEnvironment env;
    PageSetupModel model;
    QCOMPARE(model.mintPaperSize, qint16(9));
    QCOMPARE(model.PaperIndex(), 0);
    QCOMPARE(model.mdblFooterHeight, 25.61);
    QCOMPARE(model.mdblHeaderHeight, 20.0);
    QCOMPARE(model.mdblMarginBottom, 16.71);
    QCOMPARE(model.mdblMarginTop, 7.0);
    QCOMPARE(model.mdblMarginLeft, 15.75);
    QCOMPARE(model.mdblMarginRight, 15.75);
    QVERIFY(model.mblnPortrait);
    QCOMPARE(model.grdPage.place, QRect(840, 480, 3000, 4000));
    QCOMPARE(model.grdPage.colWidth, (std::array<int, 3>{225, 2550, 225}));
    QCOMPARE(model.grdPage.rowHeight, (std::array<int, 5>{94, 269, 3067, 345, 225}));

    model.Save();
    const QStringList written{Read("Name"),      Read("FooterHeight"), Read("HeaderHeight"), Read("MarginBottom"),
                              Read("MarginTop"), Read("MarginLeft"),   Read("MarginRight"),  Read("Orientation")};
    QCOMPARE(written, (QStringList{"9", "2561", "2000", "1671", "700", "1575", "1575", "-1"}));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_PageSetup::load_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<int>("paperIndex");
    QTest::addColumn<double>("footer");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("logged");

    QTest::newRow("2561.7") << Stored{{"FooterHeight", "2561.7"}} << 0 << 25.62 << 15.75 << 15.75 << true << 0;
    QTest::newRow("comma") << Stored{{"MarginLeft", "1574,8"}} << 0 << 25.61 << 15.75 << 15.75 << true << 0;
    QTest::newRow("landscape") << Stored{{"Orientation", "0"}} << 0 << 25.61 << 15.75 << 15.75 << false << 0;
    QTest::newRow("portrait 1") << Stored{{"Orientation", "1"}} << 0 << 25.61 << 15.75 << 15.75 << true << 0;
    QTest::newRow("DL envelope") << Stored{{"Name", "27"}} << 2 << 25.61 << 15.75 << 15.75 << true << 0;
    QTest::newRow("code of no entry") << Stored{{"Name", "8"}} << -1 << 25.61 << 15.75 << 15.75 << true << 0;
    QTest::newRow("one bad key") << Stored{{"MarginLeft", "wide"}, {"MarginRight", "1000"}, {"FooterHeight", "3000"}}
                                 << 0 << 30.0 << 15.75 << 10.0 << true << 1;
    QTest::newRow("too large") << Stored{{"MarginLeft", "32768"}, {"MarginRight", "32767"}} << 0 << 25.61 << 15.75
                               << 327.67 << true << 1;
}

void tst_PageSetup::load()
{
    QFETCH(Stored, stored);
    QFETCH(int, paperIndex);
    QFETCH(double, footer);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(bool, portrait);
    QFETCH(int, logged);
    TestEnvironment env;
    Store(stored);
    PageSetupModel model;
    QCOMPARE(model.PaperIndex(), paperIndex);
    QCOMPARE(model.mdblFooterHeight, footer);
    QCOMPARE(model.mdblMarginLeft, left);
    QCOMPARE(model.mdblMarginRight, right);
    QCOMPARE(model.mblnPortrait, portrait);
    QCOMPARE(model.grdPage.place, portrait ? QRect(840, 480, 3000, 4000) : QRect(480, 840, 4000, 3000));
    QCOMPARE(env.BugLogEntries(), logged);
    if (logged > 0)
        QVERIFY(env.BugLog().contains("Error_LoadPageSetUp: "));

    // OK without changes keeps a paper code of no entry and writes the bad key's default.
    model.Save();
    if (stored.contains("Name"))
        QCOMPARE(Read("Name"), stored.value("Name"));
    if (logged > 0)
        QCOMPARE(Read("MarginLeft"), QString("1575"));
}

// Paper and orientation change the drawing, and nothing else until OK.
void tst_PageSetup::paperAndOrientation()
{
    TestEnvironment env;
    PageSetupModel model;
    model.SetPortrait(false);
    QCOMPARE(model.grdPage.place, QRect(480, 840, 4000, 3000));
    QCOMPARE(model.grdPage.colWidth, (std::array<int, 3>{212, 3576, 212}));
    QCOMPARE(model.grdPage.rowHeight, (std::array<int, 5>{100, 286, 2009, 366, 239}));

    model.SelectPaper(5);  // Letter, 8.5 x 11 in
    QCOMPARE(model.mintPaperSize, qint16(1));
    QCOMPARE(model.PageMillimetres(), QSizeF(15840 / 56.7, 12240 / 56.7));

    // Cancel: the print paths still see the stored paper and orientation.
    FakeControl control;
    ApplyPageSetup(control);
    QCOMPARE(control.PageWidth(), 827);
    QCOMPARE(control.Orientation(), QString("portrait"));

    model.Save();
    control.calls.clear();
    ApplyPageSetup(control);
    QCOMPARE(control.PageWidth(), 1100);
    QCOMPARE(control.PageHeight(), 850);
    QCOMPARE(control.Orientation(), QString("landscape"));
}

void tst_PageSetup::drag_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("size");  // what the user's drag left the row or column at
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("cols");
    // left, right, top, header, footer, bottom margin, in millimetres
    QTest::addColumn<QList<double>>("values");

    const QList<int> rows{94, 269, 3067, 345, 225};
    const QList<int> cols{225, 2550, 225};
    const double w = kA4Width;
    const double h = kA4Height;
    const QList<double> values{15.75, 15.75, 7, 20, 25.61, 16.71};
    const auto with = [&](int index, double value) {
        QList<double> changed = values;
        changed[index] = value;
        return changed;
    };

    QTest::newRow("left to 40 %") << -1 << 0 << 1200 << rows << QList<int>{900, 1875, 225} << with(0, 0.3 * w);
    QTest::newRow("left to 1 %") << -1 << 0 << 30 << rows << QList<int>{60, 2715, 225} << with(0, 0.02 * w);
    QTest::newRow("left within") << -1 << 0 << 300 << rows << QList<int>{300, 2475, 225} << with(0, 0.1 * w);
    QTest::newRow("right to 40 %") << -1 << 1 << 1575 << rows << QList<int>{225, 1875, 900} << with(1, 0.3 * w);
    QTest::newRow("right to 1 %") << -1 << 1 << 2745 << rows << QList<int>{225, 2715, 60} << with(1, 0.02 * w);
    QTest::newRow("top to 15 %") << 0 << -1 << 600 << QList<int>{400, 269, 2761, 345, 225} << cols << with(2, 0.1 * h);
    QTest::newRow("top to 1 %") << 0 << -1 << 40 << QList<int>{80, 269, 3081, 345, 225} << cols << with(2, 0.02 * h);
    QTest::newRow("header to 40 %") << 1 << -1 << 1600 << QList<int>{94, 1200, 2136, 345, 225} << cols
                                    << with(3, 0.3 * h);
    QTest::newRow("header to 1 %") << 1 << -1 << 40 << QList<int>{94, 80, 3256, 345, 225} << cols << with(3, 0.02 * h);
    QTest::newRow("body smaller") << 2 << -1 << 2767 << QList<int>{94, 269, 2767, 645, 225} << cols
                                  << with(4, 645 * h / 4000);
    QTest::newRow("body smaller past 30 %")
        << 2 << -1 << 2067 << QList<int>{94, 269, 2067, 1200, 370} << cols << with(4, 0.3 * h);
    QTest::newRow("body larger") << 2 << -1 << 3267 << QList<int>{94, 269, 3267, 145, 225} << cols
                                 << with(4, 145 * h / 4000);
    QTest::newRow("body larger past 2 %")
        << 2 << -1 << 3467 << QList<int>{94, 269, 3332, 80, 225} << cols << with(4, 0.02 * h);
    QTest::newRow("bottom margin") << 3 << -1 << 445 << QList<int>{94, 269, 3067, 445, 125} << cols
                                   << with(5, 125 * h / 4000);
    // The footer stops at the bottom edge: a negative margin could not be stored.
    QTest::newRow("footer past the edge") << 3 << -1 << 700 << QList<int>{94, 269, 3067, 570, 0} << cols << with(5, 0);
    QTest::newRow("right margin column") << -1 << 2 << 500 << rows << QList<int>{225, 2550, 500} << values;
    QTest::newRow("bottom margin row") << 4 << -1 << 500 << QList<int>{94, 269, 3067, 345, 500} << cols << values;
}

void tst_PageSetup::drag()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, size);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, cols);
    QFETCH(QList<double>, values);
    TestEnvironment env;
    PageSetupModel model;
    if (row >= 0)
        model.grdPage.rowHeight[row] = size;
    else
        model.grdPage.colWidth[col] = size;
    model.grdPage_AfterUserResize(row, col);
    QCOMPARE(QList<int>(model.grdPage.rowHeight.begin(), model.grdPage.rowHeight.end()), rows);
    QCOMPARE(QList<int>(model.grdPage.colWidth.begin(), model.grdPage.colWidth.end()), cols);
    const QList<double> read{model.mdblMarginLeft,   model.mdblMarginRight,  model.mdblMarginTop,
                             model.mdblHeaderHeight, model.mdblFooterHeight, model.mdblMarginBottom};
    for (int k = 0; k < values.size(); ++k)
        QVERIFY2(std::abs(read[k] - values[k]) < 1e-9, qPrintable(QString("%1: %2").arg(k).arg(read[k])));
    QCOMPARE(env.BugLogEntries(), 0);

    // A border the drawing does not have is logged and changes nothing.
    model.grdPage_AfterUserResize(5, -1);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_grdPage_AfterUserResize: "));
}

// Lengths are written with "." whatever the locale, and read back as written.
void tst_PageSetup::lengthsWrittenWithPoint()
{
    TestEnvironment env;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    PageSetupModel model;
    model.grdPage.colWidth[0] = 30;
    model.grdPage_AfterUserResize(-1, 0);
    model.Save();
    const QString written = Read("MarginLeft");
    QVERIFY2(written.contains('.') && !written.contains(','), qPrintable(written));
    QVERIFY(written.size() <= 16);
    QCOMPARE(written.toDouble(), model.mdblMarginLeft * 100);
    QCOMPARE(Read("MarginRight"), QString("1575"));
}

QTEST_MAIN(tst_PageSetup)
#include "tst_PageSetup.moc"
