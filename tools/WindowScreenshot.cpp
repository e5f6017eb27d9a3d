// Opens the program as a user would (start-up, sample database, main window) and writes a picture
// of the main window (or of one of its dialogs, or of the sample's plan published as a site), for
// the README. scripts/screenshot.sh runs it under a virtual display in a temporary home.
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
#include "model/TestPlan.h"
#include "publishing/FrameSetFile.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/Publication.h"
#include "publishing/ui/frmDlgImport.h"
#include "reports/ResultFill.h"
#include "reports/ui/ResultGridView.h"
#include "reports/ui/frmResultFill.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>
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

// The node key of the sample's first test plan.
QString FirstTestPlanKey()
{
    for (int index = 1; index <= gExplorerNodes().Count(); ++index) {
        const ExplorerNode* node = gExplorerNodes().Item(index);
        if (node && node->Image() == kImageTestPlan)
            return node->Key();
    }
    return {};
}

// The result entry window on the sample's first test plan, expanded whole, a status picked.
std::unique_ptr<QDialog> ResultEntry(frmMdi* window)
{
    auto dialog = std::make_unique<frmResultFill>(FirstTestPlanKey(), window);
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

// The sample's first test plan published as a framed site into `folder`, as the HTML export
// writes it: the frame set, then the pages beside it. Gives the frame set's path, "" on failure.
QString PublishSite(const QString& folder)
{
    const QString planKey = FirstTestPlanKey();
    TestPlan plan;
    if (planKey.isEmpty() || plan.Find(TestPlanIdFromKey(planKey)) != 0)
        return {};
    const QString frameSet = QDir(folder).filePath(QStringLiteral("site.htm"));
    if (WriteFrameSetFile(frameSet, plan.Id()) != 0)
        return {};
    Publication publication;
    publication.SetFileName(frameSet);
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    return publication.GenerateDocuments(plan) == 0 ? frameSet : QString();
}

// Dark pixels of a picture between two columns: text drawn there.
int InkBetween(const QImage& image, int left, int right)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = left; x < qMin(right, image.width()); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
}

// The frame set of a published site in a web view, as a reader's browser shows it. Once the
// frames have loaded and painted their text the view is pictured; then the explorer's first link
// is clicked, and the page it opens in the content frame is checked and told on the output.
class SiteBrowser : public QObject
{
public:
    SiteBrowser(const QString& frameSet, const QString& output, std::function<void(int)> done)
        : m_output(output), m_done(std::move(done))
    {
        m_view.resize(1180, 720);
        m_view.setWindowTitle(QStringLiteral("Published site"));
        connect(&m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
            if (!ok)
                Finish(QStringLiteral("the frame set did not load"));
            else if (m_state == State::Loading)
                m_state = State::Painting;
        });
        m_poll.setInterval(250);
        connect(&m_poll, &QTimer::timeout, this, &SiteBrowser::Poll);
        m_view.show();
        m_view.load(QUrl::fromLocalFile(frameSet));
        m_clock.start();
        m_poll.start();
    }

