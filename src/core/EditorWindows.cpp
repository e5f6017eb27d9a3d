#include "core/EditorWindows.h"

#include "core/DescriptionForm.h"
#include "core/HtmlEditor.h"
#include "core/OpenForms.h"
#include "platform/BugLog.h"
#include "platform/HtmlElement.h"

#include <QCoreApplication>

namespace {

// Windows whose caption carries the program's title are not item descriptions.
bool IsItemDescription(const DescriptionForm* form)
{
    if (form->Tag() == QLatin1String("Template"))
        return false;
    const QString title = QCoreApplication::applicationName();
    return title.isEmpty() || !form->Caption().contains(title);
}

void SetEditorsVisible(bool visible)
{
    for (DescriptionForm* form : OpenForms::All()) {
        if (!IsItemDescription(form))
            continue;
        for (HtmlEditor* editor : {form->DHTMLEdit1(), form->DHTMLEdit2()}) {
            if (editor)
                editor->SetVisible(visible);
        }
    }
}

// "80%" is a percentage, anything else a number of pixels.
void SetRange(const QString& value, int& range, QString& text)
{
    if (value.endsWith(QLatin1Char('%'))) {
        range = 0;
        text = value.chopped(1);
    } else {
        range = 1;
        text = value;
    }
}

}  // namespace

void Disable_DHTMLEdit(bool /*withTemplates*/)
{
    SetEditorsVisible(false);
}

void Enable_DHTMLEdit(bool /*withTemplates*/)
{
    try {
        SetEditorsVisible(true);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Enable_DHTMLEdit :"), error);
    }
}

void SaveCurrentForm()
{
    try {
        for (DescriptionForm* form : OpenForms::All()) {
            if (IsItemDescription(form))
                form->SaveDescription();
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error SaveCurrentForm : "), error);
    }
}

TableDialogFields TableFieldsFromElement(const HtmlElement& table)
{
    TableDialogFields fields;
    fields.rowsAndColsPageEnabled = false;  // rows and columns of an existing table are not edited here
    SetRange(table.Attribute(QStringLiteral("width")), fields.cboWidthRange, fields.txtWidth);
    SetRange(table.Attribute(QStringLiteral("height")), fields.cboHeightRange, fields.txtHeight);
    const QString align = table.Attribute(QStringLiteral("align")).toUpper();
    fields.cboAlignment = align == QLatin1String("LEFT")     ? 1
                          : align == QLatin1String("RIGHT")  ? 2
                          : align == QLatin1String("CENTER") ? 3
                                                             : 0;
    fields.txtBorder = table.Attribute(QStringLiteral("border"));
    fields.txtSpacing = table.Attribute(QStringLiteral("cellspacing"));
    fields.txtPading = table.Attribute(QStringLiteral("cellpadding"));
    fields.txtBorderColor = table.Attribute(QStringLiteral("bordercolor"));
    fields.txtBorderShadow = table.Attribute(QStringLiteral("bordercolordark"));
    fields.txtBorderLight = table.Attribute(QStringLiteral("bordercolorlight"));
    fields.txtBackGroundColor = table.Attribute(QStringLiteral("bgcolor"));
    return fields;
}

void SetTableAttributes(const HtmlElement& table)
{
    try {
        TableDialog::Create()->ShowModal(TableFieldsFromElement(table));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SetTableAttributes : "), error);
    }
}
