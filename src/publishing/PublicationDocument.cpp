#include "publishing/PublicationGeneration.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "platform/BugLog.h"
#include "platform/HtmlDocument.h"
#include "platform/HtmlFile.h"
#include "platform/KvlError.h"
#include "publishing/FieldPlaceholders.h"
#include "publishing/HeadingNumbers.h"
#include "publishing/PageWriter.h"

namespace FP = FieldPlaceholders;

namespace {

enum Templates { kTestPlanSection = 3, kSubTestSection = 4, kProcedureSection = 14 };

// A step that failed has logged under its own label; the generation stops there.
KvlError StepFailed(const QString& step)
{
    return KvlError(KvlError::kGeneric, QStringLiteral("%1 failed.").arg(step));
}

}  // namespace

Publication::Publication() = default;
Publication::~Publication() = default;

QString Publication::PlanKey(const TestPlan& plan) const
{
    return NodeKey::kConfigurationPrefix + m_idConfiguration + NodeKey::kSeparator + plan.Id();
}

void Publication::WriteSection(QString& text)
{
    if (m_generation->storeImage)
        DownLoadPicture(text);
    m_generation->page += text;
    m_generation->page += kPageLine;
}

void Publication::DropTrailingPageBreak()
{
    QString& page = m_generation->page;
    const QString ending = FP::kPageBreak + kPageLine;
    if (page.endsWith(ending))
        page.chop(ending.size());
}

void Publication::WritePageFile(bool replace)
{
    WritePage(m_fileName, m_generation->page, replace ? HtmlWriteMode::Replace : HtmlWriteMode::Plain);
}

