#include "core/TableDialog.h"

#include "platform/KvlError.h"

namespace {
TableDialog::Factory& InstalledFactory()
{
    static TableDialog::Factory factory;
    return factory;
}
}  // namespace

void TableDialog::SetFactory(Factory factory)
{
    InstalledFactory() = std::move(factory);
}

std::unique_ptr<TableDialog> TableDialog::Create()
{
    std::unique_ptr<TableDialog> dialog = InstalledFactory() ? InstalledFactory()() : nullptr;
    if (!dialog)
        throw KvlError(QStringLiteral("The table dialog is not available."));
    return dialog;
}
