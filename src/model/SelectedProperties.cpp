#include "model/SelectedProperties.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"

namespace {

// Runs `visit` on a freshly found item of the selected node; `none` when no item is selected.
template <class Result, class Visit>
Result WithSelectedItem(Result none, Visit visit)
{
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return none;
    const int image = node->Image();
    if (image == kImageConfiguration) {
        Configuration configuration;
        configuration.Find(node->Tag());
        return visit(configuration);
    }
    if (image == kImageTestPlan) {
        TestPlan plan;
        plan.SetKey(node->Key());
        plan.Find(node->Tag());
        return visit(plan);
    }
    if (image >= kImageSubTestFirst && image <= kImageSubTestLast) {
        SubTest subTest;
        subTest.SetKey(node->Key());
        subTest.SetLevel(image);
        subTest.Find(KeyId(node->Tag()));
        return visit(subTest);
    }
    if (image == kImageProcedure) {
        Procedure procedure;
        procedure.SetKey(node->Key());
        procedure.Find(KeyIdShort(node->Tag()));
        return visit(procedure);
    }
    return none;
}

}  // namespace

void Refresh_Properties()
{
    try {
        const bool shown = WithSelectedItem(false, [](auto& item) {
            item.Properties();
            return true;
        });
        if (!shown) {
            PropertyGrid& grid = gPropertyGrid();
            grid.SetRows(0);
            grid.Refresh();
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Refresh_Properties : "), error);
    }
}

bool BeforeEditSelectedProperty(int row, int col)
{
    if (col != PropertyGrid::kValueCol)
        return true;
    try {
        return WithSelectedItem(true, [row](auto& item) { return item.BeforeEditProperty(row); });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_grdProperties_BeforeEdit : "), error);
        return true;
    }
}

void AfterEditSelectedProperty(int row, int col)
{
    try {
        WithSelectedItem(false, [row, col](auto& item) {
            item.AfterEditProperty(row, col);
            return true;
        });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_grdProperties_AfterEdit : "), error);
    }
}
