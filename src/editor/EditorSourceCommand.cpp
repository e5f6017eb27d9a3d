// The HTML code command: the focused pane's source edited by hand.
#include "core/ActiveEditor.h"
#include "core/DecmdCommands.h"
#include "core/HtmlEditor.h"
#include "editor/EditorCommands.h"
#include "editor/HtmlSourceText.h"
#include "editor/frmHTML.h"
#include "platform/BugLog.h"

#include <QPointer>

void EditorCommands::mnuToolsHTML_Click()
{
    // One pane throughout: the marker, the source and the reload.
    const QPointer<HtmlEditor> editor = ActiveEditor();
    if (!editor)
        return;
    bool markerIn = false;
    try {
        // At the start of a selection, which a paste over it would delete.
        editor->InsertHTMLAtSelectionStart(HtmlSourceText::CursorMarker());
        markerIn = true;
        const QString html = editor->DocumentHTML();
        frmHTML window(m_host.owner, m_host.HasActiveChild);
        window.SetSource(html);
        window.exec();
        // From the edited text, not the work file, which may be stale; the pane keeps its
        // snapshot and dirty baseline, so what differs from the last save is saved.
        if (editor)
            editor->ReloadDocumentHTML(window.Source());
        markerIn = false;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ToolsHTML : "), error);
        // The marker must not reach a save: its insertion is one step that Undo takes back.
        try {
            if (markerIn && editor)
                editor->ExecCommand(Decmd::UNDO);
        } catch (const std::exception& undoError) {
            LogError(QStringLiteral("Error_ToolsHTML : "), undoError);
        }
    }
}
