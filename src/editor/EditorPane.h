#pragma once

#include <functional>

class HtmlEditor;
class QWidget;

// One editing pane of a description window: the editor the program talks to and the widget that
// shows it. The editor is owned by the widget, which the window owns.
struct EditorPane
{
    HtmlEditor* editor = nullptr;
    QWidget* view = nullptr;
};

// Makes a pane inside `parent`. The program's factory shows a web view; tests install one of
// scripted editors.
using EditorPaneFactory = std::function<EditorPane(QWidget* parent)>;

EditorPane CreateEditorPane(QWidget* parent);
// Replaces the factory; an empty one restores the web view's.
void SetEditorPaneFactory(EditorPaneFactory factory);
