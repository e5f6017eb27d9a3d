// The Insert commands, table properties and the Edit and Table menus' opening rules.
#include "core/ActiveEditor.h"
#include "core/DecmdCommands.h"
#include "core/EditorWindows.h"
#include "core/HtmlEditor.h"
#include "editor/EditorCommands.h"
#include "editor/frmTable.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

HtmlEditor* PasteTarget()
{
    HtmlEditor* editor = ActiveEditorDocument();
    if (!editor)
        throw KvlError(91, QStringLiteral("No description is being edited."));
    return editor;
}

// A file of its own for each screen shot: a description may hold several before it is saved.
QString NewScreenShotFile()
{
    QTemporaryFile file(QDir(gTempPath).filePath(QStringLiteral("screenshot-XXXXXX.bmp")));
    file.setAutoRemove(false);
    if (!file.open())
        throw KvlError(75, QStringLiteral("Path/File access error: %1").arg(file.errorString()));
    return file.fileName();
}

}  // namespace

void EditorCommands::Paste(const QString& html, const QString& message, const QString& label)
{
    if (!HasActiveChild())
        return;
    try {
        PasteTarget()->PasteHTML(html);
    } catch (const std::exception& error) {
        prompts().Critical(message);
        LogError(label, error);
    }
}

void EditorCommands::mnuInsertLine_Click()
{
    Paste(QStringLiteral("<HR>"), QStringLiteral("Can't insert horizontal line."),
          QStringLiteral("Error_InsertLine: "));
}

void EditorCommands::mnuInsertLineBreak_Click()
{
    Paste(QStringLiteral("<br>"), QStringLiteral("Can't insert line break."),
          QStringLiteral("Error_InsertLineBreak : "));
}

void EditorCommands::mnuInsertPageBreak_Click()
{
    Paste(QStringLiteral("<br style='page-break-before:always'>"), QStringLiteral("Can't insert page break."),
          QStringLiteral("Error_InsertPageBreak : "));
}

void EditorCommands::mnuEditHyperlink_Click()
{
    Run(Decmd::HYPERLINK);
}

void EditorCommands::mnuInsertPicture_Click()
{
    RunWithDialog(Decmd::IMAGE, QStringLiteral("An error occurred inserting the picture."),
                  QStringLiteral("Error_Picture : "));
}

void EditorCommands::mnuInsertScreenShot_Click()
{
    if (!HasActiveChild())
        return;
    try {
        const QImage shot = m_host.ClipboardImage ? m_host.ClipboardImage() : QImage();
        if (shot.isNull()) {
            prompts().Critical(
                QStringLiteral("No screen shot available.\nBe sure you've previsously clicked on "
                               "Print screen key."));
            return;
        }
        QString file;
        if (Settings::GetSetting(QStringLiteral("Options"), QStringLiteral("StoreImage"), QStringLiteral("1"))
                .toInt() == 0) {
            file = prompts().SaveFile(QStringLiteral("Save screen shot in bitmap file"), QString(),
                                      QStringLiteral("Bitmap (*.bmp)"));
            if (file.isEmpty())
                return;
        } else {
            file = NewScreenShotFile();
        }
        if (!shot.save(file, "BMP"))
            throw KvlError(75, QStringLiteral("Path/File access error: '%1' could not be written.").arg(file));
        PasteTarget()->PasteHTML(QStringLiteral("<P><IMG  src=\"%1\" align=baseline border=0 width =\"100%\"></P>")
                                     .arg(file.toHtmlEscaped()));
    } catch (const std::exception& error) {
        prompts().Critical(QStringLiteral("Can't insert screen shot."));
        LogError(QStringLiteral("Error_InsertScreenShot : "), error);
    }
}

void EditorCommands::mnuEditProperties_Click()
{
    try {
        // The pane that has the focus, whose selection the dialog's OK writes to.
        HtmlEditor* editor = ActiveEditorDocument();
        if (!editor)
            return;
        const QString startTag = editor->SelectedTable();
        if (startTag.isEmpty())
            return;
        const HtmlDocument parsed(startTag + QStringLiteral("</table>"));
        const QList<HtmlElement> tables = parsed.ElementsByTag(QStringLiteral("table"));
        if (tables.isEmpty())
            return;
        SetTableAttributes(tables.first());
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_EditProperties :"), error);
    }
}

frmTable* EditorCommands::NewTableDialog() const
{
    return m_newTable;
}

void EditorCommands::mnuCreateTable_Click()
{
    if (!HasActiveChild())
        return;
    if (!m_newTable)
        m_newTable = new frmTable(m_host.owner);
    m_newTable->ShowNewTable();
}

QHash<QString, bool> EditorCommands::mnuEdit_Click() const
{
    QHash<QString, bool> states;
    if (!HasActiveChild())
        return states;
    HtmlEditor* editor = ActiveEditor();
    if (!editor) {
        for (const char* name : {"mnuEditRedo", "mnuEditUndo", "mnuEditCopy", "mnuEditCut", "mnuEditPaste",
                                 "mnuEditSelectAll", "mnuEditInsert", "mnuEditFind", "mnuEditProperties"})
            states.insert(QLatin1String(name), false);
        return states;
    }
    states.insert(QStringLiteral("mnuEditProperties"), true);
    // Closed outside an editor, the submenu is opened again here: nothing else would.
    states.insert(QStringLiteral("mnuEditInsert"), true);
    const QList<std::pair<const char*, int>> items = {
        {"mnuEditFind", Decmd::FINDTEXT},      {"mnuEditRedo", Decmd::REDO}, {"mnuEditUndo", Decmd::UNDO},
        {"mnuEditCopy", Decmd::COPY},          {"mnuEditCut", Decmd::CUT},   {"mnuEditPaste", Decmd::PASTE},
        {"mnuEditSelectAll", Decmd::SELECTALL}};
    for (const auto& [name, command] : items) {
        try {
            states.insert(QLatin1String(name), editor->QueryStatus(command) >= Decmd::ENABLED);
        } catch (...) {
            // One item the editor cannot tell about keeps its state; the others go on.
        }
    }
    return states;
}

QHash<QString, bool> EditorCommands::mnuTable_Click() const
{
    QHash<QString, bool> states;
    if (!HasActiveChild())
        return states;
    const QList<std::pair<const char*, int>> items = {
        {"mnuRemoveTableCells", Decmd::DELETECELLS}, {"mnuRemoveTableColumns", Decmd::DELETECOLS},
        {"mnuRemoveTableRows", Decmd::DELETEROWS},   {"mnuInsertTableRow", Decmd::INSERTROW},
        {"mnuInsertTableCell", Decmd::INSERTCELL},   {"mnuInsertTableColum", Decmd::INSERTCOL},
        {"mnuSplitCells", Decmd::SPLITCELL},         {"mnuMergeCells", Decmd::MERGECELLS}};
    HtmlEditor* editor = ActiveEditor();
    // Closed outside an editor, "Table ..." is opened again here: nothing else would.
    states.insert(QStringLiteral("mnuCreateTable"), editor != nullptr);
    for (const auto& [name, command] : items) {
        try {
            states.insert(QLatin1String(name), editor && editor->QueryStatus(command) >= Decmd::ENABLED);
        } catch (...) {
            // Ignored: the other items go on.
        }
    }
    return states;
}
