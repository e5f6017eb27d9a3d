#include "kvlBrowser/PageGeometry.h"

#include <QtTest>

namespace {

bool Near(const QRectF& a, const QRectF& b)
{
    const auto near = [](double x, double y) { return std::abs(x - y) < 1e-9; };
    return near(a.left(), b.left()) && near(a.top(), b.top()) && near(a.width(), b.width()) &&
           near(a.height(), b.height());
}

QString Text(const QRectF& r)
{
    return QString("(%1, %2) %3 x %4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

}  // namespace

// Where a printed page puts the content, the header and the footer.
class tst_PageGeometry : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
};

void tst_PageGeometry::geometry_data()
{
    QTest::addColumn<QString>("orientation");
    QTest::addColumn<QList<int>>("page");     // width, height
    QTest::addColumn<QList<int>>("lengths");  // left, right, top, bottom, header height, footer height
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<QMarginsF>("printer");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QRectF>("content");
    QTest::addColumn<QRectF>("headerBand");
    QTest::addColumn<QRectF>("footerBand");

    const QList<int> letter{850, 1100};
    const QList<int> fifties{50, 50, 50, 50, 30, 30};
    const QRectF headerBand(0.5, 0.5, 7.5, 0.3);
    const QRectF footerBand(0.5, 10.2, 7.5, 0.3);
    QTest::newRow("margins 50 and bands 30")
        << "portrait" << letter << fifties << "H"
        << "F" << QMarginsF() << true << QRectF(0.5, 0.8, 7.5, 9.4) << headerBand << footerBand;
    QTest::newRow("printer margins larger")
        << "portrait" << letter << fifties << "H"
        << "F" << QMarginsF(0.1, 1, 0.1, 1.25) << true << QRectF(0.5, 1, 7.5, 8.75) << headerBand << footerBand;
    QTest::newRow("no header or footer: the printer's margins")
        << "portrait" << letter << fifties << ""
        << "" << QMarginsF(0, 0.25, 0, 0.2) << true << QRectF(0.5, 0.25, 7.5, 10.55) << headerBand << footerBand;
    QTest::newRow("header only") << "portrait" << letter << fifties << "H"
                                 << "" << QMarginsF() << true << QRectF(0.5, 0.8, 7.5, 10.2) << headerBand
                                 << footerBand;
    QTest::newRow("landscape A4 as the page set-up gives it")
        << "landscape" << QList<int>{1169, 827} << QList<int>{62, 62, 28, 66, 79, 101} << "H"
        << "F" << QMarginsF() << true << QRectF(0.62, 1.07, 10.45, 5.53) << QRectF(0.62, 0.28, 10.45, 0.79)
        << QRectF(0.62, 6.6, 10.45, 1.01);
    QTest::newRow("margins leave no width") << "portrait" << letter << QList<int>{425, 425, 50, 50, 30, 30} << "H"
                                            << "F" << QMarginsF() << false << QRectF() << QRectF() << QRectF();
    QTest::newRow("bands leave no height") << "portrait" << letter << QList<int>{50, 50, 500, 500, 50, 50} << "H"
                                           << "F" << QMarginsF() << false << QRectF() << QRectF() << QRectF();
    QTest::newRow("no sheet") << "portrait" << QList<int>{0, 0} << fifties << "H"
                              << "F" << QMarginsF() << false << QRectF() << QRectF() << QRectF();
    QTest::newRow("negative margin") << "portrait" << letter << QList<int>{-50, 50, 50, 50, 30, 30} << "H"
                                     << "F" << QMarginsF() << false << QRectF() << QRectF() << QRectF();
}

void tst_PageGeometry::geometry()
{
    QFETCH(QString, orientation);
    QFETCH(QList<int>, page);
    QFETCH(QList<int>, lengths);
    QFETCH(QString, header);
    QFETCH(QString, footer);
    QFETCH(QMarginsF, printer);
    QFETCH(bool, valid);
    QFETCH(QRectF, content);
    QFETCH(QRectF, headerBand);
    QFETCH(QRectF, footerBand);

    PrintTemplateValues values;
    values.Orientation = orientation;
    values.PageWidth = page[0];
    values.PageHeight = page[1];
    values.MarginLeft = lengths[0];
    values.MarginRight = lengths[1];
    values.MarginTop = lengths[2];
    values.MarginBottom = lengths[3];
    values.HeaderHeight = lengths[4];
    values.FooterHeight = lengths[5];
    values.header = header;
    values.footer = footer;
    const PageGeometry geometry(values, printer);
    QCOMPARE(geometry.IsValid(), valid);
    if (!valid) {
        QVERIFY(!geometry.Layout().isValid());
        return;
    }
    QVERIFY2(Near(geometry.Content(), content), qPrintable(Text(geometry.Content())));
    QVERIFY2(Near(geometry.HeaderBand(), headerBand), qPrintable(Text(geometry.HeaderBand())));
    QVERIFY2(Near(geometry.FooterBand(), footerBand), qPrintable(Text(geometry.FooterBand())));

    // The sheet lies as wide and high as given, turned once by the orientation, not twice.
    const QPageLayout layout = geometry.Layout();
    QVERIFY(layout.isValid());
    QCOMPARE(layout.orientation(), orientation == "landscape" ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QRectF full = layout.fullRect(QPageLayout::Inch);
    QVERIFY2(Near(full, QRectF(0, 0, page[0] / 100.0, page[1] / 100.0)), qPrintable(Text(full)));
    QVERIFY2(Near(layout.paintRect(QPageLayout::Inch), content), qPrintable(Text(layout.paintRect(QPageLayout::Inch))));
}

QTEST_GUILESS_MAIN(tst_PageGeometry)
#include "tst_PageGeometry.moc"
