#pragma once

#include "FakeHtmlEditor.h"

#include "core/DecmdCommands.h"
#include "editor/EditorPane.h"

#include <QList>
#include <QWidget>

// Description window panes of scripted editors behind focusable widgets, for the window tests.
// Install with SetEditorPaneFactory(FakeEditorPane).

// An editor that serialises its document in its own way, as a real one does: tags in lower case.
class NormalisingEditor : public FakeHtmlEditor
{
public:
    using FakeHtmlEditor::FakeHtmlEditor;
    QString DocumentHTML() const override
    {
        return FakeHtmlEditor::DocumentHTML().replace("<P>", "<p>").replace("</P>", "</p>");
    }
};

// The scripted editors alive, in the order they were made.
inline QList<FakeHtmlEditor*>& FakeEditors()
{
    static QList<FakeHtmlEditor*> editors;
    return editors;
}

inline EditorPane FakeEditorPane(QWidget* parent)
{
    auto* view = new QWidget(parent);
    view->setFocusPolicy(Qt::StrongFocus);
    auto* editor = new NormalisingEditor(view);
    editor->SetStatus(Decmd::GETBLOCKFMTNAMES, Decmd::ENABLED);
    editor->SetValue(Decmd::GETBLOCKFMTNAMES, QStringList{"Normal", "Heading 1"});
    FakeEditors() << editor;
    QObject::connect(editor, &QObject::destroyed, [editor] { FakeEditors().removeAll(editor); });
    return {editor, view};
}
