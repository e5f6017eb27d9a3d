#include "publishing/HtmlColor.h"
#include "TestEnvironment.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

#include <cstdint>

namespace {

// The value a caller holds for system colour `index`: a negative 32-bit number.
long SystemColour(int index)
{
    return static_cast<std::int32_t>(0x80000000u | static_cast<std::uint32_t>(index));
}

}  // namespace

// Colour values to "#RRGGBB": byte order, system colours through the palette, and values that
// cannot be written answering "" with one log entry instead of raising.
class tst_HtmlColor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Colours no default palette has, so that a system colour is seen to come from the palette.
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
        palette.setColor(QPalette::Active, QPalette::Highlight, QColor(0xA1, 0xB2, 0xC3));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x0D, 0x0E, 0x0F));
        palette.setColor(QPalette::Active, QPalette::Text, QColor(0x70, 0x71, 0x72));
        QGuiApplication::setPalette(palette);
    }

    void colours_data()
    {
        QTest::addColumn<long>("value");
        QTest::addColumn<QString>("html");  // "" for a value that cannot be written

        QTest::newRow("red") << 0xFFL << "#FF0000";
        QTest::newRow("blue") << 0xFF0000L << "#0000FF";
        QTest::newRow("black") << 0L << "#000000";
        QTest::newRow("orange") << 0x80FFL << "#FF8000";
        QTest::newRow("bytes reversed") << 0xABCDEFL << "#EFCDAB";
        QTest::newRow("white") << 0xFFFFFFL << "#FFFFFF";
        QTest::newRow("system window") << SystemColour(5) << "#123456";
        QTest::newRow("system highlight") << SystemColour(13) << "#A1B2C3";
        QTest::newRow("system grey text") << SystemColour(17) << "#0D0E0F";
        QTest::newRow("system unsigned") << 0x80000005L << "#123456";
        QTest::newRow("minus one") << -1L << "";
        QTest::newRow("above white") << 0x1000000L << "";
        QTest::newRow("no system colour 25") << SystemColour(25) << "";
        QTest::newRow("system index too high") << SystemColour(31) << "";
        QTest::newRow("past the system range") << static_cast<long>(static_cast<std::int32_t>(0x90000000u)) << "";
    }

    void colours()
    {
        QFETCH(long, value);
        QFETCH(QString, html);
        TestEnvironment env;
        const int errors = html.isEmpty() ? 1 : 0;

        QCOMPARE(ColorToHtml(value), html);
        QCOMPARE(env.BugLogEntries(), errors);
        if (errors)
            QVERIFY2(env.BugLog().contains("Error_ColorToHtml : "), qPrintable(env.BugLog()));
        env.ClearBugLog();

        QCOMPARE(HtmlColor(value, false), html);
        QCOMPARE(HtmlColor(value, true), html.isEmpty() ? QString() : '"' + html + '"');
        QCOMPARE(env.BugLogEntries(), 2 * errors);
        if (errors)
            QVERIFY2(env.BugLog().contains("Error_HtmlColor : "), qPrintable(env.BugLog()));
    }

    // Every listed index resolves while the palette changes under it.
    void systemColoursFollowThePalette()
    {
        TestEnvironment env;
        const QPalette saved = QGuiApplication::palette();
        QPalette palette = saved;
        palette.setColor(QPalette::Active, QPalette::Base, QColor(0x01, 0x02, 0x03));
        QGuiApplication::setPalette(palette);
        QCOMPARE(HtmlColor(SystemColour(5), false), QString("#010203"));
        QGuiApplication::setPalette(saved);
        for (int index = 0; index <= 30; ++index) {
            if (index != 25)
                QVERIFY2(ColorToHtml(SystemColour(index)).size() == 7, qPrintable(QString::number(index)));
        }
        QCOMPARE(env.BugLogEntries(), 0);
    }
};

QTEST_MAIN(tst_HtmlColor)
#include "tst_HtmlColor.moc"
