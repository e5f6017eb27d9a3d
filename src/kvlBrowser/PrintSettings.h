#pragma once

#include <QString>

// The page as the print template lays it out: lengths in hundredths of an inch, the sheet as
// wide and high as it lies.
struct PageFields
{
    // "portrait" or "landscape".
    QString Orientation;
    qint32 MarginRight = 0;
    // Distance of the footer from the bottom edge of the sheet.
    qint32 MarginBottom = 0;
    // Distance of the header from the top edge of the sheet.
    qint32 MarginTop = 0;
    qint32 MarginLeft = 0;
    qint32 FooterHeight = 0;
    qint32 HeaderHeight = 0;
    qint32 PageWidth = 0;
    qint32 PageHeight = 0;
};

// What the control hands its print template: the page, and the header and footer each as a JSON
// string holding their HTML ("" for none).
struct PrintSettings : PageFields
{
    QString HTMLHeader;
    QString HTMLFooter;
};
