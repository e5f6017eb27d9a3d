#include "BenchGenerator.h"

#include "BoundInsert.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "platform/KvlError.h"

#include <array>

namespace {

// Results were played over the months from the items' creation to their last update.
const QDate kCreated(2023, 10, 16);
const QDate kUpdated(2024, 2, 20);

constexpr double kMarkedShare = 0.01;
// Item rows go to the engine in steps of whole batches, so the texts are not all held at once.
constexpr int kFlushRows = 1000;

// None of these holds the search word, in any case.
constexpr const char* kVerbs[] = {"check",   "connect", "read",  "press",   "set",   "note",    "compare",
                                  "record",  "open",    "close", "start",   "stop",  "measure", "repeat",
                                  "confirm", "select",  "enter", "release", "reset", "load"};
constexpr const char* kAdjectives[] = {"main", "second", "upper", "lower",    "stable",   "nominal", "default", "green",
                                       "red",  "final",  "spare", "external", "internal", "left",    "right",   "new"};
constexpr const char* kNouns[] = {"board",  "supply", "voltage", "console", "firmware", "signal",  "probe", "value",
                                  "limit",  "button", "screen",  "message", "log",      "setting", "cable", "port",
                                  "relay",  "sensor", "channel", "menu",    "report",   "sample",  "unit",  "fixture",
                                  "banner", "switch", "lamp",    "counter", "current",  "reading"};
constexpr const char* kJoins[] = {"and", "then", "before", "after", "until", "while"};
constexpr int kPictures = 40;

// Descriptions as the HTML editor stores them: the body's content, one block a line.
class TextWriter
{
public:
    explicit TextWriter(QRandomGenerator& random) : m_random(random) {}

    // Two or three paragraphs around a bulleted list, sometimes under a heading, sometimes with
    // a picture. A marked description holds the search word once.
    QString Description(bool marked)
    {
        QString text;
        text.reserve(1200);
        if (Chance(0.3))
            text += QLatin1String("<H3>") + Capitalized(Pick(kAdjectives)) + QLatin1Char(' ') + Pick(kNouns) +
                    QLatin1String("</H3>\r\n");
        const int paragraphs = 2 + m_random.bounded(2);
        const int markedParagraph = marked ? m_random.bounded(paragraphs) : -1;
        for (int p = 0; p < paragraphs; ++p) {
            Paragraph(text, 2 + m_random.bounded(3), p == markedParagraph);
            if (p == 0)
                List(text, 3 + m_random.bounded(3));
        }
        if (Chance(0.15))
            text += QStringLiteral("<P><IMG src=\"%1.gif\"></P>\r\n").arg(1 + m_random.bounded(kPictures));
        text.chop(2);
        return text;
    }

    // What the tester should see: a paragraph, sometimes a short list.
    QString Expected()
    {
        QString text;
        text.reserve(400);
        Paragraph(text, 1 + m_random.bounded(2), false);
        if (Chance(0.4))
            List(text, 2 + m_random.bounded(2));
        text.chop(2);
        return text;
    }

private:
    template <size_t N>
    QLatin1String Pick(const char* const (&words)[N])
    {
        return QLatin1String(words[m_random.bounded(static_cast<int>(N))]);
    }

    bool Chance(double share) { return m_random.generateDouble() < share; }

    static QString Capitalized(QLatin1String word)
    {
        QString text = word;
        text[0] = text[0].toUpper();
        return text;
    }

    // "Check the main board", the word taking the adjective's place when marked.
    void Clause(QString& text, bool first, bool marked)
    {
        if (first)
            text += Capitalized(Pick(kVerbs));
        else
            text += QLatin1Char(' ') + Pick(kJoins) + QLatin1Char(' ') + Pick(kVerbs);
        text += QLatin1String(" the ");
        text += marked ? QLatin1String(BenchGenerator::kSearchWord) : Pick(kAdjectives);
        text += QLatin1Char(' ') + Pick(kNouns);
    }

