#include "core/ActiveEditor.h"

#include "core/DecmdCommands.h"
#include "core/DescriptionForm.h"
#include "core/HtmlEditor.h"
#include "core/MainToolbars.h"
#include "core/OpenForms.h"

#include <utility>

std::array<QString, 11> gFormatButtonKeys;
std::array<int, 11> gFormatCommandIds{};

namespace {

const QString kDescriptionEditor = QStringLiteral("DHTMLEdit1");
const QString kExpectedEditor = QStringLiteral("DHTMLEdit2");

// Template layout windows are not among this program's windows.
DescriptionForm* ActiveDescriptionForm()
{
    DescriptionForm* form = OpenForms::Active();
    if (!form || form->Tag() == QLatin1String("Template"))
        return nullptr;
    return form;
}

// A combo that shows a text value of the editor: font name or paragraph style.
void UpdateTextCombo(HtmlEditor* editor, int command, ComboModel& combo)
{
    const int status = editor->QueryStatus(command);
    if (status == Decmd::ENABLED || status == Decmd::LATCHED) {
        combo.SetText(editor->ExecCommand(command, Decmd::OPT_DONTPROMPTUSER).toString());
        combo.SetEnabled(true);
    } else {
        combo.SetText(QString());
        combo.SetEnabled(status == Decmd::NINCHED);
    }
}

void UpdateToolbar(ToolbarModel& toolbar, std::initializer_list<std::pair<const char*, int>> buttons)
{
    for (const auto& [key, command] : buttons) {
        try {
            HtmlEditor* editor = ActiveEditor();
            if (editor)
                toolbar.SetEnabled(QLatin1String(key), editor->QueryStatus(command) >= Decmd::ENABLED);
        } catch (...) {
            // One button that cannot be asked must not stop the others.
        }
    }
}

// Tells the main window once a writer is done, on every way out.
struct NotifyOnExit
{
    ~NotifyOnExit() { gMainToolbars().NotifyChanged(); }
};

}  // namespace

HtmlEditor* ActiveEditor()
{
    DescriptionForm* form = ActiveDescriptionForm();
    if (!form)
        return nullptr;
    const QString control = form->ActiveControlName();
    if (control == kExpectedEditor)
        return form->DHTMLEdit2();
    if (control == kDescriptionEditor)
        return form->DHTMLEdit1();
    return nullptr;
}

HtmlEditor* ActiveEditorDocument()
{
    DescriptionForm* form = ActiveDescriptionForm();
    if (!form)
        return nullptr;
    return form->ActiveControlName() == kExpectedEditor ? form->DHTMLEdit2() : form->DHTMLEdit1();
}

void InitFormatButtons()
{
    gFormatButtonKeys = {"Bold",   "Italic",      "Underline", "Numbers",      "Bullets", "Outdent",
                         "Indent", "LeftJustify", "Center",    "RightJustify", "Color"};
    gFormatCommandIds = {Decmd::BOLD,          Decmd::ITALIC,       Decmd::UNDERLINE,   Decmd::ORDERLIST,
                         Decmd::UNORDERLIST,   Decmd::OUTDENT,      Decmd::INDENT,      Decmd::JUSTIFYLEFT,
                         Decmd::JUSTIFYCENTER, Decmd::JUSTIFYRIGHT, Decmd::SETFORECOLOR};
}

void UpdateFormatCombos()
{
    const NotifyOnExit notify;
    MainToolbars& bars = gMainToolbars();
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        return;
    UpdateTextCombo(editor, Decmd::GETFONTNAME, bars.cboFontName);

    if (!(editor = ActiveEditor()))
        return;
    const int status = editor->QueryStatus(Decmd::GETFONTSIZE);
    if (status == Decmd::ENABLED || status == Decmd::LATCHED) {
        const QVariant answer = editor->ExecCommand(Decmd::GETFONTSIZE, Decmd::OPT_DONTPROMPTUSER);
        const int size = answer.isNull() ? 0 : answer.toInt();
        if (size >= 1 && size <= 7)
            bars.cboFontSize.SetListIndex(size - 1);
        else
            bars.cboFontSize.SetText(QString());
        bars.cboFontSize.SetEnabled(true);
    } else {
        bars.cboFontSize.SetText(QString());
        bars.cboFontSize.SetEnabled(status == Decmd::NINCHED);
    }

    if (!(editor = ActiveEditor()))
        return;
    UpdateTextCombo(editor, Decmd::GETBLOCKFMT, bars.cboStyles);
}

void UpdateEditToolbar()
{
    if (!ActiveEditor())
        return;
    const NotifyOnExit notify;
    MainToolbars& bars = gMainToolbars();
    if (bars.mnuviewToolBarEdit) {
        UpdateToolbar(bars.tlbEdit, {{"Find", Decmd::FINDTEXT},
                                     {"Redo", Decmd::REDO},
                                     {"Undo", Decmd::UNDO},
                                     {"Copy", Decmd::COPY},
                                     {"Cut", Decmd::CUT},
                                     {"Paste", Decmd::PASTE}});
    }
    if (bars.mnuViewToolBarTable) {
        UpdateToolbar(bars.tlbTable, {{"RemoveCell", Decmd::DELETECELLS},
                                      {"RemoveColumn", Decmd::DELETECOLS},
                                      {"RemoveRow", Decmd::DELETEROWS},
                                      {"InsertRow", Decmd::INSERTROW},
                                      {"InsertCell", Decmd::INSERTCELL},
                                      {"InsertColumn", Decmd::INSERTCOL},
                                      {"SplitCell", Decmd::SPLITCELL},
                                      {"MergeCell", Decmd::MERGECELLS}});
    }
}
