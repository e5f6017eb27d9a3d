#include "editor/frmHTML.h"

#include "core/ui/Twips.h"
#include "editor/HtmlSourceText.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/HtmlFile.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kLabel = QStringLiteral("Error_ToolsHTML : ");

double Stored(const QString& key, double defaultValue)
{
    return SettingNumber(Settings::GetSetting(kSection, key, QString::number(defaultValue))).value_or(defaultValue);
}

const QColor kBody(0, 1, 0);
const QColor kGrey(119, 119, 119);

// An invalid colour inserts the text in the box's own.
void Insert(QTextCursor& cursor, QStringView text, const QColor& colour)
{
    QTextCharFormat format;
    if (colour.isValid())
        format.setForeground(colour);
    cursor.insertText(text.toString(), format);
}

}  // namespace

frmHTML::frmHTML(QWidget* parent, std::function<bool()> hasActiveChild)
    : QDialog(parent), m_rtfHTML(new QPlainTextEdit(this)), m_hasActiveChild(std::move(hasActiveChild))
{
    setObjectName(QStringLiteral("frmHTML"));
    setWindowTitle(QStringLiteral("HTML code"));
    setModal(true);
    setSizeGripEnabled(true);
    m_rtfHTML->setObjectName(QStringLiteral("rtfHTML"));
    m_rtfHTML->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_rtfHTML->setLineWrapMode(QPlainTextEdit::NoWrap);
    Form_Load();
}

QString frmHTML::WorkFilePath()
{
    return QDir(gTempPath).filePath(QStringLiteral("description.xta"));
}

void frmHTML::Form_Load()
{
    m_coloured = false;
    const double width = Stored(QStringLiteral("HMLWidth"), kDefaultWidth);
    const double top = Stored(QStringLiteral("HMLTop"), kDefaultTop);
    const double left = Stored(QStringLiteral("HMLLeft"), kDefaultLeft);
    const double height = Stored(QStringLiteral("HMLHeight"), kDefaultHeight);
    const QRect placed = OnScreen(QRect(Pixels(this, left), Pixels(this, top, Qt::Vertical), Pixels(this, width),
                                        Pixels(this, height, Qt::Vertical)));
    move(placed.topLeft());
    resize(placed.size());
}

void frmHTML::SetSource(const QString& html)
{
    const HtmlSourceText source = HtmlSourceText::FromPage(html);
    QTextDocument* document = m_rtfHTML->document();
    document->setUndoRedoEnabled(false);
    document->clear();
    // The text goes in as its three coloured ranges, laid out once; what the user types later
    // takes the colour it is typed into.
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    const bool colour = !m_coloured;
    Insert(cursor, QStringView(source.text).left(source.bodyStart), colour ? kGrey : QColor());
    Insert(cursor, QStringView(source.text).mid(source.bodyStart, source.bodyEnd - source.bodyStart),
           colour ? kBody : QColor());
    Insert(cursor, QStringView(source.text).mid(source.bodyEnd), colour ? kGrey : QColor());
    cursor.endEditBlock();
    document->setUndoRedoEnabled(true);
    m_coloured = true;
    cursor.setPosition(static_cast<int>(source.caret));
    m_rtfHTML->setTextCursor(cursor);
    document->setModified(false);
}

QString frmHTML::Source() const
{
    return m_rtfHTML->toPlainText();
}

void frmHTML::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The box keeps a margin of 20 twips at its left and top, and the window's border and
    // caption (taken from the outer size) below and to its right.
    const QRect outer = frameGeometry();
    const int width = Pixels(this, Twips(this, outer.width()) - 120);
    const int height = Pixels(this, Twips(this, outer.height(), Qt::Vertical) - 360, Qt::Vertical);
    m_rtfHTML->setGeometry(Pixels(this, 20), Pixels(this, 20, Qt::Vertical), qMax(width, 0), qMax(height, 0));
}

void frmHTML::done(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void frmHTML::Form_Unload()
{
    if (!m_hasActiveChild || !m_hasActiveChild())
        return;
    try {
        WriteHtmlFile(WorkFilePath(), Source());
    } catch (const std::exception& error) {
        // The pane is reloaded from the text here, not from the file: a failed write loses nothing.
        LogError(kLabel, error);
    }
    // As the load places the window: the frame's corner and the inner size.
    Settings::SaveSetting(kSection, QStringLiteral("HMLWidth"), SettingText(Twips(this, width())));
    Settings::SaveSetting(kSection, QStringLiteral("HMLTop"), SettingText(Twips(this, y(), Qt::Vertical)));
    Settings::SaveSetting(kSection, QStringLiteral("HMLLeft"), SettingText(Twips(this, x())));
    Settings::SaveSetting(kSection, QStringLiteral("HMLHeight"), SettingText(Twips(this, height(), Qt::Vertical)));
}