    void Paragraph(QString& text, int sentences, bool marked)
    {
        text += QLatin1String("<P>");
        const int markedSentence = marked ? m_random.bounded(sentences) : -1;
        for (int s = 0; s < sentences; ++s) {
            if (s > 0)
                text += QLatin1Char(' ');
            const int clauses = 1 + m_random.bounded(3);
            for (int c = 0; c < clauses; ++c)
                Clause(text, c == 0, s == markedSentence && c == 0);
            text += QLatin1Char('.');
        }
        text += QLatin1String("</P>\r\n");
    }

    void List(QString& text, int items)
    {
        text += QLatin1String("<UL>\r\n");
        for (int i = 0; i < items; ++i) {
            text += QLatin1String("<LI>");
            Clause(text, true, false);
            text += QLatin1String("</LI>\r\n");
        }
        text += QLatin1String("</UL>\r\n");
    }

    QRandomGenerator& m_random;
};

}  // namespace

BenchGenerator::BenchGenerator(const BenchShape& shape)
    : m_shape(shape), m_random(shape.seed), m_text(shape.seed ^ 0x5eedu)
{
}

BenchGenerator::~BenchGenerator() = default;

QDate BenchGenerator::FirstHistoryDay()
{
    return kCreated;
}

QDate BenchGenerator::LastHistoryDay()
{
    return kUpdated;
}

void BenchGenerator::Write()
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    BoundInsert configurations(QStringLiteral("CONFIGURATION"),
                               {"ID", "NAME", "TITLE", "EQUIPMENT1", "DATE_CREATION", "DATE_UPDATE", "DESCRIPTION"});
    BoundInsert plans(QStringLiteral("TESTPLAN"),
                      {"ID", "NAME", "TITLE", "ID_CONFIGURATION", "DATE_CREATION", "DATE_UPDATE", "DESCRIPTION"});
    BoundInsert configurationLinks(QStringLiteral("CONFIGURATION_LINKS"), {"ID_TESTPLAN", "ID_CONFIGURATION"});
    BoundInsert planLinks(QStringLiteral("TESTPLAN_LINKS"), {"ID_TESTPLAN", "ID_SUBTEST", "ORDER_SUBTEST"});
    BoundInsert subTests(QStringLiteral("SUBTEST"),
                         {"ID", "NAME", "TITLE", "DATE_CREATION", "DATE_UPDATE", "DESCRIPTION"});
    BoundInsert procedures(QStringLiteral("PROCEDURES"), {"ID", "NAME", "TITLE", "WORKLOAD", "DATE_CREATION",
                                                          "DATE_UPDATE", "DESCRIPTION", "RESULT"});
    BoundInsert subTestLinks(QStringLiteral("SUBTEST_LINKS"),
                             {"ID_SUBTEST_PARENT", "ID_SUBTEST_CHILD", "ORDER_SUBTEST"});
    BoundInsert procedureLinks(QStringLiteral("PROCEDURE_LINKS"), {"ID_SUBTEST", "ID_PROCEDURE", "ORDER_PROCEDURE"});
    BoundInsert results(QStringLiteral("RESULT"), {"ID_PROCEDURE", "KEY_NODE", "STATUS", "ID_TESTPLAN", "DATE_UPDATE",
                                                   "DATE_CREATION", "COMMENT", "ITERATION"});
    BoundInsert history(QStringLiteral("HISTORY"),
                        {"ID_TESTPLAN", "ID_CONFIGURATION", "ADVANCEMENT", "WORKLOAD", "DATE_UPDATE", "COUNT_PASSED",
                         "COUNT_FAILED", "COUNT_CANCELED", "COUNT_WARNING"});
    m_subTestRows = &subTests;
    m_procedureRows = &procedures;
    m_subTestLinks = &subTestLinks;
    m_procedureLinks = &procedureLinks;
    m_results = &results;
    TextWriter text(m_text);

    for (int c = 1; c <= m_shape.configurations; ++c) {
        const QString name = QStringLiteral("Configuration %1").arg(c);
        const bool markedConfiguration = Marked(c == 1, m_marked.configurations);
        m_markedOccurrences.configurations = m_marked.configurations;
        configurations.Add({c, name, name, QStringLiteral("Bench %1").arg(c), kCreated, kUpdated,
                            text.Description(markedConfiguration)});
        // The big plan comes first, in the first configuration.
        const int count = m_shape.plansPerConfiguration + (c == 1 ? 1 : 0);
        for (int p = 0; p < count; ++p) {
            const bool big = c == 1 && p == 0;
            const int plan = m_nextPlan++;
            const QString planName = QStringLiteral("Test plan %1").arg(plan);
            const bool markedPlan = Marked(big, m_marked.testPlans);
            m_markedOccurrences.testPlans = m_marked.testPlans;
            if (big && markedPlan)
                m_bigPlanMarked.testPlans = 1;
            plans.Add({plan, planName, planName, c, kCreated, kUpdated, text.Description(markedPlan)});
            configurationLinks.Add({plan, c});
            m_inBigPlan = big;
            m_withHistory = p == 0 && c <= kHistoryPlans;
            const int levels = big ? m_shape.bigPlanDepth : m_shape.depth;
            const QString planKey =
                NodeKey::kConfigurationPrefix + QString::number(c) + NodeKey::kSeparator + QString::number(plan);
            for (int order = 1; order <= m_shape.fanOut; ++order) {
                const int subTest = SubTestOfHeight(levels);
                planLinks.Add({plan, subTest, order});
                WriteResults(
                    planKey + NodeKey::kSeparator +
                        NodeKey::FormatLink(QString::number(plan), QString::number(subTest), QString::number(order)),
                    subTest, plan);
            }
            if (m_withHistory)
                WriteHistory(history, plan, c);
        }
    }
    for (BoundInsert* rows : {&configurations, &plans, &configurationLinks, &subTests, &procedures, &planLinks,
                              &subTestLinks, &procedureLinks, &results, &history})
        rows->Flush();
    m_resultRows = results.Rows();
    m_historyRows = history.Rows();
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The generated database could not be committed."));
}

