#include "publishing/Publication.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"
#include "publishing/PictureFile.h"
#include "publishing/PublicationGeneration.h"
#include "publishing/PictureReferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSqlQuery>

#include <optional>

namespace {

QDir ImagesFolder()
{
    if (gImagePath.isEmpty() || !QDir().mkpath(gImagePath))
        throw KvlError(76, QStringLiteral("Path not found: '%1'").arg(gImagePath));
    return QDir(gImagePath);
}

// A stored file type becomes part of a file name: only a plain extension is accepted.
bool IsPlainExtension(const QString& fileType)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]{1,3}$"));
    return plain.match(fileType).hasMatch();
}

// FILE is a keyword on some engines.
QString FileColumn()
{
    return gConnection().Dialect().Quote(QStringLiteral("FILE"));
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw KvlError(75, QStringLiteral("Path/File access error: '%1'").arg(path));
}

// One save of a document's pictures: what it stored, and the copies it made for undoing them.
struct PictureStore
{
    AdoConnection& connection;
    QDir images;
    QString idItem;
    int icon;
    QSet<int> referenced;
    QStringList& copies;  // made by this save, removed again when it fails

    // The new reference for a source, or "" when it stays as written.
    QString Store(const QString& source)
    {
        const QString stored = StoreFile(source);
        if (!stored.isEmpty())
            return PictureReferences::ReferenceTo(stored);
        // A picture already in the table keeps its row while the page still refers to it.
        int number = 0;
        if (PictureReferences::PictureNumber(PictureReferences::FileName(source), number))
            referenced.insert(number);
        return {};
    }

    QString StoreFile(const QString& source)
    {
        // A relative reference is read where the editor resolves it: in the images folder.
        const QString local = PictureReferences::LocalFile(source);
        const QFileInfo file(QDir::isRelativePath(local) ? images.filePath(local) : local);
        if (!file.isFile())
            return {};
        // Files are typed by a short extension, as FILETYPE holds at most three characters.
        const QString suffix = file.suffix();
        if (suffix.compare(QLatin1String("tag"), Qt::CaseInsensitive) == 0)
            return {};
        const QString fileType = suffix.left(3);
        PictureFile picture = PictureFile::Read(file);
        if (picture.refusal.isEmpty() && !IsPlainExtension(fileType))
            picture.refusal = QStringLiteral("its name has no plain file type");
        if (!picture.refusal.isEmpty()) {
            LogError(QStringLiteral("Error_SavePicture : "), 75,
                     QStringLiteral("Picture not stored: '%1': %2.").arg(source, picture.refusal));
            return {};
        }

        const int id = NewId(QStringLiteral("IMAGEFILE"));
        const QString target = images.filePath(QString::number(id) + QLatin1Char('.') + fileType);
        if (QFileInfo(target).canonicalFilePath() != file.canonicalFilePath()) {
            WriteFile(target, picture.bytes);
            copies.append(target);
        }
        connection.Query(QStringLiteral("INSERT INTO IMAGEFILE (ID, ") + FileColumn() +
                             QStringLiteral(", FILETYPE, ID_ITEM, ITEM) VALUES (?, ?, ?, ?, ?)"),
                         {id, picture.bytes, fileType, idItem, icon});
        referenced.insert(id);
        return target;
    }

    // The document's earlier rows that the page no longer refers to.
    void RemoveUnreferenced()
    {
        QList<int> unused;
        connection.ForEachRow(QStringLiteral("SELECT ID FROM IMAGEFILE WHERE ID_ITEM = ? AND ITEM = ?"), {idItem, icon},
                              [&](const QSqlQuery& row) {
                                  const int id = row.value(0).toInt();
                                  if (!referenced.contains(id))
                                      unused.append(id);
                              });
        for (const int id : unused) {
            connection.Query(QStringLiteral("DELETE FROM IMAGEFILE WHERE ID = ? AND ID_ITEM = ? AND ITEM = ?"),
                             {id, idItem, icon});
        }
    }
};

}  // namespace

QVariant Publication::DownLoadPicture(QString& strHTML)
{
    try {
        AdoConnection& connection = gConnection();
        // The folder is looked for when a picture is to be written, not for every page.
        std::optional<QDir> images;
        PictureReferences page(strHTML);
        // A generation writes each picture once for all its pages.
        QHash<int, QString> local;  // picture number -> file, "" when not stored
        QHash<int, QString>& written = m_generation ? m_generation->pictures : local;
        for (const PictureReferences::Reference& reference : page.References()) {
            int number = 0;
            if (!PictureReferences::PictureNumber(PictureReferences::FileName(reference.source), number))
                continue;
            if (!written.contains(number)) {
                QSqlQuery row = connection.Query(
                    QStringLiteral("SELECT FILETYPE, ") + FileColumn() + QStringLiteral(" FROM IMAGEFILE WHERE ID = ?"),
                    {number});
                QString path;
                if (row.next() && IsPlainExtension(row.value(0).toString())) {
                    if (!images)
                        images = ImagesFolder();
                    path = images->filePath(QString::number(number) + QLatin1Char('.') + row.value(0).toString());
                    WriteFile(path, row.value(1).toByteArray());
                }
                written.insert(number, path);
            }
            if (!written.value(number).isEmpty())
                page.Replace(reference, PictureReferences::ReferenceTo(written.value(number)));
        }
        if (page.HasReplacements())
            strHTML = page.Rewritten();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_DownLoadPicture : "), error);
    }
    return {};
}

long Publication::SavePicture(QString& strHTML, const QString& strIdItem, int intIcon)
{
    QStringList copies;
    try {
        AdoConnection& connection = gConnection();
        PictureStore store{connection, ImagesFolder(), strIdItem, intIcon, {}, copies};
        PictureReferences page(strHTML);
        {
            DbTransaction transaction(connection);
            QHash<QString, QString> stored;  // one row and one copy per distinct source
            for (const PictureReferences::Reference& reference : page.References()) {
                if (!stored.contains(reference.source)) {
                    stored.insert(reference.source, store.Store(reference.source));
                }
                if (!stored.value(reference.source).isEmpty())
                    page.Replace(reference, stored.value(reference.source));
            }
            store.RemoveUnreferenced();
            if (!transaction.Commit())
                throw KvlError(3251, QStringLiteral("The pictures could not be committed."));
        }
        if (page.HasReplacements())
            strHTML = page.Rewritten();
        return 0;
    } catch (const std::exception& error) {
        // The rows went with the rollback; their copies go too.
        for (const QString& copy : copies)
            QFile::remove(copy);
        LogError(QStringLiteral("Error_SavePicture : "), error);
        return 1;
    }
}
