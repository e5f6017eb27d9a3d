#include "editor/EditorPane.h"

#include "platform/KvlError.h"

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
    Q_UNUSED(parent);
    throw KvlError(QStringLiteral("No description editor is available."));
}

void SetEditorPaneFactory(EditorPaneFactory factory)
{
    Installed() = std::move(factory);
}
