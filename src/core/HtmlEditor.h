#pragma once

#include "core/DecmdCommands.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

// A rich-text HTML editor as the description windows use it: a whole page as its document,
// commands by their Decmd numbers, and the events the window reacts to. Implemented over a web
// view for the program and by a scripted fake in the tests.
class HtmlEditor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~HtmlEditor() override = default;

    // Decmd::Status of a command for the current selection.
    virtual int QueryStatus(int command) = 0;
    // Runs a command; `option` is a Decmd::Option. The GET commands answer their value (font
    // name text, font size number, block format text, block format names as a QStringList).
    virtual QVariant ExecCommand(int command, int option = Decmd::OPT_DODEFAULT, const QVariant& argument = {}) = 0;

    // The whole page, as the editor currently serialises it.
    virtual QString DocumentHTML() const = 0;
    virtual void SetDocumentHTML(const QString& html) = 0;
    // Replaces the document by an edited version of it: what IsDirty compares with stays the
    // document last set, so that the edit counts as one. Raises DocumentComplete like a set.
    virtual void ReloadDocumentHTML(const QString& html) = 0;
    // The inner HTML of the document's BODY.
    virtual QString BodyInnerHTML() const = 0;
    // The src values of the document's images, in document order.
    virtual QStringList Images() const = 0;
    // The text of the document's first style sheet.
    virtual QString StyleSheetText() const = 0;
    virtual void SetStyleSheetText(const QString& cssText) = 0;
    // True once the user changed the document since it was last set.
    virtual bool IsDirty() const = 0;

    // Pastes an HTML fragment over the selection, or at the caret, as one step the user can undo.
    virtual void PasteHTML(const QString& html) = 0;
    // Inserts an HTML fragment where the selection starts, the selection's content kept.
    virtual void InsertHTMLAtSelectionStart(const QString& html) = 0;
    // The start tag of the TABLE the user selected as a whole (a click on its border, or a
    // selection spanning exactly that table); "" otherwise, a caret in a cell included.
    virtual QString SelectedTable() = 0;
    // Sets these attributes of the selected table, in this order, as one step the user can undo;
    // an empty value removes the attribute. Raises when no table is selected.
    virtual void SetSelectedTableAttributes(const QList<std::pair<QString, QString>>& attributes) = 0;

    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;

signals:
    void DocumentComplete();
    void DisplayChanged();
    void ShowContextMenu(int x, int y);
};
