#include "core/OptionDefaults.h"

#include "platform/AppFolders.h"
#include "platform/Settings.h"

#include <QDir>

const QString OptionDefaults::Section = QStringLiteral("Options");

QString OptionDefaults::Default(const QString& key)
{
    const auto is = [&key](const char* name) { return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is("TempPath"))
        return AppFolders::DefaultTempPath();
    if (is("ImagePath"))
        return AppFolders::DefaultImagePath();
    if (is("HelpPath"))
        return QDir(AppFolders::DataFolder()).filePath(QStringLiteral("Help/Koravel_ENG"));
    if (is("StoreImage") || is("SubTestTemplate") || is("ProcedurePageBreak") || is("MultiPages"))
        return QStringLiteral("1");
    if (is("Charset"))
        return QStringLiteral("UTF-8");
    // The naming prefixes of new items default to their own key.
    for (const char* prefix : {"Configuration", "TestPlan", "SubTest", "Procedure"}) {
        if (is(prefix))
            return QString::fromLatin1(prefix);
    }
    return QString();
}

QString OptionDefaults::Get(const QString& key)
{
    return Settings::GetSetting(Section, key, Default(key));
}

bool OptionDefaults::StoreImage()
{
    bool isNumber = false;
    const double value = Get(QStringLiteral("StoreImage")).trimmed().toDouble(&isNumber);
    return isNumber && value == 1;
}

QStringList OptionDefaults::Keys()
{
    return {QStringLiteral("TempPath"),
            QStringLiteral("HelpPath"),
            QStringLiteral("ImagePath"),
            QStringLiteral("SubTestTemplate"),
            QStringLiteral("ProcedurePageBreak"),
            QStringLiteral("MultiPages"),
            QStringLiteral("Configuration"),
            QStringLiteral("TestPlan"),
            QStringLiteral("SubTest"),
            QStringLiteral("Procedure"),
            QStringLiteral("Charset"),
            QStringLiteral("StoreImage")};
}
