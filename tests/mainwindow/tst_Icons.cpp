// The compiled-in icons (resources/icons): every key of the menu image list, every toolbar button
// and every item kind has its picture at the expected resource path and size, and the resource
// holds nothing else. The test links kvl_icons and never calls Q_INIT_RESOURCE: the library's
// resource registers itself.

#include <QDirIterator>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>

namespace {

// The menu image list, in its order.
const QStringList kMenuKeys = {
    "START",       "PRINTSETUP",     "OPEN",        "CONNECT",    "PRINT",       "UNDO",           "REDO",
    "CUT",         "COPY",           "PASTE",       "HYPERLINK",  "FIND",        "PROPERTIES",     "NUMBER",
    "BULLET",      "FONT",           "BACKGROUND",  "OUTDENT",    "INDENT",      "HTMLSAVE",       "WORD",
    "PREVIEW",     "TESTPLANSEARCH", "DELETE",      "DELETEROW",  "DELETECOL",   "DELETECELL",     "MERGECELL",
    "SPLITCELL",   "INSERTROW",      "INSERTCOL",   "INSERTCELL", "HTMLCODE",    "PROGRESSREPORT", "DATABASEREPAIR",
    "EDIT",        "HELPCONTENT",    "INSERTTABLE", "RESULTFILL", "INSERTIMAGE", "DATABASEBACKUP", "DATABASE",
    "LINEBREAK",   "COLLAPSE",       "EXPAND",      "CLOCK",      "HELPSEARCH",  "USERS",          "HISTORY",
    "NEWDATABASE", "PAGESETUP",      "SAVEALL",     "SAVE",       "LAYOUT"};

// The button keys of tlbStandard, tlbEdit, tlbFormat and tlbTable, then those of the result
// window's tlbResult but its Print, which is tlbStandard's.
const QStringList kToolbarKeys = {
    "Connect",      "Preview",        "Save",       "SaveAll",     "Print",        "Properties",   "HTMLView",
    "Undo",         "Redo",           "Cut",        "Copy",        "Paste",        "Find",         "Bold",
    "Italic",       "Underline",      "Color",      "LeftJustify", "Center",       "RightJustify", "Numbers",
    "Bullets",      "Outdent",        "Indent",     "InsertTable", "InsertColumn", "InsertRow",    "InsertCell",
    "RemoveColumn", "RemoveRow",      "RemoveCell", "MergeCell",   "SplitCell",    "Export",       "WebPreview",
    "FillDownCell", "FillDownResult", "FillAll",    "ClearAll"};

struct Expected
{
    QString path;
    QSize size;
};

QList<Expected> expectedIcons()
{
    QList<Expected> icons;
    for (const QString& key : kMenuKeys)
        icons.append({":/icons/menu/" + key + ".png", QSize(16, 16)});
    for (const QString& key : kToolbarKeys)
        icons.append({":/icons/toolbar/" + key + ".png", QSize(22, 22)});
    for (int kind = 1; kind <= 14; ++kind)  // the item kinds
        icons.append({QString(":/icons/items/%1.png").arg(kind), QSize(16, 16)});
    return icons;
}

}  // namespace

class tst_Icons : public QObject
{
    Q_OBJECT

private slots:
    void keyLists();
    void iconLoads_data();
    void iconLoads();
    void resourceHoldsOnlyTheseIcons();
};

void tst_Icons::keyLists()
{
    QCOMPARE(kMenuKeys.size(), 54);
    QCOMPARE(QSet<QString>(kMenuKeys.begin(), kMenuKeys.end()).size(), 54);
    QCOMPARE(kMenuKeys.indexOf("CONNECT"), 3);  // icon index of CONNECT in UpdateMenuImage
    QCOMPARE(kToolbarKeys.size(), 7 + 6 + 11 + 9 + 6);
}

void tst_Icons::iconLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const Expected& icon : expectedIcons())
        QTest::newRow(qPrintable(icon.path.mid(8))) << icon.path << icon.size;  // without ":/icons/"
}

void tst_Icons::iconLoads()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QVERIFY2(QFile::exists(path), qPrintable(path + " is not in the resource"));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), size);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    QCOMPARE(image.size(), size);
    // A picture, not an empty square.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            opaque += qAlpha(argb.pixel(x, y)) > 128 ? 1 : 0;
    QVERIFY2(opaque >= argb.width() * argb.height() / 8, qPrintable(path + " is almost empty"));
}

void tst_Icons::resourceHoldsOnlyTheseIcons()
{
    QSet<QString> expected;
    for (const Expected& icon : expectedIcons())
        expected.insert(icon.path);
    QSet<QString> found;
    QDirIterator it(":/icons", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.insert(it.next());
    QStringList extra = (found - expected).values();
    extra.sort();
    QVERIFY2(extra.isEmpty(), qPrintable("unexpected files: " + extra.join(", ")));
    QCOMPARE(found.size(), expected.size());
}

QTEST_GUILESS_MAIN(tst_Icons)

#include "tst_Icons.moc"
