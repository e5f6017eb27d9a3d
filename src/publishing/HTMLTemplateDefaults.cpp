#include "publishing/HTMLTemplate.h"

#include <QFile>

namespace {

QString Placeholder(const char* name)
{
    return QStringLiteral("<IMG src=\"") + QLatin1String(name) + QStringLiteral("\">");
}

QString ReportBody(const QString& heading)
{
    return QStringLiteral("<H1>") + heading + QStringLiteral("<HR color=rgb(0,0,0) SIZE=1></H1>") +
           QStringLiteral("<P>Test Plan: <IMG src=\"TESTPLANTITLE.tag\"></P>") +
           QStringLiteral("<P>Test Configuration:</P><UL>") +
           QStringLiteral("<LI><IMG src=\"CONFIGURATIONFIRST.tag\">") +
           QStringLiteral("<LI><IMG src=\"CONFIGURATIONSECOND.tag\">") +
           QStringLiteral("<LI><IMG src=\"CONFIGURATIONTHIRD.tag\"></LI></UL>") +
           QStringLiteral("<HR color=rgb(0,0,0) SIZE=1><P>&nbsp;</P>");
}

QString TableLayout(const char* resource)
{
    QFile file(QStringLiteral(":/templates/") + QLatin1String(resource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

const QString kPageFooter = QStringLiteral("&b&b &p / &P");

}  // namespace

QString HTMLTemplate::BuiltInDefault(int intTypeTemplate)
{
    switch (intTypeTemplate) {
        case 3:
            return Placeholder("TESTPLANDESCRIPTION.tag");
        case 4:
            return Placeholder("SUBTESTDESCRIPTION.tag");
        case 14:
            return Placeholder("PROCEDUREDESCRIPTION.tag");
        case 15:
            return QStringLiteral("&b&w&b");
        case 16:
            return kPageFooter;
        case 20:
            return Placeholder("PROCEDUREDESCRIPTION.tag");
        case 21:
            return QStringLiteral("&bProcedure Sheet&b");
        case 22:
            return kPageFooter;
        case 30:
            return ReportBody(QStringLiteral("Result&nbsp;report"));
        case 31:
            return QStringLiteral("&bResult Report&b");
        case 32:
            return kPageFooter;
        case 33:
            return TableLayout("result-table.htm");
        case 40:
            return ReportBody(QStringLiteral("Progress&nbsp;report"));
        case 41:
            return QStringLiteral("&bProgress Report&b");
        case 42:
            return kPageFooter;
        case 43:
            return TableLayout("progress-table.htm");
        case 50:
            return ReportBody(QStringLiteral("Execution&nbsp;time&nbsp;report"));
        case 51:
            return QStringLiteral("&bExecution Time Report&b");
        case 52:
            return kPageFooter;
        case 53:
            return TableLayout("timepassed-table.htm");
        case 60:
            return ReportBody(QStringLiteral("Daily&nbsp;historic&nbsp;report"));
        case 61:
            return QStringLiteral("&bDaily historic Report&b");
        case 62:
            return kPageFooter;
        default:
            return {};  // the style sheet (17) included
    }
}
