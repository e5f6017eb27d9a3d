#pragma once

#include <QString>

class HtmlEditor;

// What the program-wide editor procedures need of a description window: its two editors, which
// of its controls has the focus, its caption and its save. The window registers itself with
// OpenForms while it is loaded.
class DescriptionForm
{
public:
    virtual ~DescriptionForm() = default;

    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    // The window's tag: the item's document file name; template layout windows carry "Template".
    virtual QString Tag() const = 0;
    virtual void SetTag(const QString& tag) = 0;
    // The description and the expected-result editors.
    virtual HtmlEditor* DHTMLEdit1() = 0;
    virtual HtmlEditor* DHTMLEdit2() = 0;
    // Name of the focused control ("DHTMLEdit1", "DHTMLEdit2", ...), "" when none has the focus.
    virtual QString ActiveControlName() const = 0;
    // Writes both editors back to the item's row: 0 done, 1 failed.
    virtual long SaveDescription() = 0;

    // Fills the main window's style list with the block formats the description editor offers,
    // once per run; tells the user when the editor offers none.
    void InitCboStyle();

    // False until every pane's first load has completed and been taken as the saved text; the
    // source view clears it so that its reload counts as a fresh load.
    bool DHTMLEditInitialized = false;
    QString mstrTitle;
    QString mstrTestPlanId;
    // The explorer node the window was opened from (a procedure's occurrence); "" when unknown.
    QString mstrKey;
    QString mstrLastSaved;
    QString mstrLastSaved2;
};
