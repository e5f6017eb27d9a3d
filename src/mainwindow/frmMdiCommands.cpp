// The main window's commands: menus and toolbar bands built from their tables, the handlers
// other windows install, the opening rules and the edit mode.
#include "core/MainToolbars.h"
#include "core/MenuRules.h"
#include "mainwindow/MenuTable.h"
#include "mainwindow/frmMdi.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

namespace {

// Window-wide, these keys would delete or move an explorer item while the user types in a
// description or a grid cell: they act from the open menu only (the explorer has its own keys).
bool IsMenuOnlyShortcut(const QString& name)
{
    return name == QLatin1String("mnuItemDelete") || name == QLatin1String("mnuItemUp") ||
           name == QLatin1String("mnuItemDown");
}

// The menu command a Standard toolbar button runs.
QString StandardRoute(const QString& key)
{
    static const QHash<QString, QString> routes = {
        {QStringLiteral("Preview"), QStringLiteral("mnuFilePreview")},
        {QStringLiteral("Properties"), QStringLiteral("mnuViewProperties")},
        {QStringLiteral("HTMLView"), QStringLiteral("mnuToolsHTML")},
        {QStringLiteral("Save"), QStringLiteral("mnuFileSave")},
        {QStringLiteral("SaveAll"), QStringLiteral("mnuFileSaveAll")},
        {QStringLiteral("Connect"), QStringLiteral("mnuDatabaseOpen")},
        {QStringLiteral("Print"), QStringLiteral("mnuFilePrint")},
    };
    return routes.value(key);
}

ComboModel* Combo(const QString& name)
{
    MainToolbars& bars = gMainToolbars();
    if (name == QLatin1String("cboStyles"))
        return &bars.cboStyles;
    if (name == QLatin1String("cboFontName"))
        return &bars.cboFontName;
    if (name == QLatin1String("cboFontSize"))
        return &bars.cboFontSize;
    return nullptr;
}

ToolbarModel* EditingModel(const QString& toolbar)
{
    MainToolbars& bars = gMainToolbars();
    if (toolbar == QLatin1String("tlbEdit"))
        return &bars.tlbEdit;
    if (toolbar == QLatin1String("tlbFormat"))
        return &bars.tlbFormat;
    if (toolbar == QLatin1String("tlbTable"))
        return &bars.tlbTable;
    return nullptr;
}

const char* const kHandler = "koravelHandler";  // the command whose handler enables the action

}  // namespace

void frmMdi::BuildMenus()
{
    for (const MenuEntry& entry : MenuTable()) {
        const QString name = QString::fromLatin1(entry.name);
        const QString parentName = QString::fromLatin1(entry.parent);
        QMenu* parent = m_menus.value(parentName);
        if (name == QLatin1String("-")) {
            parent->addSeparator();
            continue;
        }
        const bool submenu = std::any_of(MenuTable().begin(), MenuTable().end(),
                                         [&](const MenuEntry& other) { return name == QLatin1String(other.parent); });
        const QString caption = QString::fromUtf8(entry.caption);
        QAction* action = nullptr;
        if (submenu) {
            QMenu* menu = parentName.isEmpty() ? menuBar()->addMenu(caption) : parent->addMenu(caption);
            menu->setObjectName(name);
            menu->installEventFilter(this);
            m_menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = parent->addAction(caption);
            action->setProperty(kHandler, name);
            connect(action, &QAction::triggered, this, [this, name] { RunCommand(name); });
        }
        action->setObjectName(name);
        action->setProperty("helpTopic", entry.helpTopic);
        const QString shortcut = QString::fromLatin1(entry.shortcut);
        if (IsMenuOnlyShortcut(name))
            action->setText(caption + QLatin1Char('\t') + shortcut);
        else if (!shortcut.isEmpty())
            action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
        if (entry.check >= 0)
            action->setCheckable(true);
        m_actions.insert(name, action);
        m_commands.Add(name, true, entry.check == 1);
    }
    connect(Menu("mnuFile"), &QMenu::aboutToShow, this, &frmMdi::mnuFile_Click);
    connect(Menu("mnuItem"), &QMenu::aboutToShow, this, &frmMdi::mnuItem_Click);
    connect(Menu("mnuTestPlan"), &QMenu::aboutToShow, this, &frmMdi::mnuTestPlan_Click);
    connect(Menu("mnuTools"), &QMenu::aboutToShow, this, &frmMdi::mnuTools_Click);
}

