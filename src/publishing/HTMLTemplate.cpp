#include "publishing/HTMLTemplate.h"

#include "core/db/AdoConnection.h"
#include "core/HtmlPages.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

QString HTMLTemplate::Load(int intTypeTemplate)
{
    try {
        QSqlQuery query = gConnection().Query(QStringLiteral("SELECT HTML_TEMPLATE FROM HTML_TEMPLATES WHERE ID = ?"),
                                              {intTypeTemplate});
        if (!query.next())
            return BuiltInDefault(intTypeTemplate);
        const QVariant stored = query.value(0);
        if (stored.isNull())
            return QStringLiteral(" ");
        return ExtractBody(stored.toString());
    } catch (const std::exception& error) {
        LogError(QStringLiteral("HTML Template Error_Load: "), error);
        return {};
    }
}

long HTMLTemplate::Save(int intTypeTemplate, const QString& strHTMLTemplate)
{
    const QString text = strHTMLTemplate.isEmpty() ? QStringLiteral(" ") : strHTMLTemplate;
    try {
        AdoConnection& connection = gConnection();
        DbTransaction transaction(connection);
        const bool exists =
            connection.Scalar(QStringLiteral("SELECT COUNT(*) FROM HTML_TEMPLATES WHERE ID = ?"), {intTypeTemplate})
                .toInt() > 0;
        if (exists) {
            connection.Query(QStringLiteral("UPDATE HTML_TEMPLATES SET HTML_TEMPLATE = ? WHERE ID = ?"),
                             {text, intTypeTemplate});
        } else {
            connection.Query(QStringLiteral("INSERT INTO HTML_TEMPLATES (ID, HTML_TEMPLATE) VALUES (?, ?)"),
                             {intTypeTemplate, text});
        }
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The template could not be committed."));
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("HTML Template Error_Save: "), error);
        return 1;
    }
}

void HTMLTemplate::InstallStyleSheetLoader()
{
    SetStyleSheetLoader([] { return HTMLTemplate().Load(17); });
}
