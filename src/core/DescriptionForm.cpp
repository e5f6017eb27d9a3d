#include "core/DescriptionForm.h"

#include "core/DecmdCommands.h"
#include "core/HtmlEditor.h"
#include "core/MainToolbars.h"

void DescriptionForm::InitCboStyle()
{
    HtmlEditor* editor = DHTMLEdit1();
    if (!editor)
        return;
    const QVariant names = editor->ExecCommand(Decmd::GETBLOCKFMTNAMES, Decmd::OPT_DONTPROMPTUSER);
    gMainToolbars().cboStyles.SetItems(names.toStringList());
    gMainToolbars().NotifyChanged();
}
