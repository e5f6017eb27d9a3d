#include "editor/DescriptionSave.h"
#include "core/DescriptionForm.h"
#include "core/HtmlEditor.h"
// TEMPORARY, never committed: stands in until the real save is merged.
DescriptionSave::DescriptionSave(DescriptionForm& form) : m_form(form) {}
long DescriptionSave::SaveDescription()
{
    if (!m_form.mstrTitle.section(':', 1).trimmed().toInt())
        return 1;
    m_form.mstrLastSaved = m_form.DHTMLEdit1()->DocumentHTML();
    if (m_form.DHTMLEdit2())
        m_form.mstrLastSaved2 = m_form.DHTMLEdit2()->DocumentHTML();
    return 0;
}
