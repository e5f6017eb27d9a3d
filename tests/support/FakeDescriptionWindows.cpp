#include "FakeDescriptionWindows.h"

#include "core/DecmdCommands.h"
#include "core/OpenForms.h"
#include "platform/KvlError.h"

FakeDescriptionWindows::FakeDescriptionWindows()
{
    SetDescriptionWindows(this);
}

FakeDescriptionWindows::~FakeDescriptionWindows()
{
    SetDescriptionWindows(nullptr);
}

DescriptionForm* FakeDescriptionWindows::Create()
{
    if (failCreateAfter >= 0 && m_created >= failCreateAfter)
        throw KvlError(7, QStringLiteral("Out of memory"));
    ++m_created;
    auto form = std::make_unique<FakeDescriptionForm>(QString());
    form->edit1.SetStatus(Decmd::GETBLOCKFMTNAMES, blockFormatsStatus);
    form->edit1.SetValue(Decmd::GETBLOCKFMTNAMES, blockFormats);
    if (failBlockFormats)
        form->edit1.FailOn(Decmd::GETBLOCKFMTNAMES);
    events << QStringLiteral("create");
    m_forms.push_back(std::move(form));
    return m_forms.back().get();
}

void FakeDescriptionWindows::Activate(DescriptionForm* form)
{
    events << QStringLiteral("activate ") + form->Caption();
    OpenForms::SetActive(form);
}

void FakeDescriptionWindows::Show(DescriptionForm* form)
{
    events << QStringLiteral("show ") + form->Caption();
    OpenForms::SetActive(form);
}

void FakeDescriptionWindows::Unload(DescriptionForm* form)
{
    events << QStringLiteral("unload");
    std::erase_if(m_forms, [form](const auto& held) { return held.get() == form; });
}

void FakeDescriptionWindows::SetProgressVisible(bool visible)
{
    events << (visible ? QStringLiteral("progress shown") : QStringLiteral("progress hidden"));
}

void FakeDescriptionWindows::SetProgressValue(int value)
{
    events << QStringLiteral("progress %1").arg(value);
}

void FakeDescriptionWindows::DownLoadPicture(QString& html)
{
    events << QStringLiteral("pictures");
    if (pictures)
        pictures(html);
}

std::vector<FakeDescriptionForm*> FakeDescriptionWindows::Forms() const
{
    std::vector<FakeDescriptionForm*> forms;
    for (const auto& form : m_forms)
        forms.push_back(form.get());
    return forms;
}

QStringList FakeDescriptionWindows::TakeEvents()
{
    QStringList taken;
    taken.swap(events);
    return taken;
}