private:
    enum class State { Loading, Painting, Following, Done };
    static constexpr int kExplorerWidth = 200;  // the frame set's first column
    static constexpr int kTimeoutMs = 30000;
    static constexpr int kInk = 40;

    // What each frame holds: its page's file, whether that page is complete, its text's length
    // and first heading. A frame whose page cannot be read reports an error instead.
    static QString FramesScript()
    {
        return QStringLiteral(
            "(function () {"
            "  var frames = [];"
            "  for (var i = 0; i < window.frames.length; ++i) {"
            "    try {"
            "      var d = window.frames[i].document;"
            "      var h = d.querySelector('h1, h2');"
            "      frames.push({page: d.URL.split('/').pop(), complete: d.readyState === 'complete',"
            "                   text: d.body ? d.body.innerText.trim().length : 0,"
            "                   heading: h ? h.innerText.trim() : ''});"
            "    } catch (e) { frames.push({error: String(e)}); }"
            "  }"
            "  return frames;"
            "})()");
    }

    void Poll()
    {
        if (m_state == State::Done || m_busy)
            return;
        if (m_clock.elapsed() > kTimeoutMs) {
            Finish(m_state == State::Following ? QStringLiteral("the followed link did not show its page")
                                               : QStringLiteral("the site's frames did not paint"));
            return;
        }
        if (m_state == State::Loading)
            return;
        m_busy = true;
        m_view.page()->runJavaScript(FramesScript(), [this](const QVariant& result) {
            m_busy = false;
            Frames(result.toList());
        });
    }

    void Frames(const QVariantList& frames)
    {
        if (m_state == State::Done || frames.size() != 2)
            return;
        for (const QVariant& frame : frames) {
            const QVariantMap map = frame.toMap();
            if (map.contains(QStringLiteral("error"))) {
                Finish(QStringLiteral("a frame cannot be read: ") + map.value(QStringLiteral("error")).toString());
                return;
            }
            if (!map.value(QStringLiteral("complete")).toBool() || map.value(QStringLiteral("text")).toInt() == 0)
                return;
        }
        const QVariantMap content = frames.at(1).toMap();
        const QImage picture = m_view.grab().toImage();
        if (InkBetween(picture, 0, kExplorerWidth) < kInk ||
            InkBetween(picture, kExplorerWidth, picture.width()) < kInk)
            return;
        if (m_state == State::Painting) {
            if (!picture.save(m_output)) {
                Finish(QStringLiteral("cannot write ") + m_output);
                return;
            }
            m_shown = picture;
            Report(content);
            Follow();
        } else if (content.value(QStringLiteral("page")).toString() == m_followed && picture != m_shown) {
            Report(content);
            m_state = State::Done;
            m_done(0);
        }
    }

    // Clicks the explorer's first link, as a reader would.
    void Follow()
    {
        m_state = State::Following;
        m_busy = true;
        m_view.page()->runJavaScript(QStringLiteral("(function () {"
                                                    "  var link = window.frames[0].document.links[0];"
                                                    "  if (!link) return '';"
                                                    "  link.click();"
                                                    "  return link.getAttribute('href') + '|' + link.innerText;"
                                                    "})()"),
                                     [this](const QVariant& result) {
                                         m_busy = false;
                                         const QString link = result.toString();
                                         if (link.isEmpty()) {
                                             Finish(QStringLiteral("the explorer frame holds no link"));
                                             return;
                                         }
                                         m_followed = link.section(QLatin1Char('|'), 0, 0);
                                         QTextStream(stdout)
                                             << "followed the explorer's link \"" << link.section(QLatin1Char('|'), 1)
                                             << "\" to " << m_followed << '\n';
                                     });
    }

    static void Report(const QVariantMap& content)
    {
        QTextStream(stdout) << "the content frame shows " << content.value(QStringLiteral("page")).toString()
                            << ", headed \"" << content.value(QStringLiteral("heading")).toString() << "\"\n";
    }

    void Finish(const QString& fault)
    {
        QTextStream(stderr) << fault << '\n';
        m_state = State::Done;
        m_done(1);
    }

    QWebEngineView m_view;
    QString m_output;
    std::function<void(int)> m_done;
    QTimer m_poll;
    QElapsedTimer m_clock;
    State m_state = State::Loading;
    bool m_busy = false;
    QImage m_shown;
    QString m_followed;
};

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
                               "[main|about|input|list|search|results|description|table|html|css|fillin|site|"
                               "import]\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The main window by default; "about", "input" and "list" picture a dialog over it, "search" the
    // main window with its search pane, "results" the result window of that search and
    // "description" the selected procedure's description window, "table" that window with a table
    // inserted through the Table menu, "html" that description's HTML code window, "css" the style
    // sheet editor, "fillin" the result entry window, "site" the sample's plan published as a
    // framed site, in a browser, "import" the XML import options.
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
    // The published site and the browser showing it.
    QTemporaryDir folder;
    std::unique_ptr<SiteBrowser> site;
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
        } else if (shown == QLatin1String("import")) {
            dialog = std::make_unique<frmDlgImport>(window);
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
    } else if (shown == QLatin1String("site")) {
        const QString frameSet = folder.isValid() ? PublishSite(folder.path()) : QString();
        const auto finish = [&](int result) {
            code = result;
            window->close();
            app.quit();
        };
        if (frameSet.isEmpty()) {
            QTextStream(stderr) << "the site could not be published\n";
            QTimer::singleShot(0, [finish] { finish(1); });
        } else {
            site = std::make_unique<SiteBrowser>(frameSet, output, finish);
        }
    } else {
        QTimer::singleShot(shown == QLatin1String("description") ? 4000 : 1500, take);
    }
    app.exec();
    gConnection().Close();
    setAppShell(nullptr);
    setPrompts(nullptr);
    return code;
}
