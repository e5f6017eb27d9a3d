#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>

// A local file that a page names as a picture, read for storing in the shared database. Only
// pictures of the images or temporary folder are taken: a page written by one user must not
// copy another file of the user who saves it (a settings file, say) into the database.
struct PictureFile
{
    static constexpr qint64 kMaxSize = 20 * 1024 * 1024;

    QString refusal;  // why the file may not be stored; "" when it may
    QByteArray bytes;

    // Raises KvlError when an acceptable file cannot be read.
    static PictureFile Read(const QFileInfo& file);
};
