#include "publishing/FrameSetFile.h"

#include "platform/BugLog.h"
#include "publishing/PageFiles.h"
#include "publishing/PageWriter.h"

#include <QStringList>

long WriteFrameSetFile(const QString& path, const QString& planId)
{
    try {
        const QStringList lines = {
            QStringLiteral("<HTML>"),
            QStringLiteral("<FRAMESET COLS=\"200,*\"FRAMEBORDER=\"0\" BORDER=\"no\" FRAMESPACING=\"0\">"),
            QStringLiteral("<FRAME SRC=\"") + PageFiles::Explorer() + QStringLiteral("\">"),
            // The id is the plan's number; escaped all the same, it cannot break out of the attribute.
            QStringLiteral("<FRAME Name = \"Content\"SRC=\"") + PageFiles::MainTestPlan(planId).toHtmlEscaped() +
                QStringLiteral("\">"),
            QStringLiteral("</FRAMESET>"),
            QStringLiteral("</HTML>"),
        };
        const QString crlf = QStringLiteral("\r\n");
        WritePage(path, lines.join(crlf) + crlf, HtmlWriteMode::Replace);
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_WriteFrameSetFile : "), error);
        return 1;
    }
}
