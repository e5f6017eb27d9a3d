#include "core/KeyHelpers.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/NodeKey.h"
#include "core/services/SearchLocation.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <array>

QString KeyIdShort(const QString& tag)
{
    if (tag.isEmpty())
        return {};
    return tag.section(QLatin1Char('|'), 1, 1);
}

QString KeyId(const QString& tag)
{
    return tag.size() > 3 ? KeyIdShort(tag) : QString();
}

QString TestPlanIdFromKey(const QString& key)
{
    if (key.isEmpty())
        return {};
    if (!key.contains(NodeKey::kSeparator))
        return key;
    return key.section(NodeKey::kSeparator, 1, 1);
}

QString ConfigurationIdFromKey(const QString& key)
{
    const int sep = static_cast<int>(key.indexOf(NodeKey::kSeparator));
    if (sep >= 0)
        return key.mid(4, sep - 4);
    if (key.contains(NodeKey::kConfigurationPrefix))
        return key.mid(4);
    return {};
}

int NodeLevel(const QString& path)
{
    return 3 + static_cast<int>(path.count(QLatin1Char('\\')));
}

QString StatusName(int status)
{
    static const std::array<QString, 6> names = {QStringLiteral("Passed"),   QStringLiteral("Failed"),
                                                 QStringLiteral("Canceled"), QStringLiteral("Warning"),
                                                 QStringLiteral("Unplayed"), QStringLiteral("Undefined")};
    return (status >= 0 && status < 6) ? names[static_cast<size_t>(status)] : QString();
}

QString StatusText(const QVariant& status)
{
    bool ok = false;
    const int code = status.toInt(&ok);
    if (!ok || code < kPassed || code > kWarning)
        return {};
    return StatusName(code);
}

int StatusFromText(const QVariant& text)
{
    const QString value = text.toString();
    for (int code = kPassed; code <= kWarning; ++code) {
        if (StatusName(code) == value)
            return code;
    }
    return kPassed;
}

bool CanModify()
{
    return !gUserManagement || gUserCategory > 2;
}

bool CheckDevice(const QString& key, int itemType, const QString& locationText, const QString& locationKey)
{
    if (locationText == kWholeDatabaseLocation)
        return true;
    const QString marker = QStringLiteral("KeyId:");
    const int at = static_cast<int>(locationKey.indexOf(marker));
    NodeKey location = NodeKey::Parse(at >= 0 ? locationKey.mid(at + marker.size()) : locationKey);
    if (location.IsEmpty() || location.IsRoot())
        return true;
    if (itemType == kImageConfiguration && location.Count() > 1)
        location = location.Prefix(1);
    else if (itemType == kImageTestPlan && location.Count() > 2)
        location = location.Prefix(2);
    // Whole segments only: "Eqpt3" must not match "Eqpt30...".
    return NodeKey::Parse(key).IsWithin(location);
}

bool CheckDevice(const QString& key, int itemType)
{
    const SearchLocation& location = gSearchLocation();
    return CheckDevice(key, itemType, location.Text(), location.Key());
}

QString SearchTestPlanName(const QString& key)
{
    const QChar separator(0x00A4);
    if (key.isEmpty() || key == QLatin1String("Root") || !key.contains(separator))
        return {};
    // Read directly rather than through the test-plan object, which sits a layer above this one.
    try {
        const QVariant name = gConnection().Scalar(QStringLiteral("SELECT NAME FROM TESTPLAN WHERE ID = ?"),
                                                   {IdValue(TestPlanIdFromKey(key))});
        return name.toString();
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_SearchTestPlanName :"), error);
        return {};
    }
}
