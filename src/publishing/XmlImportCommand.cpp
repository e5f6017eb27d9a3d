#include "publishing/XmlImportCommand.h"

#include "core/services/ProgressBar.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "publishing/XMLFile.h"

int RunXmlImport(const QString& fileName, const XmlImportOptions& options)
{
    Hourglass::Set();
    int result = 1;
    QString reason;
    long number = 0;
    QString text;
    try {
        XMLFile file;
        file.SetFileName(fileName);
        file.SetCSS(options.css);
        file.SetKeepName(options.keepName);
        file.SetConfiguration(options.configuration);
        result = file.Import();
        reason = file.ImportError();
    } catch (const std::exception& error) {
        result = 1;
        const auto* raised = dynamic_cast<const KvlError*>(&error);
        number = raised ? raised->Number() : KvlError::kGeneric;
        text = reason = QString::fromStdString(error.what());
    }
    gProgressBar().SetVisible(false);
    Hourglass::Reset();
    if (result != 1) {
        prompts().Information(QStringLiteral("The test plan was imported successfully."));
        return 0;
    }
    QString message = QStringLiteral("An error has occurred during test plan import.");
    if (!reason.isEmpty())
        message += QLatin1Char('\n') + reason;
    prompts().Critical(message);
    // The import logged its reason itself; an error of this handler comes with its own.
    LogError(QStringLiteral("Error_ImportXML : "), number, text);
    return 1;
}
