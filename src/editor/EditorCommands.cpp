#include "editor/EditorCommands.h"

#include "core/ActiveEditor.h"
#include "core/DecmdCommands.h"
#include "core/DescriptionForm.h"
#include "core/HtmlEditor.h"
#include "core/MainToolbars.h"
#include "core/OpenForms.h"
#include "editor/frmTable.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "publishing/HtmlColor.h"
#include "publishing/modEdition.h"

namespace {

// The format toolbar's buttons and their commands; the Color button asks for its colour first.
const QHash<QString, int>& FormatCommands()
{
    static const QHash<QString, int> commands = {
        {QStringLiteral("Bold"), Decmd::BOLD},
        {QStringLiteral("Italic"), Decmd::ITALIC},
        {QStringLiteral("Underline"), Decmd::UNDERLINE},
        {QStringLiteral("LeftJustify"), Decmd::JUSTIFYLEFT},
        {QStringLiteral("Center"), Decmd::JUSTIFYCENTER},
        {QStringLiteral("RightJustify"), Decmd::JUSTIFYRIGHT},
        {QStringLiteral("Numbers"), Decmd::ORDERLIST},
        {QStringLiteral("Bullets"), Decmd::UNORDERLIST},
        {QStringLiteral("Outdent"), Decmd::OUTDENT},
        {QStringLiteral("Indent"), Decmd::INDENT},
    };
    return commands;
}

// The table toolbar's buttons in their order; 5 and 9 are separators.
const QStringList& TableButtons()
{
    static const QStringList keys = {QStringLiteral("InsertTable"),
                                     QStringLiteral("InsertColumn"),
                                     QStringLiteral("InsertRow"),
                                     QStringLiteral("InsertCell"),
                                     QString(),
                                     QStringLiteral("RemoveColumn"),
                                     QStringLiteral("RemoveRow"),
                                     QStringLiteral("RemoveCell"),
                                     QString(),
                                     QStringLiteral("MergeCell"),
                                     QStringLiteral("SplitCell")};
    return keys;
}

// A colour value as the colour dialogs give it: red in the lowest byte.
long ColourValue(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace

EditorCommands::EditorCommands(EditorCommandHost host) : m_host(std::move(host)) {}

EditorCommands::~EditorCommands()
{
    delete m_newTable;
}

QList<std::pair<QString, EditorCommands::Handler>> EditorCommands::Handlers()
{
    QList<std::pair<QString, Handler>> handlers;
    const QList<std::pair<const char*, void (EditorCommands::*)()>> menus = {
        {"mnuEditUndo", &EditorCommands::mnuEditUndo_Click},
        {"mnuEditRedo", &EditorCommands::mnuEditRedo_Click},
        {"mnuInsertLine", &EditorCommands::mnuInsertLine_Click},
        {"mnuInsertLineBreak", &EditorCommands::mnuInsertLineBreak_Click},
        {"mnuInsertPageBreak", &EditorCommands::mnuInsertPageBreak_Click},
        {"mnuEditHyperlink", &EditorCommands::mnuEditHyperlink_Click},
        {"mnuInsertPicture", &EditorCommands::mnuInsertPicture_Click},
        {"mnuInsertScreenShot", &EditorCommands::mnuInsertScreenShot_Click},
        {"mnuEditProperties", &EditorCommands::mnuEditProperties_Click},
        {"mnuEditCut", &EditorCommands::mnuEditCut_Click},
        {"mnuEditCopy", &EditorCommands::mnuEditCopy_Click},
        {"mnuEditPaste", &EditorCommands::mnuEditPaste_Click},
        {"mnuEditSelectAll", &EditorCommands::mnuEditSelectAll_Click},
        {"mnuEditFind", &EditorCommands::mnuEditFind_Click},
        {"mnuFormatFont", &EditorCommands::mnuFormatFont_Click},
        {"mnuFormatBackGround", &EditorCommands::mnuFormatBackGround_Click},
        {"mnuFormatBullet", &EditorCommands::mnuFormatBullet_Click},
        {"mnuFormatNumbers", &EditorCommands::mnuFormatNumbers_Click},
        {"mnuFormatIndent", &EditorCommands::mnuFormatIndent_Click},
        {"mnuFormatOutdent", &EditorCommands::mnuFormatOutdent_Click},
        {"cboStyles", &EditorCommands::cboStyles_Click},
        {"cboFontName", &EditorCommands::cboFontName_Click},
        {"cboFontSize", &EditorCommands::cboFontSize_Click},
        {"mnuCreateTable", &EditorCommands::mnuCreateTable_Click},
        {"mnuInsertTableRow", &EditorCommands::mnuInsertTableRow_Click},
        {"mnuInsertTableColum", &EditorCommands::mnuInsertTableColum_Click},
        {"mnuInsertTableCell", &EditorCommands::mnuInsertTableCell_Click},
        {"mnuRemoveTableRows", &EditorCommands::mnuRemoveTableRows_Click},
        {"mnuRemoveTableColumns", &EditorCommands::mnuRemoveTableColumns_Click},
        {"mnuRemoveTableCells", &EditorCommands::mnuRemoveTableCells_Click},
        {"mnuMergeCells", &EditorCommands::mnuMergeCells_Click},
        {"mnuSplitCells", &EditorCommands::mnuSplitCells_Click},
        {"mnuToolsHTML", &EditorCommands::mnuToolsHTML_Click},
    };
    for (const auto& [name, member] : menus)
        handlers.append({QLatin1String(name), [this, member = member] { (this->*member)(); }});
    for (const QString& key : FormatCommands().keys() + QStringList{QStringLiteral("Color")})
        handlers.append({key, [this, key] { tlbFormat_ButtonClick(key); }});
    for (const char* key : {"Undo", "Redo", "Cut", "Copy", "Paste", "Find"})
        handlers.append({QLatin1String(key), [this, key = QString::fromLatin1(key)] { tlbEdit_ButtonClick(key); }});
    for (int index = 1; index <= TableButtons().size(); ++index) {
        const QString key = TableButtons().at(index - 1);
        if (!key.isEmpty())
            handlers.append({key, [this, index] { tlbTable_ButtonClick(index); }});
    }
    return handlers;
}

void EditorCommands::Run(int command, int option)
{
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        return;
    try {
        editor->ExecCommand(command, option);
    } catch (const std::exception& error) {
        // The editor refused: the document is as it was, and the log tells why.
        if (!KvlError::IsCancel(error))
            LogError(QStringLiteral("Error_EditorCommand %1 : ").arg(command), error);
    }
}

void EditorCommands::RunQuietly(int command)
{
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        return;
    try {
        editor->ExecCommand(command, Decmd::OPT_DODEFAULT);
    } catch (...) {
        // A cell command the caret's place does not allow changes nothing.
    }
}

void EditorCommands::mnuEditUndo_Click()
{
    Run(Decmd::UNDO);
}

void EditorCommands::mnuEditRedo_Click()
{
    Run(Decmd::REDO);
}

void EditorCommands::mnuEditCut_Click()
{
    Run(Decmd::CUT);
}

void EditorCommands::mnuEditCopy_Click()
{
    if (ActiveEditor())
        Run(Decmd::COPY);
    else if (m_host.ExplorerActive && m_host.ExplorerActive() && m_host.ItemCopy)
        m_host.ItemCopy();
}

void EditorCommands::mnuEditPaste_Click()
{
    if (ActiveEditor()) {
        // An item copied in the explorer is not text for a description.
        const QString text = m_host.ClipboardText ? m_host.ClipboardText() : QString();
        if (!text.contains(QChar(0x00A4)))
            Run(Decmd::PASTE);
    } else if (m_host.ExplorerActive && m_host.ExplorerActive() && m_host.ItemPaste) {
        m_host.ItemPaste();
    }
}

void EditorCommands::mnuEditSelectAll_Click()
{
    Run(Decmd::SELECTALL);
}

void EditorCommands::mnuEditFind_Click()
{
    Run(Decmd::FINDTEXT);
}

void EditorCommands::RunWithDialog(int command, const QString& message, const QString& label)
{
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        return;
    try {
        editor->ExecCommand(command, Decmd::OPT_PROMPTUSER);
    } catch (const std::exception& error) {
        if (KvlError::IsCancel(error))
            return;
        prompts().Critical(message);
        LogError(label, error);
    }
}

void EditorCommands::mnuFormatFont_Click()
{
    RunWithDialog(Decmd::FONT, QStringLiteral("Font not available."), QStringLiteral("Error_Font : "));
}

bool EditorCommands::SendColour(int command)
{
    const std::optional<QColor> colour = prompts().Colour(QColor(Qt::black));
    if (!colour)
        return false;
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        throw KvlError(91, QStringLiteral("No description editor has the focus."));
    const QString text = ColorToHtml(ColourValue(*colour));
    if (text.isEmpty())
        throw KvlError(KvlError::kGeneric, QStringLiteral("The colour has no HTML text."));
    editor->ExecCommand(command, Decmd::OPT_DONTPROMPTUSER, text);
    return true;
}

void EditorCommands::mnuFormatBackGround_Click()
{
    try {
        SendColour(Decmd::SETBACKCOLOR);
    } catch (const std::exception& error) {
        prompts().Critical(QStringLiteral("An error occurred while formatting the background."));
        LogError(QStringLiteral("Error_mnuFormatBackGround : "), error);
    }
}

void EditorCommands::mnuFormatBullet_Click()
{
    Run(Decmd::UNORDERLIST);
}

void EditorCommands::mnuFormatNumbers_Click()
{
    Run(Decmd::ORDERLIST);
}

void EditorCommands::mnuFormatIndent_Click()
{
    Run(Decmd::INDENT);
}

void EditorCommands::mnuFormatOutdent_Click()
{
    Run(Decmd::OUTDENT);
}

void EditorCommands::cboStyles_Click()
{
    HtmlEditor* editor = ActiveEditor();
    if (!editor)
        return;
    try {
        editor->ExecCommand(Decmd::SETBLOCKFMT, Decmd::OPT_DODEFAULT, gMainToolbars().cboStyles.Text());
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_cboStyles : "), error);
    }
}

// The font combos act once the window's panes have completed their first load, and only where
// the editor can set a font.
static HtmlEditor* FontEditor(int command)
{
    const DescriptionForm* form = OpenForms::Active();
    HtmlEditor* editor = ActiveEditor();
    if (!form || !form->DHTMLEditInitialized || !editor || editor->QueryStatus(command) < Decmd::ENABLED)
        return nullptr;
    return editor;
}

void EditorCommands::cboFontName_Click()
{
    if (!HasActiveChild())
        return;
    try {
        const int index = gMainToolbars().cboFontName.ListIndex();
        HtmlEditor* editor = FontEditor(Decmd::SETFONTNAME);
        if (editor && index >= 0 && index < gFontNames.size())
            editor->ExecCommand(Decmd::SETFONTNAME, Decmd::OPT_DONTPROMPTUSER, gFontNames.at(index));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_cboFontName : "), error);
    }
}

void EditorCommands::cboFontSize_Click()
{
    if (!HasActiveChild())
        return;
    try {
        const int index = gMainToolbars().cboFontSize.ListIndex();
        HtmlEditor* editor = FontEditor(Decmd::SETFONTSIZE);
        if (editor && index >= 0)
            editor->ExecCommand(Decmd::SETFONTSIZE, Decmd::OPT_DONTPROMPTUSER, index + 1);
    } catch (...) {
        // The size list ignores what the editor refuses.
    }
}

void EditorCommands::tlbFormat_ButtonClick(const QString& key)
{
    if (!HasActiveChild())
        return;
    if (key == QLatin1String("Color")) {
        try {
            SendColour(Decmd::SETFORECOLOR);
        } catch (const std::exception& error) {
            LogError(QStringLiteral("Error_FormatButtonClick : "), error);
        }
        return;
    }
    const auto it = FormatCommands().constFind(key);
    if (it != FormatCommands().constEnd())
        Run(*it, Decmd::OPT_DONTPROMPTUSER);
}

void EditorCommands::tlbEdit_ButtonClick(const QString& key)
{
    const QHash<QString, void (EditorCommands::*)()> routes = {
        {QStringLiteral("Undo"), &EditorCommands::mnuEditUndo_Click},
        {QStringLiteral("Redo"), &EditorCommands::mnuEditRedo_Click},
        {QStringLiteral("Cut"), &EditorCommands::mnuEditCut_Click},
        {QStringLiteral("Copy"), &EditorCommands::mnuEditCopy_Click},
        {QStringLiteral("Paste"), &EditorCommands::mnuEditPaste_Click},
        {QStringLiteral("Find"), &EditorCommands::mnuEditFind_Click},
    };
    if (const auto member = routes.value(key))
        (this->*member)();
}

void EditorCommands::tlbTable_ButtonClick(int index)
{
    static const QList<void (EditorCommands::*)()> routes = {&EditorCommands::mnuCreateTable_Click,
                                                             &EditorCommands::mnuInsertTableColum_Click,
                                                             &EditorCommands::mnuInsertTableRow_Click,
                                                             &EditorCommands::mnuInsertTableCell_Click,
                                                             nullptr,
                                                             &EditorCommands::mnuRemoveTableColumns_Click,
                                                             &EditorCommands::mnuRemoveTableRows_Click,
                                                             &EditorCommands::mnuRemoveTableCells_Click,
                                                             nullptr,
                                                             &EditorCommands::mnuMergeCells_Click,
                                                             &EditorCommands::mnuSplitCells_Click};
    if (index >= 1 && index <= routes.size() && routes.at(index - 1))
        (this->*routes.at(index - 1))();
}

void EditorCommands::mnuInsertTableRow_Click()
{
    RunQuietly(Decmd::INSERTROW);
}

void EditorCommands::mnuInsertTableColum_Click()
{
    RunQuietly(Decmd::INSERTCOL);
}

void EditorCommands::mnuInsertTableCell_Click()
{
    RunQuietly(Decmd::INSERTCELL);
}

void EditorCommands::mnuRemoveTableRows_Click()
{
    RunQuietly(Decmd::DELETEROWS);
}

void EditorCommands::mnuRemoveTableColumns_Click()
{
    RunQuietly(Decmd::DELETECOLS);
}

void EditorCommands::mnuRemoveTableCells_Click()
{
    RunQuietly(Decmd::DELETECELLS);
}

void EditorCommands::mnuMergeCells_Click()
{
    RunQuietly(Decmd::MERGECELLS);
}

void EditorCommands::mnuSplitCells_Click()
{
    RunQuietly(Decmd::SPLITCELL);
}
