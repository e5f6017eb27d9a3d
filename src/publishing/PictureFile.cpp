#include "publishing/PictureFile.h"

#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

QString TooLarge()
{
    return QStringLiteral("it is larger than 20 MB");
}

// Symbolic links and ".." are resolved on both sides, so neither can lead out of the folder.
bool InFolder(const QString& canonicalFile, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        return false;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return canonicalFile.startsWith(root);
}

// Judged from the content, whatever the file's name says.
bool IsAllowedPicture(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return false;
    const QByteArray format = reader.format().toLower();
    return format == "png" || format == "jpg" || format == "jpeg" || format == "gif" || format == "bmp";
}

}  // namespace

PictureFile PictureFile::Read(const QFileInfo& file)
{
    const QString path = file.canonicalFilePath();
    if (path.isEmpty() || !(InFolder(path, gImagePath) || InFolder(path, gTempPath)))
        return {QStringLiteral("it is outside the images and temporary folders"), {}};
    if (file.size() > kMaxSize)
        return {TooLarge(), {}};

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        throw KvlError(75, QStringLiteral("Path/File access error: '%1'").arg(path));
    // What is checked is what is stored, even if the file changes meanwhile.
    PictureFile picture{{}, source.read(kMaxSize + 1)};
    if (picture.bytes.size() > kMaxSize)
        return {TooLarge(), {}};
    if (!IsAllowedPicture(picture.bytes))
        return {QStringLiteral("it is not a PNG, JPEG, GIF or BMP picture"), {}};
    return picture;
}
