#include "model/SelectedProperties.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/PropertyRows.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace C = PropertyCaptions;

namespace {

// The error the file dialog raises when the user cancels it.
constexpr long kDialogCancelled = 32755;

// Runs `visit(item, found)` on the item of the selected node, freshly read; `none` when no item
// is selected.
template <class Result, class Visit>
Result WithSelectedItem(Result none, Visit visit)
{
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return none;
    const int image = node->Image();
    if (image == kImageConfiguration) {
        Configuration configuration;
        const bool found = configuration.Find(node->Tag()) == 0;
        return visit(configuration, found);
    }
    if (image == kImageTestPlan) {
        TestPlan plan;
        plan.SetKey(node->Key());
        const bool found = plan.Find(node->Tag()) == 0;
        return visit(plan, found);
    }
    if (image >= kImageSubTestFirst && image <= kImageSubTestLast) {
        SubTest subTest;
        subTest.SetKey(node->Key());
        subTest.SetLevel(image);
        const bool found = subTest.Find(KeyId(node->Tag())) == 0;
        return visit(subTest, found);
    }
    if (image == kImageProcedure) {
        Procedure procedure;
        procedure.SetKey(node->Key());
        const bool found = procedure.Find(KeyIdShort(node->Tag())) == 0;
        return visit(procedure, found);
    }
    return none;
}

bool Is(const QString& caption, int id)
{
    return caption == C::Text(id);
}

// Asks for the cell's text in the input popup and stores it through the item's own edit, which
// cuts it to its column. A cancelled popup or an unchanged text stores nothing.
template <class Item>
void InputInto(Item& item, int row, int col, const QString& prompt, int length)
{
    PropertyGrid& grid = gPropertyGrid();
    const QString current = grid.TextMatrix(row, col);
    const std::optional<QString> typed = prompts().InputText(prompt, QString(), current, length);
    if (!typed || *typed == current)
        return;
    grid.SetTextMatrix(row, col, *typed);
    item.AfterEditProperty(row, col);
}

// The file's bytes, or a message naming the file and nothing.
std::optional<QByteArray> ReadTemplateFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    QString problem;
    QByteArray bytes;
    if (!info.exists()) {
        problem = QStringLiteral("The file %1 does not exist.");
    } else if (!info.isFile()) {
        problem = QStringLiteral("%1 is not a file.");
    } else if (info.size() > kMaxWordTemplateBytes) {
        problem = QStringLiteral("The file %1 is larger than 32 MB.");
    } else {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            problem = QStringLiteral("The file %1 cannot be read.");
        else
            bytes = file.read(kMaxWordTemplateBytes + 1);
        if (problem.isEmpty() && file.error() != QFile::NoError)
            problem = QStringLiteral("The file %1 cannot be read.");
        else if (problem.isEmpty() && bytes.isEmpty())
            problem = QStringLiteral("The file %1 is empty.");
        else if (problem.isEmpty() && bytes.size() > kMaxWordTemplateBytes)
            problem = QStringLiteral("The file %1 is larger than 32 MB.");
    }
    if (problem.isEmpty())
        return bytes;
    prompts().Critical(problem.arg(QDir::toNativeSeparators(fileName)));
    return std::nullopt;
}

void UploadWordTemplate(TestPlan& plan)
{
    const QString fileName =
        prompts().OpenFile(QStringLiteral("Ouvrir"), AppFolders::DefaultDocumentsPath(), QStringLiteral("dot (*.dot)"));
    if (fileName.isEmpty())
        throw KvlError(kDialogCancelled, QStringLiteral("Cancel was selected."));
    const std::optional<QByteArray> bytes = ReadTemplateFile(fileName);
    if (!bytes)
        return;
    plan.StoreWordTemplate(*bytes);
    plan.Properties();
}

void CellButton(Configuration& item, const QString& caption, int row, int col)
{
    if (Is(caption, C::kDescription))
        item.LoadDocument();
    else if (Is(caption, C::kTestPlans))
        item.LoadTestPlans(true);
    else if (Is(caption, C::kTitle))
        InputInto(item, row, col, QStringLiteral("Fill Configuration title"), 50);
    else if (Is(caption, C::kFirst))
        InputInto(item, row, col, QStringLiteral("Fill Configuration first equipment"), 100);
    else if (Is(caption, C::kSecond))
        InputInto(item, row, col, QStringLiteral("Fill Configuration second equipment"), 100);
    else if (Is(caption, C::kThird))
        InputInto(item, row, col, QStringLiteral("Fill Configuration third equipment"), 100);
}

void CellButton(Procedure& item, const QString& caption, int row, int col)
{
    if (Is(caption, C::kDescription) || Is(caption, C::kExpectedResult))
        item.LoadDocument(row);
    else if (Is(caption, C::kSubtests))
        item.LoadSubTests(true);
    else if (Is(caption, C::kTitle))
        InputInto(item, row, col, QStringLiteral("Fill procedure title"), 50);
    else if (Is(caption, C::kComment))
        InputInto(item, row, col, QStringLiteral("Fill result Comment"), PropertyRows::kCommentWidth);
}