void frmMdi::BuildBands()
{
    const QStringList bands = {QStringLiteral("tlbStandard"), QStringLiteral("tlbEdit"), QStringLiteral("tlbFormat"),
                               QStringLiteral("tlbTable")};
    for (const QString& name : bands) {
        // The Format and Table bands each start a row of their own.
        if (name == QLatin1String("tlbFormat") || name == QLatin1String("tlbTable"))
            addToolBarBreak();
        auto* band = addToolBar(name);
        band->setObjectName(name);
        band->setFloatable(false);
        band->setIconSize(QSize(22, 22));
        m_bands.insert(name, band);
    }

    QToolBar* format = Band("tlbFormat");
    const QList<std::pair<QString, QString>> combos = {{QStringLiteral("cboStyles"), QString()},
                                                       {QStringLiteral("cboFontName"), QStringLiteral("Font name")},
                                                       {QStringLiteral("cboFontSize"), QStringLiteral("Font size")}};
    for (const auto& [name, tip] : combos) {
        auto* combo = new QComboBox(format);
        combo->setObjectName(name);
        combo->setToolTip(tip);
        combo->setEditable(name != QLatin1String("cboStyles"));
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(name == QLatin1String("cboFontSize") ? 3 : 12);
        format->addWidget(combo);
        m_combos.insert(name, combo);
        // The user's choice only: the combos also follow the caret, which must not edit.
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            ComboModel* model = Combo(name);
            if (model && !model->SetListIndex(index))
                model->SetText(m_combos.value(name)->currentText());
            RunCommand(name);
        });
    }

    for (const ToolButtonEntry& entry : ToolButtonTable()) {
        const QString toolbar = QString::fromLatin1(entry.toolbar);
        const QString key = QString::fromLatin1(entry.key);
        QToolBar* band = Band(toolbar);
        if (key == QLatin1String("|")) {
            band->addSeparator();
            continue;
        }
        QAction* action = band->addAction(QIcon(QStringLiteral(":/icons/toolbar/%1.png").arg(key)),
                                          QString::fromLatin1(entry.toolTip));
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(entry.toolTip));
        action->setCheckable(entry.checkable);
        m_actions.insert(key, action);
        if (toolbar == QLatin1String("tlbStandard")) {
            action->setProperty(kHandler, StandardRoute(key));
            m_commands.Add(key, entry.enabled, entry.checkable);
            connect(action, &QAction::triggered, this, [this, key] { tlbStandard_ButtonClick(key); });
        } else {
            action->setProperty(kHandler, key);
            connect(action, &QAction::triggered, this, [this, key] { RunCommand(key); });
        }
    }

    // The progress strip sits in the Edit band; long commands show it.
    m_picProgress = new QWidget(Band("tlbEdit"));
    m_picProgress->setObjectName(QStringLiteral("picProgress"));
    m_prgProgress = new QProgressBar(m_picProgress);
    m_prgProgress->setObjectName(QStringLiteral("prgProgress"));
    m_prgProgress->setRange(0, 100);
    m_prgProgress->setFixedWidth(160);
    auto* layout = new QHBoxLayout(m_picProgress);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(m_prgProgress);
    // A toolbar shows or hides its widgets through their actions.
    m_picProgressAction = Band("tlbEdit")->addWidget(m_picProgress);

    Band("tlbTable")->hide();
    connect(&m_commands, &CommandStates::Changed, this, &frmMdi::ShowCommand);
    connect(&gMainToolbarsNotifier(), &MainToolbarsNotifier::Changed, this, &frmMdi::ShowEditingBands);
}

void frmMdi::InstallHandler(const QString& name, Handler handler)
{
    if (handler)
        m_handlers.insert(name, std::move(handler));
    else
        m_handlers.remove(name);
    // A Standard button follows the handler of the menu command it runs.
    for (const QString& command : m_commands.Names())
        ShowCommand(command);
    ShowEditingBands();
}

