// Figures 24 and 24a: a 2 MB page opened in the HTML code window, the marker taken out, the text
// coloured and the caret placed, until the window has painted; 24 with the line ends the stored
// descriptions hold, 24a on one line as a page typed without any. The floor puts the same text
// into a plain text box.
#include "BenchClock.h"
#include "BenchRun.h"

#include "core/db/AdoConnection.h"
#include "editor/HtmlSourceText.h"
#include "editor/frmHTML.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSqlQuery>

namespace {

constexpr qsizetype kSourceSize = 2 * 1024 * 1024;

// The page as the engine writes it: lower case, BODY with attributes, the marker in the middle.
QString SourcePage(const QString& descriptions, const QString& lineEnd)
{
    QString body;
    while (body.size() < kSourceSize / 2)
        body += QString(descriptions).replace(QLatin1String("\r\n"), lineEnd);
    const QString marker = QStringLiteral("<span id=\"cursor\" style=\"display: none;\"></span>");
    return QStringLiteral("<html><head><style>p { margin: 0 }</style></head><body class=\"x\">") + body + marker +
           body + QStringLiteral("</body></html>");
}

}  // namespace

QList<BenchFigure> BenchRun::SourceViewFigures()
{
    BenchFigure lines{QStringLiteral("24"),
                      QStringLiteral("2 MB source shown coloured, caret placed (floor: the text box filled)"),
                      QStringLiteral("300 ms")};
    BenchFigure oneLine{QStringLiteral("24a"), QStringLiteral("the same source on one line"), QStringLiteral("300 ms")};
    QString descriptions;
    QSqlQuery rows = gConnection().Query(QStringLiteral("SELECT DESCRIPTION FROM PROCEDURES ORDER BY ID LIMIT 1500"));
    while (rows.next())
        descriptions += rows.value(0).toString() + QStringLiteral("\r\n");
    if (descriptions.isEmpty()) {
        Expect(false, QStringLiteral("figure 24: no procedure descriptions to read"));
        return {lines, oneLine};
    }
    for (BenchFigure* figure : {&lines, &oneLine}) {
        const QString page = SourcePage(descriptions, figure == &lines ? QStringLiteral("\n") : QString());
        const HtmlSourceText expected = HtmlSourceText::FromPage(page);
        figure->floor = BenchClock::MedianMs(m_runs, [&] {
            QPlainTextEdit box;
            box.setPlainText(expected.text);
            box.show();
            QApplication::processEvents();
        });
        bool right = true;
        figure->value = BenchClock::MedianMs(m_runs, [&] {
            frmHTML window(nullptr, [] { return false; });
            window.SetSource(page);
            window.show();
            QApplication::processEvents();
            const QTextCursor caret = window.rtfHTML()->textCursor();
            QTextCursor tail(window.rtfHTML()->document());
            tail.setPosition(static_cast<int>(expected.bodyEnd) + 1);
            right = right && caret.position() == expected.caret &&
                    tail.charFormat().foreground().color() == QColor(119, 119, 119) &&
                    window.rtfHTML()->document()->characterCount() == expected.text.size() + 1;
        });
        Expect(right, QStringLiteral("figure %1: the source is not shown as it should be").arg(figure->number));
    }
    return {lines, oneLine};
}
