#include "editor/frmDescription.h"

#include "core/ActiveEditor.h"
#include "core/HtmlEditor.h"
#include "core/MainToolbars.h"
#include "core/OpenForms.h"
#include "core/services/WindowServices.h"
#include "editor/DescriptionSave.h"
#include "platform/BugLog.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString kDescriptionControl = QStringLiteral("DHTMLEdit1");
const QString kExpectedControl = QStringLiteral("DHTMLEdit2");

bool InDock(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const QDockWidget*>(widget))
            return true;
    }
    return false;
}

bool Holds(const QWidget* pane, const QWidget* widget)
{
    return pane && widget && (pane == widget || pane->isAncestorOf(widget));
}

}  // namespace

frmDescription::frmDescription(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("frmDescription"));
    m_layout->setContentsMargins(2, 0, 2, 2);
    m_layout->setSpacing(0);
    m_layout->addWidget(
        HeaderBar(QStringLiteral("EDIT"), QStringLiteral("Description"), QStringLiteral("cmdDescription")));
    m_description = CreateEditorPane(this);
    m_description.view->setObjectName(kDescriptionControl);
    m_layout->addWidget(m_description.view, 1);
    Connect(m_description.editor);
    Form_Load();
}

frmDescription::~frmDescription()
{
    OpenForms::Remove(this);
}

void frmDescription::Form_Load()
{
    OpenForms::Add(this);
    windowServices().EditMode(true);
    InitFormatButtons();
}

QWidget* frmDescription::HeaderBar(const QString& icon, const QString& text, const QString& name)
{
    auto* bar = new QFrame(this);
    bar->setObjectName(name);
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setFrameShadow(QFrame::Raised);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Button);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 4, 1);
    auto* picture = new QLabel(bar);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/menu/%1.png").arg(icon)).pixmap(16, 16));
    auto* label = new QLabel(text, bar);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    row->addWidget(picture);
    row->addWidget(label, 1);
    return bar;
}

void frmDescription::Connect(HtmlEditor* editor)
{
    // Queued: the creator takes its own snapshot after placing the text, and the editor's
    // completion must come after it whatever the editor does.
    connect(
        editor, &HtmlEditor::DocumentComplete, this, [this, editor] { DocumentComplete(editor); },
        Qt::QueuedConnection);
    connect(editor, &HtmlEditor::DisplayChanged, this, [this, editor] { DisplayChanged(editor); });
    connect(editor, &HtmlEditor::ShowContextMenu, this, [] {
        try {
            windowServices().EditMenu();
        } catch (...) {
        }
    });
}

QString frmDescription::Caption() const
{
    return windowTitle();
}

void frmDescription::SetCaption(const QString& caption)
{
    // The sub-window and its tab follow the widget's title.
    setWindowTitle(caption);
}

bool frmDescription::IsProcedureWindow() const
{
    return mstrTitle.contains(QLatin1String("Procedure"));
}

HtmlEditor* frmDescription::DHTMLEdit2()
{
    if (m_expected.editor || !IsProcedureWindow())
        return m_expected.editor;
    // The description pane moves under a splitter that keeps its height when the window grows.
    m_layout->removeWidget(m_description.view);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("imgSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_description.view);
    auto* lower = new QWidget(m_splitter);
    auto* column = new QVBoxLayout(lower);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(
        HeaderBar(QStringLiteral("RESULTFILL"), QStringLiteral("Expected Result"), QStringLiteral("cmdExpected")));
    m_expected = CreateEditorPane(lower);
    m_expected.view->setObjectName(kExpectedControl);
    column->addWidget(m_expected.view, 1);
    m_splitter->addWidget(lower);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    const int height = qMax(this->height(), 200);
    m_splitter->setSizes({height / 2, height - height / 2});
    m_layout->addWidget(m_splitter, 1);
    Connect(m_expected.editor);
    return m_expected.editor;
}

QString frmDescription::ActiveControlName() const
{
    // Focus in one of the main window's docks leaves no pane active; focus in a dialog or on the
    // toolbars (a combo) keeps the pane the user left, so the command reaches it.
    const QWidget* focus = QApplication::focusWidget();
    if (InDock(focus) && focus->window() == window())
        return {};
    const QWidget* own = focusWidget();
    if (Holds(m_description.view, own))
        return kDescriptionControl;
    if (Holds(m_expected.view, own))
        return kExpectedControl;
    return {};
}

long frmDescription::SaveDescription()
{
    return DescriptionSave(*this).SaveDescription();
}

void frmDescription::DocumentComplete(HtmlEditor* editor)
{
    try {
        UpdateFormatCombos();
        gMainToolbars().cboFontSize.SetListIndex(-1);
        gMainToolbars().NotifyChanged();
        if (DHTMLEditInitialized)
            return;
        // The text as the editor normalised it is the text the user has not changed yet.
        if (editor == m_description.editor) {
            mstrLastSaved = editor->DocumentHTML();
            m_descriptionLoaded = true;
        } else if (editor == m_expected.editor) {
            mstrLastSaved2 = editor->DocumentHTML();
            m_expectedLoaded = true;
        }
        DHTMLEditInitialized = m_descriptionLoaded && (m_expectedLoaded || !IsProcedureWindow());
    } catch (...) {
    }
}

void frmDescription::DisplayChanged(HtmlEditor* editor)
{
    try {
        MainToolbars& bars = gMainToolbars();
        for (size_t i = 0; i < gFormatButtonKeys.size(); ++i) {
            const int status = editor->QueryStatus(gFormatCommandIds[i]);
            bars.tlbFormat.SetEnabled(gFormatButtonKeys[i], status >= Decmd::ENABLED);
            bars.tlbFormat.SetPressed(gFormatButtonKeys[i], status == Decmd::LATCHED);
        }
        bars.NotifyChanged();
        UpdateFormatCombos();
        UpdateEditToolbar();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_DisplayChanged : "), error);
    }
}

bool frmDescription::DocumentChanged()
{
    if (!mstrLastSaved.contains(m_description.editor->DocumentHTML()))
        return true;
    return m_expected.editor && !mstrLastSaved2.contains(m_expected.editor->DocumentHTML());
}

void frmDescription::closeEvent(QCloseEvent* event)
{
    bool changed = true;
    try {
        changed = DocumentChanged();
    } catch (const std::exception& error) {
        // An editor that cannot answer may hold edits: ask rather than lose them.
        LogError(QStringLiteral("Error_QueryUnload : "), error);
    }
    if (changed &&
        prompts().Message(QStringLiteral("Do you want to save the document ?"), Prompts::ProgramTitle(),
                          Prompts::Icon::None, Prompts::Buttons::YesNo) == Prompts::Answer::Yes &&
        SaveDescription() != 0) {
        // The edits stay in the window, which stays open; so does the program.
        prompts().Message(QStringLiteral("An error occurred while saving the current document."),
                          Prompts::ProgramTitle(), Prompts::Icon::Critical, Prompts::Buttons::Ok);
        event->ignore();
        return;
    }
    if (OpenForms::All().size() == 1)
        windowServices().EditMode(false);
    OpenForms::Remove(this);
    event->accept();
}
