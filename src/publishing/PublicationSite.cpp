#include "publishing/PublicationGeneration.h"

#include "core/KeyHelpers.h"
#include "core/services/ProgressBar.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "platform/BugLog.h"
#include "platform/HtmlFile.h"
#include "platform/KvlError.h"
#include "publishing/PageFiles.h"
#include "publishing/PageWriter.h"

#include <QFileInfo>

namespace {

const QString kIndent = QStringLiteral("&nbsp;&nbsp;&nbsp;");

KvlError PageFailed(const QString& page)
{
    return KvlError(KvlError::kGeneric, QStringLiteral("The page %1 could not be written.").arg(page));
}

}  // namespace

void Publication::WriteExplorerLink(int units, const QString& page, const QString& name)
{
    m_generation->explorer += kIndent.repeated(units) +
                              QStringLiteral("<A style = \"text-decoration:none\" HREF = \"") + page.toHtmlEscaped() +
                              QStringLiteral("\" target = \"Content\" >") + name.toHtmlEscaped() +
                              QStringLiteral("</A><BR>") + kPageLine;
}

long Publication::GenerateDocuments(TestPlan& objTestPlan)
{
    const QString label = QStringLiteral("Error_GenerateDocuments : ");
    GenerationScope scope(*this, label);
    Generation& generation = *m_generation;
    try {
        generation.folder = QFileInfo(m_fileName).absolutePath();
        m_fileName = PageFiles::InFolder(generation.folder, PageFiles::MainTestPlan(objTestPlan.Id()));
        if (EditTestPlan(objTestPlan, true) != 0)
            throw PageFailed(m_fileName);
        gProgressBar().SetValue(40);

        generation.explorer = generation.PageHead();
        // The plan's key was set by the document; the sub-tests take theirs from it.
        if (objTestPlan.LoadSubTests1(false) != 0)
            throw KvlError(KvlError::kGeneric, QStringLiteral("The sub-tests of the test plan could not be read."));
        generation.keepSections = true;
        for (const auto& subTest : objTestPlan.SubTests1()) {
            m_fileName = PageFiles::InFolder(generation.folder, PageFiles::SubTest(subTest->Id()));
            if (EditSubTest(*subTest) != 0)
                throw PageFailed(m_fileName);
            WriteExplorerLink(0, PageFiles::SubTest(subTest->Id()), subTest->Name());
            gProgressBar().SetValue(60);
            if (WriteExplorerChildren(*subTest) != 0)
                throw PageFailed(m_fileName);
            // The occurrences below this sub-test show on no other page.
            generation.sections.clear();
        }
        gProgressBar().SetValue(80);
        generation.explorer += QStringLiteral("</BODY></HTML>") + kPageLine;
        WritePage(PageFiles::InFolder(generation.folder, PageFiles::Explorer()), generation.explorer,
                  HtmlWriteMode::Plain);
        return 0;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}

long Publication::WriteExplorerChildren(SubTest& objSubTest, int depth)
{
    Generation& generation = *m_generation;
    try {
        // The sub-test's page was just written, which filled its procedures and children.
        const int level = objSubTest.Level();
        for (const auto& procedure : objSubTest.Procedures()) {
            const QString page = PageFiles::Procedure(procedure->Id(), objSubTest.Id());
            m_fileName = PageFiles::InFolder(generation.folder, page);
            if (EditProcedureSheet(*procedure) != 0)
                throw PageFailed(m_fileName);
            WriteExplorerLink(level + 1, page, procedure->Name());
        }
        // Each page restarts its sub-test at level 1: the depth from the plan bounds the walk.
        const auto children =
            depth < OccurrenceKey::kMaxSubTestDepth ? objSubTest.SubTestChildren() : DataCollection<SubTest>();
        if (depth >= OccurrenceKey::kMaxSubTestDepth && objSubTest.SubTestChildren().Count() > 0)
            generation.rows.ChildrenAt(objSubTest.Id(), kImageSubTestLast, objSubTest.Name());
        for (const auto& child : children) {
            const QString page = PageFiles::SubTest(child->Id());
            m_fileName = PageFiles::InFolder(generation.folder, page);
            if (EditSubTest(*child) != 0)
                throw PageFailed(m_fileName);
            WriteExplorerLink(child->Level(), page, child->Name());
            if (WriteExplorerChildren(*child, depth + 1) != 0)
                throw PageFailed(m_fileName);
        }
        return 0;
    } catch (const std::exception&) {
        // The page that failed has logged; the generation reports the stop.
        return 1;
    }
}
