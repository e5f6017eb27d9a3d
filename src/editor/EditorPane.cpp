#include "editor/EditorPane.h"

#include "editor/WebEngineHtmlEditor.h"

#include <QWebEngineView>

namespace {

EditorPaneFactory& Installed()
{
    static EditorPaneFactory factory;
    return factory;
}

}  // namespace

EditorPane CreateEditorPane(QWidget* parent)
{
    if (Installed())
        return Installed()(parent);
    auto* editor = new WebEngineHtmlEditor(parent);
    return {editor, editor->View()};
}

void SetEditorPaneFactory(EditorPaneFactory factory)
{
    Installed() = std::move(factory);
}
