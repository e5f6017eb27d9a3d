#pragma once

#include "core/HtmlEditor.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QVariantMap>
#include <QTimer>

#include <functional>

class EditorBridge;
class EditorWebPage;
class FindDialog;
class QEventLoop;
class QWebChannel;
class QWebEngineProfile;
class QWebEngineView;

// The description editor over a web view whose BODY is editable. The command states arrive
// from the page's bridge script as the caret moves, so QueryStatus answers at once; the document
// and the commands go to the page and wait for its answer (5 s at most, user input held back),
// so a save never reads stale text. Raises KvlError when the page does not answer, and
// KvlError::kCancelled when the user cancels a command's dialog.
class WebEngineHtmlEditor : public HtmlEditor
{
    Q_OBJECT

public:
    // The view is a child of `parentWidget` and owns the editor: deleting it deletes both.
    explicit WebEngineHtmlEditor(QWidget* parentWidget);
    ~WebEngineHtmlEditor() override;

    QWebEngineView* View() const { return m_view; }

    int QueryStatus(int command) override;
    QVariant ExecCommand(int command, int option = Decmd::OPT_DODEFAULT, const QVariant& argument = {}) override;
    QString DocumentHTML() const override;
    void SetDocumentHTML(const QString& html) override;
    void ReloadDocumentHTML(const QString& html) override;
    QString BodyInnerHTML() const override;
    QStringList Images() const override;
    QString StyleSheetText() const override;
    void SetStyleSheetText(const QString& cssText) override;
    bool IsDirty() const override;
    void PasteHTML(const QString& html) override;
    void InsertHTMLAtSelectionStart(const QString& html) override;
    QString SelectedTable() override;
    void SetSelectedTableAttributes(const QList<std::pair<QString, QString>>& attributes) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

    // The block format names, in the order the style list shows them.
    static QStringList BlockFormatNames();

    static constexpr int kAnswerMs = 5000;
    // A pause in typing this long takes the copy a dead renderer is reloaded from.
    static constexpr int kCopyPauseMs = 700;

private:
    // A renderer that did not end normally (`crashed`): the page is reloaded from the last copy
    // and the user is told.
    void RenderProcessTerminated(bool crashed);
    void LoadBlankPage();
    void BlankPageLoaded(bool ok);
    // Places the text in the page; `setBody` is the document whose BODY counts as unchanged,
    // or a null text for this one.
    void Place(const QString& html, const QString& setBody);
    void Reported(const QVariantMap& state, bool typed);
    void EmitLater(void (HtmlEditor::*event)());
    void Answered(int id, const QVariantMap& answer);
    void TakeState(const QVariant& state);
    void TakeCopy();
    void RestartCopyTimer();
    // The commands that ask the user first.
    QString AskLink(const QString& url) const;
    QString AskPicture() const;
    void ShowFind();
    void ChooseFont();

    // Asks `function(arguments)` of the bridge script and waits for its answer.
    QVariant Call(const QString& function, const QString& arguments = QString()) const;
    // The event loops wait until `done` holds: 5 s at most, or the renderer stops.
    void Wait(const std::function<bool()>& done) const;
    void Wake() const;
    void WaitForDocument() const;
    static QString Literal(const QString& text);

    QWebEngineView* m_view = nullptr;
    QWebEngineProfile* m_profile = nullptr;
    EditorWebPage* m_page = nullptr;
    QWebChannel* m_channel = nullptr;
    EditorBridge* m_bridge = nullptr;

    QHash<int, int> m_statuses;
    QHash<int, QVariant> m_values;

    bool m_blankLoaded = false;
    bool m_ready = false;       // no placement is under way
    bool m_stateKnown = false;  // the page reported the states of the document in place
    int m_placing = 0;          // the number of the last placement asked for
    QString m_setDocument;      // as last given to SetDocumentHTML
    QString m_copy;             // the document after the last pause in typing
    bool m_reloadCopy = false;  // the blank page, once loaded, places the copy
    int m_deaths = 0;
    mutable int m_questions = 0;  // the number of the last question put to the page
    int m_placeQuestion = 0;      // the question that places the document under way
    int m_copyQuestion = 0;       // the question that takes the copy
    int m_copyOf = 0;             // the placement the copy under way is of
    mutable QSet<int> m_asked;    // questions still waited for
    mutable QHash<int, QVariantMap> m_answers;
    QTimer m_copyTimer;
    QPointer<FindDialog> m_find;
    mutable QList<QEventLoop*> m_loops;
};
