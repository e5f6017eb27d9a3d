#include "model/DescriptionDocument.h"

#include "core/db/AdoConnection.h"
#include "core/DescriptionForm.h"
#include "core/DocumentType.h"
#include "core/HtmlEditor.h"
#include "core/HtmlPages.h"
#include "core/OpenForms.h"
#include "core/OptionDefaults.h"
#include "core/services/DescriptionWindows.h"
#include "model/DbValues.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QDir>
#include <QSqlQuery>

namespace {

DescriptionForm* OpenWindow(const QString& title)
{
    for (DescriptionForm* form : OpenForms::All()) {
        if (form->mstrTitle.contains(title))
            return form;
    }
    return nullptr;
}

HtmlEditor& Editor(HtmlEditor* editor)
{
    if (!editor)
        throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
    return *editor;
}

// A whole page around the stored column; a Null column or a missing row gives an empty page.
QString Page(const QString& table, const QString& column, const QString& id)
{
    QString page = HtmlHead(DocumentType::Plain);
    QSqlQuery row = gConnection().Query(
        QStringLiteral("SELECT %1 FROM %2 WHERE ID = ? AND %1 IS NOT NULL").arg(column, table), {DbValues::Id(id)});
    if (row.next()) {
        page += row.value(0).toString();
        if (OptionDefaults::StoreImage())
            gDescriptionWindows().DownLoadPicture(page);
    }
    return page + QStringLiteral("</BODY></HTML>");
}

}  // namespace

QString DescriptionDocument::Title() const
{
    return QStringLiteral("Description %1 : %2 ").arg(kind, id);
}

QString DescriptionDocument::DocumentFile() const
{
    return QDir(AppFolders::DataFolder()).filePath(fileName + id + QStringLiteral(".htm"));
}

int DescriptionDocument::Load() const
{
    DescriptionForm* unshown = nullptr;
    try {
        DescriptionWindows& windows = gDescriptionWindows();
        const auto progress = [&](int value) {
            if (withExpectedResult)
                windows.SetProgressValue(value);
        };
        if (withExpectedResult)
            windows.SetProgressVisible(true);
        progress(10);

        if (DescriptionForm* open = OpenWindow(Title())) {
            windows.Activate(open);
            if (withExpectedResult)
                windows.SetProgressVisible(false);
            return 0;
        }

        DescriptionForm* form = unshown = windows.Create();
        progress(30);
        form->mstrTitle = Title();
        form->SetCaption(name);
        form->SetTag(DocumentFile());
        if (testPlanId)
            form->mstrTestPlanId = *testPlanId;
        form->mstrKey = key;

        const QString description = Page(table, QStringLiteral("DESCRIPTION"), id);
        Editor(form->DHTMLEdit1()).SetDocumentHTML(description);
        form->mstrLastSaved = description;
        form->mstrLastSaved2 = description;
        progress(50);
        if (withExpectedResult) {
            const QString expected = Page(table, QStringLiteral("RESULT"), id);
            Editor(form->DHTMLEdit2()).SetDocumentHTML(expected);
            form->mstrLastSaved2 = expected;
            progress(90);
        }

        form->InitCboStyle();
        windows.DefaultMousePointer();
        progress(100);
        if (withExpectedResult)
            windows.SetProgressVisible(false);
        windows.Show(form);
        unshown = nullptr;
        windows.RefreshProperties();
        if (withExpectedResult)
            windows.RefreshTabs();
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_LoadDocument %1 : ").arg(kind), error);
        try {
            // A hidden window left loaded would hold the item's title, and every later open would
            // only bring forward a window nobody can see.
            if (unshown)
                gDescriptionWindows().Unload(unshown);
            if (withExpectedResult)
                gDescriptionWindows().SetProgressVisible(false);
        } catch (...) {
            // Nothing installed to tidy; the failure is logged already.
        }
        return 1;
    }
}
