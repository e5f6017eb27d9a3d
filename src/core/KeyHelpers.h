#pragma once

#include <QString>
#include <QVariant>

// Item kinds; the same numbers serve as tree images, toolbox buttons and picture owner kinds.
enum ItemImage : int {
    kImageRoot = 1,
    kImageConfiguration = 2,
    kImageTestPlan = 3,
    kImageSubTestFirst = 4,  // sub-test at nesting level 1
    kImageSubTestLast = 13,  // sub-test at nesting level 10
    kImageProcedure = 14,
};

// Result status codes.
enum ResultStatus : int { kPassed = 0, kFailed = 1, kCanceled = 2, kWarning = 3, kUnplayed = 4, kUndefined = 5 };

// Text of the location combo that stands for the whole database in the search pane.
inline const QString kWholeDatabaseLocation = QStringLiteral("Test Plan Database");

QString KeyIdShort(const QString& tag);
QString KeyId(const QString& tag);
QString TestPlanIdFromKey(const QString& key);
QString ConfigurationIdFromKey(const QString& key);
int NodeLevel(const QString& path);
// The name of the test plan a node key lies under; "" for the root, a key without a test plan, or
// a test plan that does not exist.
QString SearchTestPlanName(const QString& key);

QString StatusText(const QVariant& status);
int StatusFromText(const QVariant& text);
// Display names of the six statuses, "Passed" to "Undefined".
QString StatusName(int status);

bool CanModify();

// True when an item found by a search lies under the chosen location: the location combo's text,
// and the key of its selected item ("KeyId:" & node key). A location without a key (its load
// failed) counts as the whole database.
bool CheckDevice(const QString& key, int itemType, const QString& locationText, const QString& locationKey);
// The same against the search pane's location (gSearchLocation()).
bool CheckDevice(const QString& key, int itemType);
