#include "core/OpenForms.h"

QList<DescriptionForm*>& OpenForms::Forms()
{
    static QList<DescriptionForm*> forms;
    return forms;
}

DescriptionForm*& OpenForms::ActiveForm()
{
    static DescriptionForm* active = nullptr;
    return active;
}

void OpenForms::Add(DescriptionForm* form)
{
    if (form && !Forms().contains(form))
        Forms().append(form);
}

void OpenForms::Remove(DescriptionForm* form)
{
    Forms().removeAll(form);
    if (ActiveForm() == form)
        ActiveForm() = nullptr;
}

QList<DescriptionForm*> OpenForms::All()
{
    return Forms();
}

void OpenForms::SetActive(DescriptionForm* form)
{
    ActiveForm() = form;
}

DescriptionForm* OpenForms::Active()
{
    return ActiveForm();
}
