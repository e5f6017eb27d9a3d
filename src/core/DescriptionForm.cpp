#include "core/DescriptionForm.h"

#include "core/DecmdCommands.h"
#include "core/HtmlEditor.h"
#include "core/MainToolbars.h"
#include "platform/Prompts.h"

void DescriptionForm::InitCboStyle()
{
    // A style list the program cannot fill is no reason to refuse the document.
    try {
        MainToolbars& bars = gMainToolbars();
        // The names are the same for every window: read once per run.
        if (bars.cboStyles.Items().size() > 1)
            return;
        HtmlEditor* editor = DHTMLEdit1();
        if (!editor)
            return;
        bool available = false;
        for (int attempt = 0; attempt < 15 && !available; ++attempt)
            available = editor->QueryStatus(Decmd::GETBLOCKFMTNAMES) == Decmd::ENABLED;
        if (!available) {
            prompts().Message(QStringLiteral("Font styles are not available."), Prompts::ProgramTitle(),
                              Prompts::Icon::Critical, Prompts::Buttons::Ok);
            return;
        }
        const QVariant names = editor->ExecCommand(Decmd::GETBLOCKFMTNAMES, Decmd::OPT_DODEFAULT);
        bars.cboStyles.SetItems(names.toStringList());
        bars.NotifyChanged();
    } catch (...) {
    }
}
