#include "model/Procedure.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "model/PropertyRows.h"
#include "model/Result.h"
#include "platform/BugLog.h"

namespace PR = PropertyRows;
namespace C = PropertyCaptions;

namespace {

QList<PR::Row> ProcedureRows()
{
    using E = PR::Editor;
    return PR::Layout({PR::Group(C::kMain), PR::Property(C::kName, E::Plain), PR::Property(C::kTitle, E::Button),
                       PR::Property(C::kDescription, E::DocumentButton), PR::Property(C::kCreationDate),
                       PR::Property(C::kUpdateDate), PR::Property(C::kWorkload, E::Plain), PR::UsersOnly(C::kAuthor),
                       PR::Group(C::kLinks), PR::Property(C::kSubtests, E::ListButton), PR::Group(C::kResult),
                       PR::Property(C::kExpectedResult, E::DocumentButton), PR::Property(C::kStatus, E::StatusList),
                       PR::Property(C::kComment, E::Button), PR::Property(C::kIteration, E::Plain),
                       PR::Property(C::kFirstPlayedDate), PR::Property(C::kLastPlayedDate), PR::UsersOnly(C::kTester)});
}

// The execution result belongs to whoever plays the procedure, not only to its authors.
bool IsResultRow(int caption)
{
    return caption == C::kStatus || caption == C::kComment || caption == C::kIteration;
}

}  // namespace

void Procedure::Properties()
{
    LoadSubTests(false);
    std::shared_ptr<::Result> result;
    if (!Id().isEmpty())
        result = Result();
    PR::Write(gPropertyGrid(), ProcedureRows(), *this, [&](int caption) -> QString {
        switch (caption) {
            case C::kWorkload:
                return PR::NumberText(WorkLoad());
            case C::kSubtests:
                return PR::ListText(HasSubTests());
            case C::kExpectedResult:
                return PR::DocumentText(HasExpectedResult());
            case C::kStatus:
                return StatusText(result->Status());
            case C::kComment:
                return result->Comment();
            case C::kIteration:
                return QString::number(result->Iteration());
            case C::kFirstPlayedDate:
                return result->DateCreation();
            case C::kLastPlayedDate:
                return result->DateUpdate();
            default:
                return result->Tester();
        }
    });
}

bool Procedure::BeforeEditProperty(int intRow)
{
    bool cancel = true;
    try {
        PropertyGrid& grid = gPropertyGrid();
        LoadSubTests(false);
        const PR::Row row = PR::At(ProcedureRows(), intRow);
        if (IsResultRow(row.caption) || CanModify())
            cancel = PR::ChooseEditor(grid, intRow, row.editor, HasSubTests());
        else if (intRow >= 0 && intRow < grid.Rows())
            grid.SetEditor(intRow, PropertyGrid::kPlainEditor);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_BeforeEditProperty Procedure : "), error);
    }
    return cancel;
}

void Procedure::AfterEditProperty(int Row, int Col)
{
    try {
        const QString text = gPropertyGrid().TextMatrix(Row, Col);
        const int caption = PR::At(ProcedureRows(), Row).caption;
        if (caption == C::kName || caption == C::kTitle || caption == C::kWorkload) {
            const Procedure stored = *this;
            if (!PR::SetMainText(*this, caption, text))
                SetWorkLoad(PR::WorkLoadFromText(text));
            PR::Save(*this, stored, caption, kImageProcedure);
        } else if (IsResultRow(caption)) {
            const std::shared_ptr<::Result> result = Result();
            const ::Result stored = *result;
            if (caption == C::kStatus) {
                result->SetStatus(StatusFromText(text));
                result->SetIteration(result->Iteration() + 1);
            } else if (caption == C::kComment) {
                result->SetComment(PR::Fit(text, PR::kCommentWidth));
            } else {
                result->SetIteration(PR::IterationFromText(text));
            }
            if (result->Update() != 0)
                *result = stored;
        }
        Properties();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_AfterEditProperty Procedure : "), error);
    }
}
