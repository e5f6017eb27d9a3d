#include "core/DocumentType.h"

QString gMetaTestPlan;
QString gMetaSubTest;
QString gMetaProcedure;
QString gMetaSheet;
QString gMetaResult;
QString gMetaProgress;
QString gMetaTimePassed;
QString gMetaHistoric;
QString gMetaHeader;
QString gMetaFooter;

namespace {
QString TypeWord(int documentType)
{
    switch (documentType) {
        case DocumentType::TestPlan:
            return QStringLiteral("TESTPLAN");
        case DocumentType::SubTest:
            return QStringLiteral("SUBTEST");
        case DocumentType::Procedure:
            return QStringLiteral("PROCEDURE");
        case DocumentType::Sheet:
            return QStringLiteral("SHEET");
        case DocumentType::Result:
            return QStringLiteral("RESULT");
        case DocumentType::Progress:
            return QStringLiteral("PROGRESS");
        case DocumentType::TimePassed:
            return QStringLiteral("TIMEPASSED");
        case DocumentType::Historic:
            return QStringLiteral("HISTORIC");
        case DocumentType::Header:
            return QStringLiteral("HEADER");
        case DocumentType::Footer:
            return QStringLiteral("FOOTER");
        default:
            return {};
    }
}
}  // namespace

QString MetaLine(int documentType)
{
    const QString word = TypeWord(documentType);
    if (word.isEmpty())
        return {};
    return QStringLiteral("<META NAME=\"TYPE\" Content=\"") + word + QStringLiteral("\">");
}

void BuildMetaStrings()
{
    gMetaTestPlan = MetaLine(DocumentType::TestPlan);
    gMetaSubTest = MetaLine(DocumentType::SubTest);
    gMetaProcedure = MetaLine(DocumentType::Procedure);
    gMetaSheet = MetaLine(DocumentType::Sheet);
    gMetaResult = MetaLine(DocumentType::Result);
    gMetaProgress = MetaLine(DocumentType::Progress);
    gMetaTimePassed = MetaLine(DocumentType::TimePassed);
    gMetaHistoric = MetaLine(DocumentType::Historic);
    gMetaHeader = MetaLine(DocumentType::Header);
    gMetaFooter = MetaLine(DocumentType::Footer);
}
