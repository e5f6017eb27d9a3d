// Figures 20 and 21: a 1 MB description in the web view editor, set until the editor reports
// the document in place, and read back whole as a save reads it; the floor reads the same text
// from the database. Figure 20a goes on until the page has laid the text out and reported its
// command states, which the renderer does after the program has its document. Figures 22 and 23:
// Insert Row and Merge Cells in a table of 500 rows of 10 cells, against a question to the page.
#include "BenchClock.h"
#include "BenchRun.h"

#include "core/db/AdoConnection.h"
#include "editor/WebEngineHtmlEditor.h"

#include <QWebEngineScript>
#include <QEventLoop>
#include <QWebEngineView>
#include <QSqlQuery>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

constexpr qsizetype kDescriptionSize = 1024 * 1024;
// Enough of the generator's procedure descriptions for 1 MB.
constexpr int kRowsRead = 1500;
constexpr int kTableRows = 500;
constexpr int kTableColumns = 10;

// Procedure descriptions in order, up to 1 MB; a small database's are all read.
QString ReadDescriptions()
{
    QString text;
    QSqlQuery rows =
        gConnection().Query(QStringLiteral("SELECT DESCRIPTION FROM PROCEDURES ORDER BY ID LIMIT %1").arg(kRowsRead));
    while (text.size() < kDescriptionSize && rows.next())
        text += rows.value(0).toString() + QStringLiteral("\r\n");
    return text;
}

