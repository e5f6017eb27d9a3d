#pragma once

#include <QString>
#include <QVariant>

// Pictures of the descriptions kept in the database (table IMAGEFILE) and written out as files
// of the images folder when a description is opened or published.
class Publication
{
public:
    // Writes each stored picture the page refers to into the images folder and points the
    // reference at that file. The page is left unchanged after a failure, which is logged.
    QVariant DownLoadPicture(QString& strHTML);

    // Stores the local picture files the page refers to as pictures of the document
    // (strIdItem, intIcon) and points the references at their numbered copies: 0 done, 1 failed
    // (nothing changed in the database or the page). Only PNG, JPEG, GIF and BMP files of up to
    // 20 MB in the images or temporary folder are stored; any other file stays as written and
    // is logged.
    long SavePicture(QString& strHTML, const QString& strIdItem, int intIcon);
};
