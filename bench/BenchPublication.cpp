// Figures P22 and P23: the big plan published with the generator's descriptions and expected
// results, as the one-file document with its table of contents filled, and as the framed site of
// a page per sub-test and per procedure of a sub-test. The floor reads the same rows in plain
// queries and writes as many bytes to as many files as the publication wrote, each file once.
#include "BenchClock.h"
#include "BenchFloors.h"
#include "BenchRun.h"

#include "model/TestPlan.h"
#include "platform/KvlError.h"
#include "publishing/FrameSetFile.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/PageFiles.h"
#include "publishing/Publication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The big plan is the first plan of the first configuration.
const QString kConfiguration = QStringLiteral("1");

QString Placeholder(const char* field)
{
    return QStringLiteral("<IMG src=\"") + QLatin1String(field) + QStringLiteral(".tag\">");
}

// Sections that show every description and expected result, each in an element the checks
// count; the plan's section holds the table of contents. The options stay at their defaults:
// pictures written out, no section for a sub-test without procedures, a page break after each
// sub-test's procedures.
bool SaveTemplates()
{
    const QString shown = QStringLiteral("<DIV class=\"description\">") + Placeholder("PROCEDUREDESCRIPTION") +
                          QStringLiteral("</DIV><DIV class=\"expected\">") + Placeholder("PROCEDUREEXPECTEDRESULT") +
                          QStringLiteral("</DIV>");
    const QList<QPair<int, QString>> templates{
        {3, QStringLiteral("<H1>") + Placeholder("TESTPLANNAME") + QStringLiteral("</H1><P>") +
                Placeholder("TESTPLANTITLE") + QStringLiteral(" on ") + Placeholder("CONFIGURATIONNAME") +
                QStringLiteral("</P>") + Placeholder("TESTPLANTOC") + Placeholder("TESTPLANDESCRIPTION")},
        {4, QStringLiteral("<DIV class=\"subtest\">") + Placeholder("SUBTESTNAME") + QStringLiteral(": ") +
                Placeholder("SUBTESTDESCRIPTION") + QStringLiteral("</DIV>")},
        {14, QStringLiteral("<P class=\"procedure\"><B>") + Placeholder("PROCEDURENAME") + QStringLiteral("</B> ") +
                 Placeholder("PROCEDURESTATUS") + QStringLiteral(" <I>") + Placeholder("PROCEDURECOMMENT") +
                 QStringLiteral("</I> ") + Placeholder("PROCEDUREWORKLOAD") + QStringLiteral("</P>") + shown},
        {20, QStringLiteral("<H2>") + Placeholder("PROCEDURETITLE") + QStringLiteral("</H2><P>") +
                 Placeholder("SUBTESTNAME") + QStringLiteral(" / ") + Placeholder("TESTPLANNAME") +
                 QStringLiteral(" / ") + Placeholder("CONFIGURATIONNAME") + QStringLiteral("</P><P class=\"sheet\">") +
                 Placeholder("PROCEDURESTATUS") + QStringLiteral(" <I>") + Placeholder("PROCEDURECOMMENT") +
                 QStringLiteral("</I></P>") + shown},
        {17, QStringLiteral("BODY { font-family: sans-serif }")}};
    HTMLTemplate store;
    for (const auto& [id, text] : templates) {
        if (store.Save(id, text) != 0)
            return false;
    }
    HTMLTemplate::InstallStyleSheetLoader();
    return true;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<qint64> FileSizes(const QString& folder)
{
    QList<qint64> sizes;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
        sizes << file.size();
    return sizes;
}

// The floor's writes: a file of each size, opened, written once and closed, as a page is.
void WriteFiles(const QString& folder, const QList<qint64>& sizes)
{
    const QByteArray bytes(sizes.isEmpty() ? 0 : *std::max_element(sizes.begin(), sizes.end()), 'x');
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        QFile file(QDir(folder).filePath(QString::number(i) + QStringLiteral(".htm")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            file.write(bytes.constData(), sizes[i]) != sizes[i])
            throw KvlError(QStringLiteral("%1 could not be written").arg(file.fileName()));
    }
}

qsizetype Count(const QString& page, const char* text)
{
    return page.count(QLatin1String(text));
}

}  // namespace