// Waits for `signal` of the editor, 30 s at most; false when it did not come.
template <typename Signal>
bool WaitFor(WebEngineHtmlEditor& editor, Signal signal, const std::function<void()>& start)
{
    QEventLoop loop;
    bool came = false;
    const QMetaObject::Connection connection = QObject::connect(&editor, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    start();
    if (!came)
        loop.exec();
    QObject::disconnect(connection);
    return came;
}

// Runs `source` in the editor's own script world and waits for its answer, 5 s at most.
QVariant Script(WebEngineHtmlEditor& editor, const QString& source)
{
    QEventLoop loop;
    QVariant answer;
    editor.View()->page()->runJavaScript(source, QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
        answer = value;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return answer;
}

QString TablePage()
{
    QString rows;
    for (int row = 0; row < kTableRows; ++row) {
        rows += QStringLiteral("<TR>");
        for (int column = 0; column < kTableColumns; ++column)
            rows += QStringLiteral("<TD>r%1c%2</TD>").arg(row).arg(column);
        rows += QStringLiteral("</TR>");
    }
    return QStringLiteral("<HTML><HEAD></HEAD><BODY><P>before</P><TABLE border=1>") + rows +
           QStringLiteral("</TABLE></BODY></HTML>");
}

}  // namespace

QList<BenchFigure> BenchRun::TableFigures()
{
    const QString size = QStringLiteral("%1 x %2").arg(kTableRows).arg(kTableColumns);
    BenchFigure insertRow{QStringLiteral("22"),
                          QStringLiteral("Insert Row in a %1 table (floor: a question)").arg(size),
                          QStringLiteral("100 ms")};
    BenchFigure merge{QStringLiteral("23"), QStringLiteral("Merge Cells, two of its cells"), QStringLiteral("100 ms")};
    QWidget host;
    host.resize(800, 600);
    host.show();
    auto* editor = new WebEngineHtmlEditor(&host);
    editor->View()->resize(800, 600);
    const auto select = [&](const QString& first, const QString& last) {
        Script(*editor, QStringLiteral("(() => { const cells = document.querySelectorAll('td');"
                                       " const first = cells[%1].firstChild, last = cells[%2].firstChild;"
                                       " getSelection().setBaseAndExtent(first, 0, last, last.length); })()")
                            .arg(first, last));
    };
    // The cells of the middle row, the fourth and fifth.
    const QString middle = QString::number(kTableRows / 2 * kTableColumns + 3);
    const QString next = QString::number(kTableRows / 2 * kTableColumns + 4);
    try {
        const bool laidOut =
            WaitFor(*editor, &HtmlEditor::DisplayChanged, [&] { editor->SetDocumentHTML(TablePage()); });
        Expect(laidOut, QStringLiteral("figure 22: the editor did not report the table"));
        insertRow.floor = BenchClock::MedianMs(m_runs, [&] { editor->ExecCommand(Decmd::GETBLOCKFMT); });
        merge.floor = insertRow.floor;
        // Each run is undone before the next.
        const auto timed = [&](int command, const QString& last) {
            bool done = false;
            return BenchClock::MedianMs(
                m_runs,
                [&] {
                    if (done)
                        editor->ExecCommand(Decmd::UNDO);
                    select(middle, last);
                },
                [&] {
                    editor->ExecCommand(command);
                    done = true;
                });
        };
        insertRow.value = timed(Decmd::INSERTROW, middle);
        Expect(Script(*editor, QStringLiteral("document.querySelector('table').rows.length")).toInt() == kTableRows + 1,
               QStringLiteral("figure 22: the row was not inserted"));
        editor->ExecCommand(Decmd::UNDO);
        merge.value = timed(Decmd::MERGECELLS, next);
        Expect(Script(*editor, QStringLiteral("document.querySelectorAll('td[colspan=\"2\"]').length")).toInt() == 1,
               QStringLiteral("figure 23: the cells were not merged"));
    } catch (const std::exception& error) {
        Expect(false, QStringLiteral("figures 22 and 23: %1").arg(QString::fromUtf8(error.what())));
    }
    return {insertRow, merge};
}

QList<BenchFigure> BenchRun::EditorFigures()
{
    BenchFigure set{QStringLiteral("20"),
                    QStringLiteral("1 MB description set into the web view editor (floor: the text read)"),
                    QStringLiteral("500 ms")};
    BenchFigure laidOut{QStringLiteral("20a"), QStringLiteral("the same until laid out and its states reported"),
                        QString()};
    BenchFigure read{QStringLiteral("21"),
                     QStringLiteral("its DocumentHTML, as a save reads it (floor: the text read)"),
                     QStringLiteral("50 ms")};
    QString descriptions;
    set.floor = BenchClock::MedianMs(m_runs, [&] { descriptions = ReadDescriptions(); });
    read.floor = set.floor;
    laidOut.floor = set.floor;
    if (descriptions.isEmpty()) {
        Expect(false, QStringLiteral("figure 20: no procedure descriptions to read"));
        return {set, laidOut, read};
    }
    // A small database's descriptions are repeated.
    QString body;
    while (body.size() < kDescriptionSize)
        body += descriptions;
    const QString last = QStringLiteral("<P>the last paragraph of the benchmark</P>");
    const QString page = QStringLiteral("<HTML><HEAD></HEAD><STYLE>P { margin: 0 }</STYLE><BODY>") + body + last +
                         QStringLiteral("</BODY></HTML>");

    // Each run opens a new editor, as a new description window does, so that no run waits for
    // the page of the one before to finish laying out.
    QWidget host;
    host.resize(800, 600);
    host.show();
    std::unique_ptr<WebEngineHtmlEditor> editor;
    const auto open = [&] {
        editor.reset();
        editor.reset(new WebEngineHtmlEditor(&host));
        editor->View()->resize(800, 600);
        // The blank page is loaded before the run.
        editor->BodyInnerHTML();
    };
    try {
        bool complete = true;
        set.value = BenchClock::MedianMs(m_runs, open, [&] {
            complete =
                WaitFor(*editor, &HtmlEditor::DocumentComplete, [&] { editor->SetDocumentHTML(page); }) && complete;
        });
        bool reported = true;
        laidOut.value = BenchClock::MedianMs(m_runs, open, [&] {
            reported =
                WaitFor(*editor, &HtmlEditor::DisplayChanged, [&] { editor->SetDocumentHTML(page); }) && reported;
        });
        Expect(complete && reported, QStringLiteral("figure 20: the editor did not report the document"));
        QString saved;
        read.value = BenchClock::MedianMs(m_runs, [&] { saved = editor->DocumentHTML(); });
        // The browser writes tags in lower case and line ends as LF.
        const qsizetype paragraphs = page.count(QLatin1String("<P>"));
        Expect(saved.count(QLatin1String("<p>")) == paragraphs &&
                   saved.endsWith(QLatin1String("<p>the last paragraph of the benchmark</p></body></html>")),
               QStringLiteral("figure 21: %1 paragraphs read back of %2")
                   .arg(saved.count(QLatin1String("<p>")))
                   .arg(paragraphs));
    } catch (const std::exception& error) {
        Expect(false, QStringLiteral("figures 20 and 21: %1").arg(QString::fromUtf8(error.what())));
    }
    editor.reset();
    return {set, laidOut, read};
}
