#include "publishing/PublicationGeneration.h"

#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "publishing/FieldPlaceholders.h"

namespace FP = FieldPlaceholders;

namespace {

constexpr int kProcedureSheet = 20;

}  // namespace

long Publication::EditSubTest(SubTest& objSubTest)
{
    const QString label = QStringLiteral("Error_EditSubTest :");
    GenerationScope scope(*this, label);
    Generation& generation = *m_generation;
    try {
        generation.page = generation.PageHead();
        objSubTest.SetLevel(1);
        objSubTest.SetTitleOrder(QString());
        if (WriteSubTests(objSubTest) != 0)
            throw KvlError(KvlError::kGeneric, QStringLiteral("Writing the sub-test failed."));
        if (generation.procedurePageBreak)
            DropTrailingPageBreak();
        generation.page += QStringLiteral("</BODY></HTML>") + kPageLine;
        WritePageFile(false);
        return 0;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}

long Publication::EditProcedureSheet(Procedure& objProcedure)
{
    const QString label = QStringLiteral("Error_EditProcedureSheet :");
    GenerationScope scope(*this, label);
    Generation& generation = *m_generation;
    try {
        generation.page = generation.PageHead();
        // Reading the result of a procedure never played writes no row.
        QString text = ProcedureSection(kProcedureSheet, objProcedure);
        WriteSection(text);
        generation.page += QStringLiteral("</BODY></HTML>") + kPageLine;
        WritePageFile(false);
        return 0;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}

long Publication::EditConfiguration(Configuration& objConfiguration)
{
    const QString label = QStringLiteral("Error_EditConfiguration :");
    GenerationScope scope(*this, label);
    Generation& generation = *m_generation;
    try {
        // A page of its own, without head or closing tags.
        generation.page =
            QStringLiteral("<H1>") + objConfiguration.Title().toHtmlEscaped() + QStringLiteral("</H1>") + kPageLine;
        const std::optional<QVariant> description = generation.configurationDescriptions.Value(objConfiguration.Id());
        if (description && !description->isNull())
            generation.page += description->toString() + kPageLine;
        WritePageFile(false);
        return 0;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}