bool frmMdi::RunCommand(const QString& name)
{
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd())
        return false;
    // Copied: the handler may replace itself.
    const Handler handler = *it;
    handler();
    return true;
}

void frmMdi::ShowCommand(const QString& name)
{
    QAction* action = Action(name);
    if (!action)
        return;
    const QString handler = action->property(kHandler).toString();
    const bool runnable = !action->property(kHandler).isValid() || HasHandler(handler);
    action->setEnabled(m_commands.Enabled(name) && runnable);
    if (action->isCheckable())
        action->setChecked(m_commands.Checked(name));
}

void frmMdi::ShowEditingBands()
{
    for (const ToolButtonEntry& entry : ToolButtonTable()) {
        ToolbarModel* model = EditingModel(QString::fromLatin1(entry.toolbar));
        QAction* action = model ? Action(QString::fromLatin1(entry.key)) : nullptr;
        if (!action)
            continue;
        const QString key = action->objectName();
        action->setEnabled(model->Enabled(key) && HasHandler(key));
        action->setChecked(action->isCheckable() && model->Pressed(key));
    }
    const MainToolbars& bars = gMainToolbars();
    const QList<std::pair<QString, const ComboModel*>> combos = {{QStringLiteral("cboStyles"), &bars.cboStyles},
                                                                 {QStringLiteral("cboFontName"), &bars.cboFontName},
                                                                 {QStringLiteral("cboFontSize"), &bars.cboFontSize}};
    for (const auto& [name, model] : combos) {
        QComboBox* combo = m_combos.value(name);
        const QSignalBlocker quiet(combo);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        if (shown != model->Items()) {
            combo->clear();
            combo->addItems(model->Items());
        }
        combo->setCurrentIndex(model->ListIndex());
        if (combo->isEditable())
            combo->setEditText(model->Text());
        combo->setEnabled(model->Enabled() && HasHandler(name));
    }
}

void frmMdi::mnuFile_Click()
{
    ::mnuFile_Click(m_commands);
}

void frmMdi::mnuItem_Click()
{
    ::mnuItem_Click(m_commands);
}

void frmMdi::mnuTestPlan_Click()
{
    ::mnuTestPlan_Click(m_commands);
}

void frmMdi::mnuTools_Click()
{
    ::mnuTools_Click(m_commands, m_mdiArea->currentSubWindow() != nullptr);
}

void frmMdi::SetEditMode(bool blnEdition)
{
    ::SetEditMode(m_commands, gMainToolbars(), blnEdition);
}

void frmMdi::tlbStandard_ButtonClick(const QString& key)
{
    const QString command = StandardRoute(key);
    if (!command.isEmpty())
        RunCommand(command);
}

void frmMdi::UpdateMenuImage()
{
    try {
        for (const MenuEntry& entry : MenuTable()) {
            if (!*entry.icon)
                continue;
            const QString key = QString::fromLatin1(entry.icon);
            const QString file = QStringLiteral(":/icons/menu/%1.png").arg(key);
            if (!QFile::exists(file))
                throw KvlError(53, QStringLiteral("File not found: ") + file);
            QAction* action = Action(QString::fromLatin1(entry.name));
            action->setIcon(QIcon(file));
            action->setProperty("iconKey", key);
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_UpdateMenuImage:"), error);
    }
}

void frmMdi::CloseMenus()
{
    for (QWidget* popup = QApplication::activePopupWidget(); popup; popup = QApplication::activePopupWidget())
        popup->close();
}

bool frmMdi::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto* press = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(press->keyCombination());
    if (press->key() == Qt::Key_F1) {
        const QAction* active = menu->activeAction();
        if (active && active->property("helpTopic").toInt() > 0) {
            // The help viewer opens the whole file: it has no topics to jump to.
            CloseMenus();
            OpenHelpFile();
        }
        return true;
    }
    for (QAction* action : menu->actions()) {
        if (!IsMenuOnlyShortcut(action->objectName()))
            continue;
        if (QKeySequence(action->text().section(QLatin1Char('\t'), 1), QKeySequence::PortableText) != pressed)
            continue;
        if (action->isEnabled()) {
            CloseMenus();
            action->trigger();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