void CellButton(TestPlan& item, const QString& caption, int row, int col)
{
    if (Is(caption, C::kDescription))
        item.LoadDocument();
    else if (Is(caption, C::kSubtests))
        item.LoadSubTests1(true);
    else if (Is(caption, C::kConfigurations))
        item.LoadConfiguration(true);
    else if (Is(caption, C::kTitle))
        InputInto(item, row, col, QStringLiteral("Fill test plan title"), 50);
    else if (Is(caption, C::kWordTemplate))
        UploadWordTemplate(item);
}

void CellButton(SubTest& item, const QString& caption, int row, int col)
{
    if (Is(caption, C::kDescription))
        item.LoadDocument();
    else if (Is(caption, C::kTestPlans))
        item.LoadTestPlans(true, true);
    else if (Is(caption, C::kProcedures))
        item.LoadProcedures(true);
    else if (Is(caption, C::kSubtestsParents))
        item.LoadSubTestParents(true);
    else if (Is(caption, C::kSubtestsChildren))
        item.LoadSubTestChildren(true);
    else if (Is(caption, C::kTitle))
        InputInto(item, row, col, QStringLiteral("Fill sub test title"), 50);
}

}  // namespace

void Refresh_Properties()
{
    if (!gSelectedNode())
        return;
    enum class Shown { Nothing, Rows, Missing };
    try {
        const Shown shown = WithSelectedItem(Shown::Nothing, [](auto& item, bool found) {
            if (!found)
                return Shown::Missing;
            item.Properties();
            return Shown::Rows;
        });
        if (shown != Shown::Rows) {
            PropertyGrid& grid = gPropertyGrid();
            grid.SetRows(0);
            grid.Refresh();
        }
        if (shown == Shown::Missing)
            WriteBugLog(QStringLiteral("Error_Refresh_Properties : the item of node %1 is not in the database.")
                            .arg(gSelectedNode()->Key()),
                        kLogAppend);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Refresh_Properties : "), error);
    }
}

bool BeforeEditSelectedProperty(int row, int col)
{
    if (col != PropertyGrid::kValueCol)
        return true;
    try {
        return WithSelectedItem(true, [row](auto& item, bool) { return item.BeforeEditProperty(row); });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_BeforeEdit : "), error);
        return true;
    }
}

bool AcceptsTypedProperty(const QString& caption, const QString& text)
{
    try {
        if (Is(caption, C::kWorkload))
            PropertyRows::WorkLoadFromText(text);
        else if (Is(caption, C::kIteration))
            PropertyRows::IterationFromText(text);
        return true;
    } catch (const KvlError&) {
        return false;
    }
}

int AfterEditSelectedProperty(int row, int col)
{
    try {
        const bool found = WithSelectedItem(true, [row, col](auto& item, bool found) {
            if (found)
                item.AfterEditProperty(row, col);
            return found;
        });
        if (found)
            return 0;
        LogError(QStringLiteral("Error_AfterEdit : "), ItemRecord::kRowNotFound,
                 QStringLiteral("The item of node %1 is not in the database.").arg(gSelectedNode()->Key()));
        prompts().Critical(QStringLiteral("Can't find the item in database."));
        Refresh_Properties();
        return 1;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_AfterEdit : "), error);
        return 0;
    }
}

void CellButtonSelectedProperty(int row, int col)
{
    try {
        const QString caption = gPropertyGrid().TextMatrix(row, PropertyGrid::kCaptionCol);
        WithSelectedItem(false, [&](auto& item, bool) {
            CellButton(item, caption, row, col);
            return true;
        });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_CellButtonClick : "), error);
    }
}

void DeleteSelectedWordTemplate(int row)
{
    try {
        const ExplorerNode* node = gSelectedNode();
        if (!node || node->Image() != kImageTestPlan ||
            !Is(gPropertyGrid().TextMatrix(row, PropertyGrid::kCaptionCol), C::kWordTemplate))
            return;
        if (BeforeEditSelectedProperty(row, PropertyGrid::kValueCol))
            return;
        if (!prompts().Question(QStringLiteral("Do you really want to delete the Word template ?")))
            return;
        TestPlan plan;
        plan.SetKey(node->Key());
        if (plan.Find(node->Tag()) != 0) {
            LogError(QStringLiteral("Error_TemplateDelete : "), ItemRecord::kRowNotFound,
                     QStringLiteral("The test plan of node %1 is not in the database.").arg(node->Key()));
            return;
        }
        plan.StoreWordTemplate(QByteArray());
        plan.Properties();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_TemplateDelete : "), error);
    }
}
