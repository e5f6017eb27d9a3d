#include "model/Procedure.h"

#include "core/BugLog.h"
#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "core/services/RenameItem.h"
#include "model/PropertyCaptions.h"
#include "model/PropertyRows.h"
#include "model/Result.h"

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
                       PR::Property(C::kFirstPlayedDate), PR::Property(C::kLastPlayedDate),
                       PR::UsersOnly(C::kTester)});
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
    PropertyGrid& grid = gPropertyGrid();
    const QList<PR::Row> rows = ProcedureRows();
    PR::WriteCaptions(grid, rows);
    if (!Id().isEmpty()) {
        const std::shared_ptr<::Result> result = Result();
        PR::WriteValues(grid, rows, [&](int caption) -> QString {
            switch (caption) {
            case C::kName: return Name();
            case C::kTitle: return Title();
            case C::kDescription: return PR::DocumentText(HasDescription());
            case C::kCreationDate: return PR::DateText(DateCreation());
            case C::kUpdateDate: return PR::DateText(DateUpdate());
            case C::kWorkload: return PR::NumberText(WorkLoad());
            case C::kAuthor: return Author();
            case C::kSubtests: return PR::ListText(HasSubTests());
            case C::kExpectedResult: return PR::DocumentText(HasExpectedResult());
            case C::kStatus: return StatusText(result->Status());
            case C::kComment: return result->Comment();
            case C::kIteration: return QString::number(result->Iteration());
            case C::kFirstPlayedDate: return result->DateCreation();
            case C::kLastPlayedDate: return result->DateUpdate();
            case C::kTester: return result->Tester();
            default: return {};
            }
        });
    }
    PR::Finish(grid);
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
            if (caption == C::kName)
                SetName(PR::Fit(text));
            else if (caption == C::kTitle)
                SetTitle(PR::Fit(text));
            else
                SetWorkLoad(PR::WorkLoadFromText(text));
            // The tree shows a new name only once it is stored; a failed save shows the stored values.
            if (Update() != 0)
                *this = stored;
            else if (caption == C::kName)
                RenameItem(kImageProcedure, Id(), Name());
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
