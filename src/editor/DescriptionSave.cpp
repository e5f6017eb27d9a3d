#include "editor/DescriptionSave.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/DescriptionForm.h"
#include "core/DocumentType.h"
#include "core/HtmlEditor.h"
#include "core/HtmlPages.h"
#include "core/ImageItemKind.h"
#include "core/OptionDefaults.h"
#include "editor/SavedItem.h"
#include "model/ItemRecord.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "publishing/Publication.h"

#include <QSqlQuery>

namespace {

HtmlEditor& Editor(HtmlEditor* editor)
{
    if (!editor)
        throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
    return *editor;
}

// Spaces, tabs and line breaks of any script; "&nbsp;" is markup the user typed, so it counts.
bool IsBlank(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

// One pane's body into its column. A blank body empties the column and leaves the pictures.
void StorePane(HtmlEditor& editor, const QString& table, const QString& column, int id, int pictureKind)
{
    QString body = ClearTags(DocumentType::Description, editor.BodyInnerHTML());
    if (IsBlank(body)) {
        body.clear();
    } else if (OptionDefaults::StoreImage() && Publication().SavePicture(body, QString::number(id), pictureKind) != 0) {
        throw KvlError(KvlError::kGeneric,
                       QStringLiteral("The pictures of %1.%2 could not be stored.").arg(table, column));
    }
    const QSqlQuery query =
        gConnection().Query(QStringLiteral("UPDATE %1 SET %2 = ? WHERE ID = ?").arg(table, column), {body, id});
    if (query.numRowsAffected() == 0)
        throw KvlError(ItemRecord::kRowNotFound,
                       QStringLiteral("Row cannot be located for updating: %1 %2 is no longer in the database.")
                           .arg(table)
                           .arg(id));
}

}  // namespace

DescriptionSave::DescriptionSave(DescriptionForm& form) : m_form(form) {}

long DescriptionSave::SaveDescription()
{
    try {
        const SavedItem item(m_form.mstrTitle, m_form.mstrKey);
        if (item.Kind() != SavedItem::None) {
            HtmlEditor& description = Editor(m_form.DHTMLEdit1());
            const bool procedure = item.Kind() == SavedItem::Procedure;
            const bool descriptionDirty = description.IsDirty();
            const bool resultDirty = procedure && Editor(m_form.DHTMLEdit2()).IsDirty();
            // A procedure window stamps its item even when neither pane changed.
            if (descriptionDirty || procedure) {
                AdoConnection& connection = gConnection();
                DbTransaction transaction(connection);
                if (descriptionDirty)
                    StorePane(description, item.Table(), QStringLiteral("DESCRIPTION"), item.Id(), item.PictureKind());
                if (resultDirty) {
                    StorePane(*m_form.DHTMLEdit2(), item.Table(), QStringLiteral("RESULT"), item.Id(),
                              ImageItemKind::ProcedureExpectedResult);
                }
                item.Stamp();
                if (!transaction.Commit())
                    throw KvlError(3251, QStringLiteral("The description could not be committed."));
                item.ShowProperties();
            }
        }
        Hourglass::Reset();
        m_form.mstrLastSaved = Editor(m_form.DHTMLEdit1()).DocumentHTML();
        if (HtmlEditor* expected = m_form.DHTMLEdit2())
            m_form.mstrLastSaved2 = expected->DocumentHTML();
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SaveDescription : "), error);
        return 1;
    }
}
