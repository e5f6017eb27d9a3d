#pragma once

#include "FakeHtmlEditor.h"
#include "core/DescriptionForm.h"

// A description window without a window: two fake editors, a focused-control name set by the
// test, and a count of its saves. Registers itself with OpenForms while it lives.
class FakeDescriptionForm : public DescriptionForm
{
public:
    explicit FakeDescriptionForm(const QString& caption = QStringLiteral("Item"));
    ~FakeDescriptionForm() override;

    QString Caption() const override { return m_caption; }
    void SetCaption(const QString& caption) override { m_caption = caption; }
    QString Tag() const override { return m_tag; }
    void SetTag(const QString& tag) override { m_tag = tag; }
    HtmlEditor* DHTMLEdit1() override { return &edit1; }
    HtmlEditor* DHTMLEdit2() override { return &edit2; }
    QString ActiveControlName() const override { return activeControl; }
    long SaveDescription() override;

    FakeHtmlEditor edit1;
    FakeHtmlEditor edit2;
    QString activeControl;
    int saves = 0;
    bool failSave = false;  // SaveDescription raises

private:
    QString m_caption;
    QString m_tag;
};
