#include "editor/WebEngineHtmlEditor.h"

#include "editor/EditorBridge.h"
#include "editor/EditorWebPage.h"
#include "editor/FindDialog.h"
#include "editor/FontDialog.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QTemporaryFile>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

struct BlockFormat
{
    const char* name;
    const char* tag;
};

constexpr BlockFormat kBlockFormats[] = {
    {"Normal", "P"},       {"Formatted", "PRE"},      {"Address", "ADDRESS"},  {"Heading 1", "H1"},
    {"Heading 2", "H2"},   {"Heading 3", "H3"},       {"Heading 4", "H4"},     {"Heading 5", "H5"},
    {"Heading 6", "H6"},   {"Numbered List", "OL"},   {"Bulleted List", "UL"}, {"Directory List", "DIR"},
    {"Menu List", "MENU"}, {"Definition Term", "DT"}, {"Definition", "DD"},
};

QString TagOfFormat(const QString& name)
{
    for (const BlockFormat& format : kBlockFormats) {
        if (name.compare(QLatin1String(format.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(format.tag);
    }
    return {};
}

QString FormatOfTag(const QString& tag)
{
    for (const BlockFormat& format : kBlockFormats) {
        if (tag.compare(QLatin1String(format.tag), Qt::CaseInsensitive) == 0)
            return QLatin1String(format.name);
    }
    return QStringLiteral("Normal");
}

// The browser's own clipboard actions: a page script may not use the clipboard. Undo and Redo
// run in the page, in the order of the program's questions.
QWebEnginePage::WebAction PageAction(int command)
{
    switch (command) {
        case Decmd::CUT:
            return QWebEnginePage::Cut;
        case Decmd::COPY:
            return QWebEnginePage::Copy;
        case Decmd::PASTE:
            return QWebEnginePage::Paste;
        default:
            return QWebEnginePage::NoWebAction;
    }
}

bool IsGetCommand(int command)
{
    return command == Decmd::GETFONTNAME || command == Decmd::GETFONTSIZE || command == Decmd::GETFORECOLOR ||
           command == Decmd::GETBACKCOLOR || command == Decmd::GETBLOCKFMT;
}

QString BridgeScript()
{
    // The channel's client and our bridge, as one script of the application's world.
    QString source;
    for (const QString& path :
         {QStringLiteral(":/qtwebchannel/qwebchannel.js"), QStringLiteral(":/editor/editor-bridge.js")}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw KvlError(53, QStringLiteral("File not found: '%1'").arg(path));
        source += QString::fromUtf8(file.readAll()) + QLatin1Char('\n');
    }
    return source;
}

KvlError Cancelled()
{
    return KvlError(KvlError::kCancelled, QStringLiteral("The command was cancelled."));
}

QString Json(const QJsonArray& array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// A copy in the temporary folder under a name of its own: a save stores pictures from there.
QString TemporaryCopy(const QFileInfo& file)
{
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    QTemporaryFile copy(QDir(gTempPath).filePath(QStringLiteral("picture-XXXXXX") + suffix));
    copy.setAutoRemove(false);
    QFile source(file.absoluteFilePath());
    if (!source.open(QIODevice::ReadOnly) || !copy.open() || copy.write(source.readAll()) != source.size()) {
        copy.remove();
        throw KvlError(75, QStringLiteral("Path/File access error: '%1'").arg(file.absoluteFilePath()));
    }
    return QFileInfo(copy.fileName()).absoluteFilePath();
}

QUrl ImagesFolderUrl()
{
    const QString folder = gImagePath.isEmpty() ? AppFolders::DefaultImagePath() : gImagePath;
    return QUrl::fromLocalFile(QDir(folder).absolutePath() + QLatin1Char('/'));
}

}  // namespace

WebEngineHtmlEditor::WebEngineHtmlEditor(QWidget* parentWidget)
    : m_view(new QWebEngineView(parentWidget)),
      m_profile(new QWebEngineProfile()),
      m_page(new EditorWebPage(m_profile)),
      m_channel(new QWebChannel(this)),
      m_bridge(new EditorBridge(this))
{
    setParent(m_view);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

    QWebEngineScript bridge;
    bridge.setName(QStringLiteral("koravel-editor"));
    bridge.setSourceCode(BridgeScript());
    bridge.setWorldId(QWebEngineScript::ApplicationWorld);
    bridge.setInjectionPoint(QWebEngineScript::DocumentCreation);
    bridge.setRunsOnSubFrames(false);
    m_page->scripts().insert(bridge);
    m_channel->registerObject(QStringLiteral("bridge"), m_bridge);
    m_page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);

    m_view->setPage(m_page);
    // The window shows its own menu (the Edit menu) in place of the browser's.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit ShowContextMenu(at.x(), at.y()); });
    connect(m_bridge, &EditorBridge::Reported, this, &WebEngineHtmlEditor::Reported);
    connect(m_bridge, &EditorBridge::Answered, this, &WebEngineHtmlEditor::Answered);
    connect(m_bridge, &EditorBridge::Failed, this, [](const QString& message) {
        LogError(QStringLiteral("Error_EditorUndo : "), KvlError::kGeneric, message);
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, &WebEngineHtmlEditor::BlankPageLoaded);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                RenderProcessTerminated(status != QWebEnginePage::NormalTerminationStatus);
            });
    m_copyTimer.setSingleShot(true);
    m_copyTimer.setInterval(kCopyPauseMs);
    connect(&m_copyTimer, &QTimer::timeout, this, &WebEngineHtmlEditor::TakeCopy);

    // Known at once, as the style list asks for it right after the first document is set.
    m_statuses.insert(Decmd::GETBLOCKFMTNAMES, Decmd::ENABLED);
    LoadBlankPage();
}

WebEngineHtmlEditor::~WebEngineHtmlEditor()
{
    m_copyTimer.stop();
    Wake();
    // The page must go before its profile.
    delete m_page;
    delete m_profile;
}

QStringList WebEngineHtmlEditor::BlockFormatNames()
{
    QStringList names;
    for (const BlockFormat& format : kBlockFormats)
        names.append(QLatin1String(format.name));
    return names;
}

// Loaded once (and again after a dead renderer): documents are then placed by script, which
// has no size limit, and relative picture paths resolve in the images folder.
void WebEngineHtmlEditor::LoadBlankPage()
{
    m_blankLoaded = false;
    m_page->SetOpen(true);
    m_page->setHtml(QStringLiteral("<html><head></head><body></body></html>"), ImagesFolderUrl());
}

void WebEngineHtmlEditor::BlankPageLoaded(bool ok)
{
    if (m_blankLoaded)
        return;
    m_page->SetOpen(false);
    m_blankLoaded = ok;
    if (!ok) {
        LogError(QStringLiteral("Error_EditorLoad : "), KvlError::kGeneric,
                 QStringLiteral("The editor page did not load."));
        return;
    }
    if (m_reloadCopy) {
        m_reloadCopy = false;
        Place(m_copy, m_setDocument);
    } else if (m_placing > 0) {
        Place(m_setDocument, QString());
    } else {
        m_ready = true;
        Wake();
    }
}

void WebEngineHtmlEditor::SetDocumentHTML(const QString& html)
{
    m_setDocument = html;
    m_copy = html;
    m_copyTimer.stop();
    ++m_placing;
    m_ready = false;
    if (m_blankLoaded)
        Place(html, QString());
}

void WebEngineHtmlEditor::ReloadDocumentHTML(const QString& html)
{
    // The document last set stays what the user's edits are measured against.
    m_copy = html;
    m_copyTimer.stop();
    ++m_placing;
    m_ready = false;
    if (m_blankLoaded)
        Place(html, m_setDocument);
    else
        m_reloadCopy = true;
}

void WebEngineHtmlEditor::Place(const QString& html, const QString& setBody)
{
    m_placeQuestion = ++m_questions;
    m_bridge->SetDocument(m_placeQuestion, html, setBody);
    m_page->runJavaScript(QStringLiteral("kvl.load(%1)").arg(m_placeQuestion), QWebEngineScript::ApplicationWorld);
}

void WebEngineHtmlEditor::Answered(int id, const QVariantMap& answer)
{
    if (id == m_copyQuestion) {
        // Taken in the background: a document set since then has its own copy.
        m_copyQuestion = 0;
        if (m_copyOf == m_placing && answer.contains(QStringLiteral("r")))
            m_copy = answer.value(QStringLiteral("r")).toString();
        return;
    }
    if (id != m_placeQuestion) {
        // An answer that came after its question gave up is dropped.
        if (m_asked.remove(id))
            m_answers.insert(id, answer);
        Wake();
        return;
    }
    // A later document replaces this one; only the last one completes.
    m_placeQuestion = 0;
    if (!answer.contains(QStringLiteral("r"))) {
        LogError(QStringLiteral("Error_EditorLoad : "), KvlError::kGeneric,
                 answer.value(QStringLiteral("e"), QStringLiteral("The document could not be placed.")).toString());
    }
    // The states follow with the page's first report.
    m_stateKnown = false;
    m_ready = true;
    Wake();
    EmitLater(&HtmlEditor::DocumentComplete);
}

QString WebEngineHtmlEditor::Literal(const QString& text)
{
    // A JSON string is a script string literal too; the line and paragraph separators are
    // escaped for older script engines that took them as line ends.
    QString json = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    json = json.mid(1, json.size() - 2);
    json.replace(QChar(0x2028), QLatin1String("\\u2028"));
    json.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return json;
}

void WebEngineHtmlEditor::Reported(const QVariantMap& state, bool typed)
{
    TakeState(state);
    if (typed)
        RestartCopyTimer();
    EmitLater(&HtmlEditor::DisplayChanged);
}

// Both come while the web channel delivers a message of the page, which delivers no other until
// this one returns: a listener that asks the editor something would wait for ever.
void WebEngineHtmlEditor::EmitLater(void (HtmlEditor::*event)())
{
    QMetaObject::invokeMethod(
        this, [this, event] { emit(this->*event)(); }, Qt::QueuedConnection);
}

void WebEngineHtmlEditor::TakeState(const QVariant& state)
{
    const QVariantMap map = state.toMap();
    const QVariantMap statuses = map.value(QStringLiteral("s")).toMap();
    if (statuses.isEmpty())
        return;
    const QVariantMap values = map.value(QStringLiteral("v")).toMap();
    m_statuses.clear();
    m_values.clear();
    for (auto it = statuses.cbegin(); it != statuses.cend(); ++it)
        m_statuses.insert(it.key().toInt(), it.value().toInt());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_values.insert(it.key().toInt(), it.value());
    m_statuses.insert(Decmd::GETBLOCKFMTNAMES, Decmd::ENABLED);
    m_stateKnown = true;
}

void WebEngineHtmlEditor::RestartCopyTimer()
{
    m_copyTimer.start();
}

void WebEngineHtmlEditor::TakeCopy()
{
    if (!m_ready)
        return;
    m_copyQuestion = ++m_questions;
    m_copyOf = m_placing;
    m_page->runJavaScript(QStringLiteral("kvl.ask(%1, 'page', [])").arg(m_copyQuestion),
                          QWebEngineScript::ApplicationWorld);
}

void WebEngineHtmlEditor::RenderProcessTerminated(bool crashed)
{
    if (!crashed)
        return;
    try {
        ++m_deaths;
        m_copyTimer.stop();
        m_ready = false;
        m_reloadCopy = true;
        Wake();
        LoadBlankPage();
        // Told once the signal has returned: the message box runs an event loop of its own.
        QTimer::singleShot(0, this, [] {
            prompts().Message(
                QStringLiteral("The editor stopped unexpectedly; the document was reloaded from its last copy."),
                Prompts::ProgramTitle(), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_EditorStopped : "), error);
    }
}

void WebEngineHtmlEditor::Wake() const
{
    for (QEventLoop* loop : std::as_const(m_loops))
        loop->quit();
}

void WebEngineHtmlEditor::Wait(const std::function<bool()>& done) const
{
    QElapsedTimer clock;
    clock.start();
    const int deaths = m_deaths;
    while (!done()) {
        if (m_deaths != deaths)
            throw KvlError(QStringLiteral("The editor stopped before it answered."));
        const qint64 left = kAnswerMs - clock.elapsed();
        if (left <= 0)
            throw KvlError(QStringLiteral("The editor did not answer within %1 s.").arg(kAnswerMs / 1000));
        // User input waits: a key press must not change the document a save is reading.
        QEventLoop loop;
        QTimer::singleShot(left, &loop, &QEventLoop::quit);
        m_loops.append(&loop);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_loops.removeOne(&loop);
    }
}

void WebEngineHtmlEditor::WaitForDocument() const
{
    Wait([this] { return m_ready; });
}

QVariant WebEngineHtmlEditor::Call(const QString& function, const QString& arguments) const
{
    WaitForDocument();
    const int id = ++m_questions;
    m_asked.insert(id);
    m_page->runJavaScript(QStringLiteral("kvl.ask(%1, '%2', [%3])").arg(QString::number(id), function, arguments),
                          QWebEngineScript::ApplicationWorld);
    try {
        Wait([this, id] { return m_answers.contains(id); });
    } catch (const KvlError&) {
        m_asked.remove(id);
        throw;
    }
    const QVariantMap answer = m_answers.take(id);
    if (answer.contains(QStringLiteral("e")))
        throw KvlError(
            QStringLiteral("The editor refused the command: %1").arg(answer.value(QStringLiteral("e")).toString()));
    if (!answer.contains(QStringLiteral("r")))
        throw KvlError(QStringLiteral("The editor gave no answer."));
    return answer.value(QStringLiteral("r"));
}

int WebEngineHtmlEditor::QueryStatus(int command)
{
    if (command == Decmd::GETBLOCKFMTNAMES)
        return Decmd::ENABLED;
    if (!m_ready || !m_stateKnown)
        return Decmd::DISABLED;
    return m_statuses.value(command, Decmd::NOTSUPPORTED);
}

QVariant WebEngineHtmlEditor::ExecCommand(int command, int option, const QVariant& argument)
{
    if (command == Decmd::GETBLOCKFMTNAMES)
        return BlockFormatNames();
    if (command == Decmd::FINDTEXT) {
        ShowFind();
        return {};
    }
    if (command == Decmd::FONT) {
        ChooseFont();
        return {};
    }
    if (IsGetCommand(command)) {
        TakeState(Call(QStringLiteral("state")));
        const QVariant value = m_values.value(command);
        if (command == Decmd::GETBLOCKFMT)
            return m_statuses.value(command) == Decmd::NINCHED ? QString() : FormatOfTag(value.toString());
        if (command == Decmd::GETFONTSIZE)
            return value.toInt();
        return value.toString();
    }
    const QWebEnginePage::WebAction action = PageAction(command);
    if (action != QWebEnginePage::NoWebAction) {
        WaitForDocument();
        m_page->triggerAction(action);
        TakeState(Call(QStringLiteral("state")));
        RestartCopyTimer();
        return {};
    }
    QString text = argument.toString();
    const bool ask = text.isEmpty() || option == Decmd::OPT_PROMPTUSER;
    if (command == Decmd::HYPERLINK && ask)
        text = AskLink(text);
    if (command == Decmd::IMAGE && ask)
        text = AskPicture();
    if (command == Decmd::SETBLOCKFMT) {
        text = TagOfFormat(text);
        if (text.isEmpty())
            throw KvlError(KvlError::kGeneric, QStringLiteral("Unknown block format: '%1'").arg(argument.toString()));
    }
    const QVariantMap result =
        Call(QStringLiteral("exec"), QStringLiteral("%1, %2").arg(command).arg(Literal(text))).toMap();
    TakeState(result.value(QStringLiteral("state")));
    RestartCopyTimer();
    return result.value(QStringLiteral("value"));
}

QString WebEngineHtmlEditor::AskLink(const QString& url) const
{
    const std::optional<QString> chosen = prompts().InputText(QStringLiteral("Hyperlink"), QStringLiteral("URL:"),
                                                              url.isEmpty() ? QStringLiteral("http://") : url, 0);
    if (!chosen || chosen->trimmed().isEmpty())
        throw Cancelled();
    return chosen->trimmed();
}

// The picture's absolute path, as the view shows it and the save reads it.
QString WebEngineHtmlEditor::AskPicture() const
{
    const QString picked = prompts().OpenFile(QStringLiteral("Picture"), gImagePath,
                                              QStringLiteral("Pictures (*.bmp *.gif *.jpg *.jpeg *.png)"));
    if (picked.isEmpty())
        throw Cancelled();
    const QFileInfo file(picked);
    if (gTempPath.isEmpty() || Settings::GetSetting(QStringLiteral("Options"), QStringLiteral("StoreImage"),
                                                    QStringLiteral("1")) == QLatin1String("0"))
        return file.absoluteFilePath();
    return TemporaryCopy(file);
}

void WebEngineHtmlEditor::ShowFind()
{
    if (!m_find)
        m_find = new FindDialog(m_view);
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

// The dialog starts from the selection's font; what the user changed is applied, as one step.
void WebEngineHtmlEditor::ChooseFont()
{
    TakeState(Call(QStringLiteral("state")));
    const auto known = [this](int command) { return m_statuses.value(command) != Decmd::NINCHED; };
    FontChoice initial;
    initial.family = known(Decmd::GETFONTNAME) ? m_values.value(Decmd::GETFONTNAME).toString() : QString();
    initial.size = known(Decmd::GETFONTSIZE) ? m_values.value(Decmd::GETFONTSIZE).toInt() : 0;
    initial.bold = m_statuses.value(Decmd::BOLD) == Decmd::LATCHED;
    initial.italic = m_statuses.value(Decmd::ITALIC) == Decmd::LATCHED;
    initial.underline = m_statuses.value(Decmd::UNDERLINE) == Decmd::LATCHED;
    initial.colour = known(Decmd::GETFORECOLOR) ? m_values.value(Decmd::GETFORECOLOR).toString() : QString();
    const std::optional<FontChoice> chosen = FontDialog::Ask(initial, m_view);
    if (!chosen)
        throw Cancelled();
    QJsonArray commands;
    if (!chosen->family.isEmpty() && chosen->family != initial.family)
        commands.append(QJsonArray{QStringLiteral("fontName"), chosen->family});
    if (chosen->size >= 1 && chosen->size <= 7 && chosen->size != initial.size)
        commands.append(QJsonArray{QStringLiteral("fontSize"), QString::number(chosen->size)});
    const std::pair<bool FontChoice::*, const char*> styles[] = {
        {&FontChoice::bold, "bold"}, {&FontChoice::italic, "italic"}, {&FontChoice::underline, "underline"}};
    for (const auto& [style, name] : styles) {
        if ((*chosen).*style != initial.*style)
            commands.append(QJsonArray{QLatin1String(name), QString()});
    }
    if (!chosen->colour.isEmpty() && chosen->colour.compare(initial.colour, Qt::CaseInsensitive) != 0)
        commands.append(QJsonArray{QStringLiteral("foreColor"), chosen->colour});
    if (commands.isEmpty())
        return;
    TakeState(Call(QStringLiteral("font"), Json(commands)));
    RestartCopyTimer();
}

QString WebEngineHtmlEditor::DocumentHTML() const
{
    return Call(QStringLiteral("page")).toString();
}

QString WebEngineHtmlEditor::BodyInnerHTML() const
{
    return Call(QStringLiteral("body")).toString();
}

QStringList WebEngineHtmlEditor::Images() const
{
    return Call(QStringLiteral("images")).toStringList();
}

QString WebEngineHtmlEditor::StyleSheetText() const
{
    return Call(QStringLiteral("style")).toString();
}

void WebEngineHtmlEditor::SetStyleSheetText(const QString& cssText)
{
    Call(QStringLiteral("setStyle"), Literal(cssText));
}

bool WebEngineHtmlEditor::IsDirty() const
{
    return Call(QStringLiteral("dirty")).toBool();
}

void WebEngineHtmlEditor::PasteHTML(const QString& html)
{
    TakeState(Call(QStringLiteral("paste"), Literal(html)));
    RestartCopyTimer();
}

void WebEngineHtmlEditor::InsertHTMLAtSelectionStart(const QString& html)
{
    TakeState(Call(QStringLiteral("insertAtStart"), Literal(html)));
    RestartCopyTimer();
}

QString WebEngineHtmlEditor::SelectedTable()
{
    return Call(QStringLiteral("selectedTable")).toString();
}

void WebEngineHtmlEditor::SetSelectedTableAttributes(const QList<std::pair<QString, QString>>& attributes)
{
    QJsonArray pairs;
    for (const auto& [name, value] : attributes)
        pairs.append(QJsonArray{name, value});
    TakeState(Call(QStringLiteral("setTableAttributes"), Json(pairs)));
    RestartCopyTimer();
}

bool WebEngineHtmlEditor::Visible() const
{
    return !m_view->isHidden();
}

void WebEngineHtmlEditor::SetVisible(bool visible)
{
    m_view->setVisible(visible);
}
