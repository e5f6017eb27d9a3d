#pragma once

// Writes a small demonstration plan into the database open on gConnection(), through the item
// classes: one configuration with its equipment, a test plan with two levels of sub-tests, a
// sub-test and a procedure each linked twice, procedures with descriptions and expected results,
// and a few results. The explorer's node model receives the nodes on the way. All or nothing:
// 0 done, 1 failed (logged, nothing stored).
int BuildDemonstrationPlan();
