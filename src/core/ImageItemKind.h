#pragma once

// Owner kinds of the stored pictures (IMAGEFILE.ITEM): the pair (item id, kind) names the
// pictures of one description document.
namespace ImageItemKind {
constexpr int Configuration = 2;
constexpr int TestPlan = 3;
constexpr int SubTest = 4;  // every nesting level
constexpr int Procedure = 14;
// A procedure's expected result is a document of its own: sharing kind 14 with the description
// would let the save of one pane replace the other pane's pictures.
constexpr int ProcedureExpectedResult = 114;
}  // namespace ImageItemKind