long Publication::EditTestPlan(TestPlan& objTestPlan, bool blnWithSubTest)
{
    const QString label = QStringLiteral("Error_EditTestPlan : ");
    GenerationScope scope(*this, label);
    Generation& generation = *m_generation;
    try {
        m_idTestPlan = objTestPlan.Id();
        generation.page = generation.PageHead();
        QString section = generation.Template(kTestPlanSection);
        FP::WriteTestPlanFields(section, objTestPlan, generation.planDescriptions.Lookup());
        const Configuration* configuration = generation.FindConfiguration(m_idConfiguration);
        if (!configuration)
            throw KvlError(KvlError::kGeneric,
                           QStringLiteral("The configuration %1 does not exist.").arg(m_idConfiguration));
        FP::WriteConfigurationFields(section, *configuration, generation.configurationDescriptions.Lookup());
        WriteSection(section);

        if (blnWithSubTest) {
            // Every occurrence key below derives from the plan's, so each result is its own.
            objTestPlan.SetKey(PlanKey(objTestPlan));
            if (objTestPlan.LoadSubTests1(false) != 0)
                throw StepFailed(QStringLiteral("Reading the sub-tests"));
            const auto subTests = objTestPlan.SubTests1();
            QStringList ids;
            for (const auto& subTest : subTests)
                ids << subTest->Id();
            generation.ReadSubTrees(ids, OccurrenceKey::kMaxSubTestDepth - 1);
            for (const auto& subTest : subTests) {
                subTest->SetLevel(1);
                subTest->SetTitleOrder(QString::number(subTest->Order()));
                if (WriteSubTests(*subTest) != 0)
                    throw StepFailed(QStringLiteral("Writing a sub-test"));
            }
        }
        if (generation.procedurePageBreak)
            DropTrailingPageBreak();
        generation.page += QStringLiteral("</BODY></HTML>") + kPageLine;
        if (NumerateHeaders() != 0)
            throw StepFailed(QStringLiteral("Numbering the headings"));
        WritePageFile(true);
        return 0;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}

long Publication::WriteSubTests(SubTest& objSubTest)
{
    Generation& generation = *m_generation;
    try {
        if (WriteSubTestTitle(objSubTest) != 0)
            throw StepFailed(QStringLiteral("Writing the heading"));
        generation.ReadSubTrees({objSubTest.Id()}, OccurrenceKey::kMaxSubTestDepth - objSubTest.Level());
        if (objSubTest.FillProcedures(generation.rows.Procedures(objSubTest.Id()), false) != 0)
            throw StepFailed(QStringLiteral("Reading the procedures"));
        const auto procedures = objSubTest.Procedures();
        const bool hasProcedures = procedures.Count() > 0;
        if (!generation.subTestTemplate || hasProcedures) {
            QList<FP::FieldValue> fields;
            FP::AppendSubTestFields(fields, objSubTest, generation.subTestDescriptions.Lookup());
            AppendPlanFields(fields);
            QString section = generation.Template(kSubTestSection);
            FP::ReplaceTags(section, fields);
            WriteSection(section);
            const SubTest* parent = generation.parent;
            generation.parent = &objSubTest;
            for (const auto& procedure : procedures) {
                if (WriteProcedures(*procedure) != 0) {
                    generation.parent = parent;
                    throw StepFailed(QStringLiteral("Writing a procedure"));
                }
            }
            generation.parent = parent;
        }
        if (generation.procedurePageBreak && hasProcedures)
            generation.page += FP::kPageBreak + kPageLine;

        // The image level of a depth is three more; ten levels down the walk stops.
        const int imageLevel = objSubTest.Level() + kImageSubTestFirst - 1;
        if (objSubTest.FillSubTestChildren(generation.rows.ChildrenAt(objSubTest.Id(), imageLevel, objSubTest.Name()),
                                           false) != 0)
            throw StepFailed(QStringLiteral("Reading the child sub-tests"));
        for (const auto& child : objSubTest.SubTestChildren()) {
            child->SetLevel(objSubTest.Level() + 1);
            const QString order = QString::number(child->Order());
            child->SetTitleOrder(
                objSubTest.TitleOrder().isEmpty() ? order : objSubTest.TitleOrder() + QLatin1Char('.') + order);
            if (WriteSubTests(*child) != 0)
                throw StepFailed(QStringLiteral("Writing a child sub-test"));
        }
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_WriteSubTests"), error);
        return 1;
    }
}

long Publication::WriteSubTestTitle(SubTest& objSubTest)
{
    try {
        const int level = objSubTest.Level();
        if (level < 1 || level > OccurrenceKey::kMaxSubTestDepth)
            throw KvlError(9, QStringLiteral("Subscript out of range"));
        const QString heading = QStringLiteral("H") + QString::number(level);
        QString& page = m_generation->page;
        page += QStringLiteral("<blockquote>").repeated(level) + kPageLine;
        page += QStringLiteral("<a name=\"") + objSubTest.TitleOrder().toHtmlEscaped() + QStringLiteral("\" ><") +
                heading + QLatin1Char('>') + objSubTest.Title().toHtmlEscaped() + QStringLiteral("</") + heading +
                QStringLiteral("></a>") + kPageLine;
        page += QStringLiteral("</blockquote>").repeated(level) + kPageLine;
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_WriteSubTestTitle :"), error);
        return 1;
    }
}

long Publication::WriteProcedures(Procedure& objProcedure)
{
    Generation& generation = *m_generation;
    try {
        const bool keep = generation.keepSections && !objProcedure.Key().isEmpty();
        if (keep) {
            const auto kept = generation.sections.constFind(objProcedure.Key());
            if (kept != generation.sections.constEnd()) {
                generation.page += *kept;
                generation.page += kPageLine;
                return 0;
            }
        }
        QString text = ProcedureSection(kProcedureSection, objProcedure);
        WriteSection(text);
        if (keep)
            generation.sections.insert(objProcedure.Key(), text);
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_WriteProcedures"), error);
        return 1;
    }
}

void Publication::AppendPlanFields(QList<FP::FieldValue>& fields)
{
    Generation& generation = *m_generation;
    FP::AppendTestPlanFields(fields, generation.Plan(m_idTestPlan), generation.planDescriptions.Lookup());
    if (const Configuration* configuration = generation.FindConfiguration(m_idConfiguration))
        FP::AppendConfigurationFields(fields, *configuration, generation.configurationDescriptions.Lookup());
}

QString Publication::ProcedureSection(int templateId, const Procedure& procedure)
{
    Generation& generation = *m_generation;
    QList<FP::FieldValue> fields;
    FP::AppendProcedureFields(fields, procedure, generation.ResultOf(procedure.Key()),
                              generation.procedureDescriptions.Lookup(), generation.expectedResults.Lookup());
    if (!m_idTestPlan.isEmpty())
        AppendPlanFields(fields);
    AppendParentSubTestFields(fields, procedure.Key());
    QString text = generation.Template(templateId);
    FP::ReplaceTags(text, fields);
    return text;
}

void Publication::AppendParentSubTestFields(QList<FP::FieldValue>& fields, const QString& key)
{
    Generation& generation = *m_generation;
    const qsizetype separator = key.lastIndexOf(NodeKey::kSeparator);
    const qsizetype bar = separator < 0 ? -1 : key.indexOf(QLatin1Char('|'), separator);
    if (separator <= 0 || bar <= separator)
        return;
    const QString id = key.mid(separator + 1, bar - separator - 1);
    const SubTest& parent =
        generation.parent && generation.parent->Id() == id ? *generation.parent : generation.SubTestById(id);
    FP::AppendSubTestFields(fields, parent, generation.subTestDescriptions.Lookup());
}

long Publication::NumerateHeaders()
{
    Generation& generation = *m_generation;
    try {
        // One parse of the page serves the numbers and the placeholders of the table of contents:
        // a number goes in after a heading's start tag, where it changes no tag of the page.
        const HtmlDocument parsed(generation.page);
        NumberedHeadings numbered = ::NumerateHeaders(parsed);
        QString contents = numbered.tableOfContents;
        const TestPlan& plan = generation.Plan(m_idTestPlan);
        if (!plan.Id().isEmpty())
            FP::WriteTestPlanFields(contents, plan, generation.planDescriptions.Lookup());
        if (const Configuration* configuration = generation.FindConfiguration(m_idConfiguration))
            FP::WriteConfigurationFields(contents, *configuration, generation.configurationDescriptions.Lookup());
        m_tableOfContentsText = contents;

        // Any placeholder of the table of contents, by the placeholder rule, from the last.
        const QString bookmark = QStringLiteral("<a name=\"TableofContent\" >&nbsp;<a>");
        const QString markup = FP::HtmlMarkup(m_word ? bookmark : contents);
        const QList<FP::PlaceholderSpan> spans = FP::FieldSpans(parsed, QStringLiteral("TESTPLANTOC"));
        QString& page = numbered.html;
        for (auto span = spans.crbegin(); span != spans.crend(); ++span) {
            const qsizetype at = numbered.Moved(span->start);
            if (QStringView(page).sliced(at, span->length) != markup)
                m_tableOfContents = true;
            page.replace(at, span->length, markup);
        }
        generation.page = std::move(page);
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_NumerateHeaders: "), error);
        return 1;
    }
}