// The first item of each kind is marked, so every kind, and the big plan, has one.
bool BenchGenerator::Marked(bool first, qint64& count)
{
    const bool marked = first || m_text.generateDouble() < kMarkedShare;
    if (marked)
        ++count;
    return marked;
}

int BenchGenerator::SubTestOfHeight(int height)
{
    const QList<int>& written = m_byHeight.value(height);
    if (!written.isEmpty() && m_random.generateDouble() < m_shape.sharedSubTests)
        return written[m_random.bounded(static_cast<int>(written.size()))];
    return NewSubTest(height);
}

int BenchGenerator::NewSubTest(int height)
{
    const int id = m_nextSubTest++;
    const QString name = QStringLiteral("Sub-test %1").arg(id);
    const bool marked = Marked(id == 1, m_marked.subTests);
    m_markedSubTests.append(marked);
    m_subTestRows->Add({id, name, name, kCreated, kUpdated, TextWriter(m_text).Description(marked)});
    if (m_subTestRows->Pending() >= kFlushRows)
        m_subTestRows->Flush();
    SubTestRow row;
    if (height > 1) {
        for (int order = 1; order <= m_shape.fanOut; ++order) {
            const int child = SubTestOfHeight(height - 1);
            m_subTestLinks->Add({id, child, order});
            row.children.append({child, order});
        }
    } else {
        for (int order = 1; order <= m_shape.proceduresPerSubTest; ++order) {
            const int procedure = ProcedureFor();
            m_procedureLinks->Add({id, procedure, order});
            row.procedures.append({procedure, order});
        }
    }
    m_subTests.insert(id, row);
    m_byHeight[height].append(id);
    return id;
}