QList<BenchFigure> BenchRun::PublicationFigures()
{
    BenchFigure document{QStringLiteral("P22"), QStringLiteral("big plan as one document (floor: reads, its bytes)"),
                         QStringLiteral("2 s")};
    BenchFigure site{QStringLiteral("P23"), QStringLiteral("big plan as the framed site (floor: reads, its files)"),
                     QStringLiteral("5 s")};
    document.unit = site.unit = QStringLiteral("s");
    if (!SaveTemplates()) {
        Expect(false, QStringLiteral("figures P22 and P23: the templates could not be saved"));
        return {document, site};
    }
    // Each run writes into a folder of its own, made and removed outside the time.
    std::unique_ptr<QTemporaryDir> folder;
    const auto fresh = [&] {
        folder.reset();
        folder = std::make_unique<QTemporaryDir>();
    };
    BenchFloors::PublicationRows rows;
    const auto floor = [&](const QList<qint64>& sizes) {
        return BenchClock::MedianMs(m_runs, fresh,
                                    [&] {
                                        rows = BenchFloors::PlanPublication(m_bigPlanId, kConfiguration);
                                        WriteFiles(folder->path(), sizes);
                                    }) /
               1000;
    };
    const auto publish = [&](const std::function<bool(Publication&, TestPlan&)>& write) {
        bool done = true;
        const double seconds =
            BenchClock::MedianMs(m_runs, fresh,
                                 [&] {
                                     Publication publication;
                                     publication.SetIdConfiguration(kConfiguration);
                                     TestPlan plan;
                                     done = plan.Find(m_bigPlanId) == 0 && write(publication, plan) && done;
                                 }) /
            1000;
        Expect(done, QStringLiteral("figures P22 and P23: a publication failed"));
        return seconds;
    };

    try {
        QByteArray written;  // the document, which the site's main page repeats
        if (Wanted(QStringLiteral("P22"))) {
            bool contents = true;
            document.value = publish([&](Publication& publication, TestPlan& plan) {
                publication.SetFileName(folder->filePath(QStringLiteral("plan.htm")));
                const bool done = publication.EditTestPlan(plan, true) == 0;
                contents = contents && publication.TableOfContents();
                return done;
            });
            written = ReadFile(folder->filePath(QStringLiteral("plan.htm")));
            document.floor = floor({written.size()});
            const QString page = QString::fromUtf8(written);
            const qsizetype sections = Count(page, "<P class=\"procedure\">");
            // A description begins with a heading or a paragraph, an expected result with a
            // paragraph; a placeholder left or an empty column shows otherwise.
            const qsizetype descriptions =
                Count(page, "<DIV class=\"description\"><P>") + Count(page, "<DIV class=\"description\"><H3>");
            const qsizetype expected = Count(page, "<DIV class=\"expected\"><P>");
            Expect(contents && !page.contains(QLatin1String("TESTPLANTOC")) &&
                       rows.procedureOccurrences == m_shape.BigPlanOccurrences() &&
                       rows.subTestOccurrences == m_shape.PlanSubTestOccurrences(m_shape.bigPlanDepth) &&
                       Count(page, "<a name=\"") == rows.subTestOccurrences && sections == rows.procedureOccurrences &&
                       descriptions == sections && expected == sections && rows.results > 0 &&
                       Count(page, "<I>Played</I>") == rows.results,
                   QStringLiteral("figure P22: %1 headings, %2 procedure sections, %3 descriptions, %4 expected "
                                  "results and %5 results shown for %6 sub-test and %7 procedure occurrences and "
                                  "%8 results read")
                       .arg(Count(page, "<a name=\""))
                       .arg(sections)
                       .arg(descriptions)
                       .arg(expected)
                       .arg(Count(page, "<I>Played</I>"))
                       .arg(rows.subTestOccurrences)
                       .arg(rows.procedureOccurrences)
                       .arg(rows.results));
        }

        if (Wanted(QStringLiteral("P23"))) {
            site.value = publish([&](Publication& publication, TestPlan& plan) {
                const QString frameSet = folder->filePath(QStringLiteral("site.htm"));
                publication.SetFileName(frameSet);
                return WriteFrameSetFile(frameSet, m_bigPlanId) == 0 && publication.GenerateDocuments(plan) == 0;
            });
            const QList<qint64> sizes = FileSizes(folder->path());
            const QByteArray main = ReadFile(folder->filePath(PageFiles::MainTestPlan(m_bigPlanId)));
            const QString explorer = QString::fromUtf8(ReadFile(folder->filePath(PageFiles::Explorer())));
            site.floor = floor(sizes);
            // The frame set, the navigation and the main page, then a page per sub-test and per
            // procedure of a sub-test, however often they occur.
            const qint64 pages = 3 + rows.subTests + rows.procedurePages;
            const qsizetype links = Count(explorer, "<A ");
            Expect(
                sizes.size() == pages && !sizes.isEmpty() && *std::min_element(sizes.begin(), sizes.end()) > 0 &&
                    (written.isEmpty() || main == written) &&
                    links == rows.subTestOccurrences + rows.procedureOccurrences,
                QStringLiteral("figure P23: %1 pages for %2, %3 navigation links for %4 occurrences%5")
                    .arg(sizes.size())
                    .arg(pages)
                    .arg(links)
                    .arg(rows.subTestOccurrences + rows.procedureOccurrences)
                    .arg(written.isEmpty() || main == written ? QString()
                                                              : QStringLiteral(", a main page unlike the document")));
        }
    } catch (const std::exception& error) {
        Expect(false, QStringLiteral("figures P22 and P23: %1").arg(QString::fromUtf8(error.what())));
    }
    return {document, site};
}
