// Opens the program as a user would (start-up, sample database, main window) and writes a picture
// of the main window, for the README. scripts/screenshot.sh runs it under a virtual display in a
// temporary home.
#include "core/AppShell.h"
#include "core/KeyHelpers.h"
#include "core/Startup.h"
#include "core/db/AdoConnection.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ListWindow.h"
#include "core/services/PropertyGrid.h"
#include "core/ui/WidgetPrompts.h"
#include "core/ui/frmInputText.h"
#include "mainwindow/MainWindowShell.h"
#include "editor/EditorCommands.h"
#include "editor/frmCSS.h"
#include "editor/frmDescription.h"
#include "editor/frmHTML.h"
#include "editor/frmTable.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/PropertyGridModel.h"
#include "mainwindow/PropertyGridView.h"
#include "mainwindow/frmList.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/frmProperties.h"
#include "mainwindow/frmSelection.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "publishing/HTMLTemplate.h"
#include "reports/ResultFill.h"
#include "reports/ui/ResultGridView.h"
#include "reports/ui/frmResultFill.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <memory>

#include <unistd.h>

namespace {

// Takes the rows a loader asks to show, to show them in a window of its own.
class CapturedList : public ListWindow
{
public:
    void ShowModal(const ItemList& shown) override { rows = shown; }
    ItemList rows;
};

// The result list of the first level-2 sub-test's parents, as its property row opens it.
// A default table inserted at the end of the open description, through the Table menu's dialog.
void InsertTable(frmMdi* window)
{
    QMdiSubWindow* sub = window->MdiArea()->currentSubWindow();
    auto* form = sub ? qobject_cast<frmDescription*>(sub->widget()) : nullptr;
    if (!form)
        return;
    form->DescriptionView()->setFocus();
    QWidget* page =
        form->DescriptionView()->focusProxy() ? form->DescriptionView()->focusProxy() : form->DescriptionView();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(page, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(page, &release);
    // Room for the table above the expected result.
    if (QSplitter* splitter = form->Splitter())
        splitter->setSizes({430, 170});
    window->RunCommand(QStringLiteral("mnuCreateTable"));
    if (frmTable* dialog = window->Editing()->NewTableDialog()) {
        if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")))
            ok->click();
    }
}

// The open description's HTML code window, pictured while it is shown; the command ends with it.
bool PictureSourceView(frmMdi* window, const QString& output)
{
    QMdiSubWindow* sub = window->MdiArea()->currentSubWindow();
    auto* form = sub ? qobject_cast<frmDescription*>(sub->widget()) : nullptr;
    if (!form)
        return false;
    form->DescriptionView()->setFocus();
    bool saved = false;
    // The window shows once the editor has answered, which may take longer than a fixed wait:
    // it is looked for until it is there, and pictured a second after.
    QTimer poll;
    poll.setInterval(200);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* source = qobject_cast<frmHTML*>(QApplication::activeModalWidget());
        if (!source)
            return;
        poll.stop();
        QTimer::singleShot(1000, source, [&saved, source, &output] {
            saved = source->grab().save(output);
            source->close();
        });
    });
    poll.start();
    window->RunCommand(QStringLiteral("mnuToolsHTML"));
    return saved;
}

std::unique_ptr<QDialog> ParentsList(frmMdi* window)
{
    ExplorerNode* node = nullptr;
    for (int index = 1; index <= gExplorerNodes().Count() && !node; ++index) {
        ExplorerNode* candidate = gExplorerNodes().Item(index);
        if (candidate && candidate->Image() == kImageSubTestFirst + 1)
            node = candidate;
    }
    CapturedList captured;
    ListWindow* installed = &listWindow();
    setListWindow(&captured);
    if (node) {
        SubTest subTest;
        subTest.SetKey(node->Key());
        subTest.Find(KeyId(node->Tag()));
        subTest.LoadSubTestParents(true);
    }
    setListWindow(installed);
    auto list = std::make_unique<frmList>(captured.rows, window, window);
    list->resize(560, 200);
    return list;
}

// The style sheet editor on a sheet of three tags, its second shown. The home is temporary: a
// sheet stored for the picture goes with it.
std::unique_ptr<QDialog> StyleSheetEditor(frmMdi* window)
{
    auto css = std::make_unique<frmCSS>(window);
    if (css->Form_Load() && css->lstStyles->count() < 2 &&
        HTMLTemplate().Save(17, QStringLiteral("BODY{font-family:Arial;\n}\nH1{font-weight:bold;\nfont-size:18pt;\n"
                                               "text-align:Center;\npage-break-before:always;\n}\nP{margin:0;\n}\n")) ==
            0)
        css->Form_Load();
    css->lstStyles->setCurrentRow(1);
    css->show();
    return css;
}