int BenchGenerator::ProcedureFor()
{
    if (!m_procedures.isEmpty() && m_random.generateDouble() < m_shape.sharedProcedures)
        return m_procedures[m_random.bounded(static_cast<int>(m_procedures.size()))];
    const int id = m_nextProcedure++;
    const QString name = QStringLiteral("Procedure %1").arg(id);
    // Quarter hours from a quarter to four hours.
    const double workLoad = (1 + m_random.bounded(16)) / 4.0;
    const bool marked = Marked(id == 1, m_marked.procedures);
    m_markedProcedures.append(marked);
    m_workLoads.append(workLoad);
    TextWriter text(m_text);
    const QString description = text.Description(marked);
    m_procedureRows->Add({id, name, name, workLoad, kCreated, kUpdated, description, text.Expected()});
    if (m_procedureRows->Pending() >= kFlushRows)
        m_procedureRows->Flush();
    m_procedures.append(id);
    return id;
}

void BenchGenerator::WriteResults(const QString& key, int subTestId, int planId)
{
    if (m_markedSubTests[subTestId - 1]) {
        ++m_markedOccurrences.subTests;
        if (m_inBigPlan)
            ++m_bigPlanMarked.subTests;
    }
    const SubTestRow row = m_subTests.value(subTestId);
    const QString parent = QString::number(subTestId);
    for (const Link& child : row.children)
        WriteResults(key + NodeKey::kSeparator +
                         NodeKey::FormatLink(parent, QString::number(child.id), QString::number(child.order)),
                     child.id, planId);
    for (const Link& procedure : row.procedures) {
        if (m_markedProcedures[procedure.id - 1]) {
            ++m_markedOccurrences.procedures;
            if (m_inBigPlan)
                ++m_bigPlanMarked.procedures;
        }
        if (m_random.generateDouble() >= m_shape.results)
            continue;
        const QString procedureKey =
            key + NodeKey::kSeparator +
            NodeKey::FormatLink(parent, QString::number(procedure.id), QString::number(procedure.order)) +
            QLatin1Char('$');
        const int status = static_cast<int>(m_random.bounded(4));
        m_results->Add({procedure.id, procedureKey, status, planId, kUpdated, kCreated, QStringLiteral("Played"), 1});
        if (m_withHistory)
            m_played.append({status, m_workLoads[procedure.id - 1]});
    }
}

// The plan's results are played in the order of the tree, most of them in the middle months;
// each day's row counts what was played up to that day as the history writer counts it, so the
// last day's row is what the writer would compute from the results as they stand.
void BenchGenerator::WriteHistory(BoundInsert& history, int planId, int configurationId)
{
    const int days = static_cast<int>(kCreated.daysTo(kUpdated)) + 1;
    QList<int> playedOn(days, 0);
    for (qsizetype i = 0; i < m_played.size(); ++i)
        ++playedOn[(m_text.bounded(days) + m_text.bounded(days)) / 2];
    std::array<int, 4> counters{};
    double spent = 0;
    double planned = 0;
    double realized = 0;
    qsizetype next = 0;
    for (int day = 0; day < days; ++day) {
        for (int i = 0; i < playedOn[day]; ++i, ++next) {
            const Played& result = m_played[next];
            ++counters[static_cast<size_t>(result.status)];
            spent += result.workLoad;  // at one iteration
            if (result.status != kCanceled)
                planned += result.workLoad;
            if (result.status == kPassed || result.status == kWarning)
                realized += result.workLoad;
        }
        const double advancement = planned == 0 ? 0 : realized / planned;
        history.Add({planId, configurationId, advancement, spent, kCreated.addDays(day).toString(Qt::ISODate),
                     counters[0], counters[1], counters[2], counters[3]});
    }
    m_played.clear();
}
