#include "publishing/HTMLTemplate.h"

#include "core/db/AdoConnection.h"
#include "core/HtmlPages.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

QString HTMLTemplate::Load(int intTypeTemplate, bool* ok)
{
    if (ok)
        *ok = false;
    try {
        QSqlQuery query = gConnection().Query(QStringLiteral("SELECT HTML_TEMPLATE FROM HTML_TEMPLATES WHERE ID = ?"),
                                              {intTypeTemplate});
        QString body;
        if (!query.next())
            body = BuiltInDefault(intTypeTemplate);
        else if (query.value(0).isNull())
            body = QStringLiteral(" ");
        else
            body = ExtractBody(query.value(0).toString());
        if (ok)
            *ok = true;
        return body;
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
    SetStyleSheetLoader([] {
        bool ok = false;
        const QString styleSheet = HTMLTemplate().Load(17, &ok);
        if (!ok)
            throw KvlError(QStringLiteral("The style sheet could not be read."));
        return styleSheet;
    });
}
