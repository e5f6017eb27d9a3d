#include "publishing/XMLFile.h"

#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "publishing/XmlPlanWriter.h"

#include <QSaveFile>

int XMLFile::Export(TestPlan& objTestPlan)
{
    const QString label = QStringLiteral("Error_Export XML : ");
    try {
        // The previous file stays as it was until the whole document is written.
        QSaveFile file(m_fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw KvlError(KvlError::kGeneric,
                           QStringLiteral("'%1' cannot be written: %2").arg(m_fileName, file.errorString()));
        XmlPlanWriter writer(file, objTestPlan);
        writer.Write();
        if (writer.DeviceFailed() || !file.commit())
            throw KvlError(KvlError::kGeneric,
                           QStringLiteral("'%1' could not be saved: %2").arg(m_fileName, file.errorString()));
        if (writer.Replaced() > 0)
            LogError(label, 0,
                     QStringLiteral("%1 characters that XML cannot carry were written as U+FFFD in '%2'.")
                         .arg(writer.Replaced())
                         .arg(m_fileName));
        return 0;
    } catch (const XmlPlanWriter::Failed&) {
        return 1;
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
}