// The result entry window on the sample's first test plan, expanded whole, a status picked.
std::unique_ptr<QDialog> ResultEntry(frmMdi* window)
{
    QString plan;
    for (int index = 1; index <= gExplorerNodes().Count() && plan.isEmpty(); ++index) {
        const ExplorerNode* node = gExplorerNodes().Item(index);
        if (node && node->Image() == kImageTestPlan)
            plan = node->Key();
    }
    auto dialog = std::make_unique<frmResultFill>(plan, window);
    dialog->resize(900, 420);
    dialog->ExpandAllRows();
    ResultGridView* grid = dialog->grdResult();
    const ReportGrid& rows = dialog->Fill().Grid();
    for (int row = 1; row < rows.RowCount(); ++row) {
        if (dialog->Fill().IsProcedureRow(row)) {
            grid->SetCurrentCell(row, ResultFill::colStatus);
            break;
        }
    }
    return dialog;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The description editor's web views share their GL contexts with the window's.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koravel"));
    if (argc < 2 || argc > 3) {
        QTextStream(stderr) << "usage: kvl_screenshot <picture.png> "
                               "[main|about|input|list|search|results|description|table|html|css|fillin]\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The main window by default; "about", "input" and "list" picture a dialog over it, "search" the
    // main window with its search pane, "results" the result window of that search and
    // "description" the selected procedure's description window, "table" that window with a table
    // inserted through the Table menu, "html" that description's HTML code window, "css" the style
    // sheet editor, "fillin" the result entry window.
    const QString shown = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("main");

    WidgetPrompts widgetPrompts;
    setPrompts(&widgetPrompts);
    MainWindowShell shell(&widgetPrompts);
    setAppShell(&shell);
    HTMLTemplate::InstallStyleSheetLoader();
    frmResultFill::Install();

    Startup startup;
    if (startup.Main() == StartupState::Ended || !shell.MainWindow()) {
        QTextStream(stderr) << "the main window did not open\n";
        return 1;
    }
    frmMdi* window = shell.MainWindow();
    window->setGeometry(0, 0, 1280, 800);
    // The picture shows the sample's plans opened and a procedure's properties, its name row
    // explained.
    if (frmExplorer* explorer = window->Explorer()) {
        explorer->tvTestPlan_ExpandAll();
        for (int index = 1; index <= gExplorerNodes().Count(); ++index) {
            ExplorerNode* node = gExplorerNodes().Item(index);
            if (node && node->Image() == kImageProcedure) {
                explorer->SelectNode(node->Key());
                explorer->tvTestPlan_NodeClick(node);
                if (shown == QLatin1String("description") || shown == QLatin1String("table") ||
                    shown == QLatin1String("html")) {
                    Procedure procedure;
                    procedure.SetKey(node->Key());
                    if (procedure.Find(KeyIdShort(node->Tag())) == 0)
                        procedure.LoadDocument();
                }
                break;
            }
        }
        if (frmProperties* properties = window->Properties())
            properties->grdProperties()->setCurrentIndex(properties->Model()->index(1, PropertyGrid::kValueCol));
    }
    int code = 0;
    std::unique_ptr<QDialog> styleSheetEditor;
    // Give the window time to lay out its bands and panes (and the editor its page) before the
    // picture is taken.
    const std::function<void()> take = [&] {
        QWidget* picture = window;
        std::unique_ptr<QDialog> dialog;
        if (shown == QLatin1String("about")) {
            dialog = std::make_unique<frmAbout>(window);
        } else if (shown == QLatin1String("list")) {
            dialog = ParentsList(window);
        } else if (shown == QLatin1String("search") || shown == QLatin1String("results")) {
            // The search pane docked under the explorer, after a search for "board".
            window->mnuTestPlanFind_Click();
            window->Selection()->txtFind()->setText(QStringLiteral("board"));
            window->Selection()->cmdFind_Click();
            QApplication::processEvents();
            if (shown == QLatin1String("results") && !window->Selection()->ResultWindows().isEmpty()) {
                frmList* results = window->Selection()->ResultWindows().last();
                results->resize(640, 220);
                QApplication::processEvents();
                picture = results;
            }
        } else if (shown == QLatin1String("css")) {
            dialog = std::move(styleSheetEditor);
        } else if (shown == QLatin1String("fillin")) {
            dialog = ResultEntry(window);
        } else if (shown == QLatin1String("input")) {
            auto input = std::make_unique<frmInputText>(window);
            input->setWindowTitle(QStringLiteral("Title"));
            input->txtFilled->setText(QStringLiteral("Power-on self-test of the bench"));
            dialog = std::move(input);
        }
        if (dialog) {
            dialog->show();
            QApplication::processEvents();
            picture = dialog.get();
        }
        if (!picture->grab().save(output)) {
            QTextStream(stderr) << "cannot write " << output << '\n';
            code = 1;
        }
        // As the user leaves: the main window's close asks each open document first. The inserted
        // table is not kept: the default prompts answer "No".
        if (shown == QLatin1String("table"))
            setPrompts(nullptr);
        window->close();
        app.quit();
    };
    if (shown == QLatin1String("html")) {
        QTimer::singleShot(4000, [&] {
            if (!PictureSourceView(window, output)) {
                QTextStream(stderr) << "cannot write " << output << '\n';
                code = 1;
            }
            // Nothing was edited; should the close ask anyway, the default prompts answer "No".
            setPrompts(nullptr);
            window->close();
            app.quit();
        });
    } else if (shown == QLatin1String("table")) {
        // The picture waits for the insertion, which waits for the editor's page.
        window->mnuViewToolBarTable_Click();
        QTimer::singleShot(3000, [&] {
            InsertTable(window);
            QTimer::singleShot(2500, take);
        });
    } else if (shown == QLatin1String("css")) {
        // The picture waits for the preview's page.
        QTimer::singleShot(1500, [&] {
            styleSheetEditor = StyleSheetEditor(window);
            QTimer::singleShot(3000, take);
        });
    } else {
        QTimer::singleShot(shown == QLatin1String("description") ? 4000 : 1500, take);
    }
    app.exec();
    gConnection().Close();
    setAppShell(nullptr);
    setPrompts(nullptr);
    return code;
}
