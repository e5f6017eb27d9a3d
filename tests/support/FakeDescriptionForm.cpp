#include "FakeDescriptionForm.h"

#include "core/OpenForms.h"
#include "platform/KvlError.h"

FakeDescriptionForm::FakeDescriptionForm(const QString& caption) : m_caption(caption)
{
    OpenForms::Add(this);
}

FakeDescriptionForm::~FakeDescriptionForm()
{
    OpenForms::Remove(this);
}

long FakeDescriptionForm::SaveDescription()
{
    if (failSave)
        throw KvlError(3021, QStringLiteral("No current record."));
    ++saves;
    return 0;
}
