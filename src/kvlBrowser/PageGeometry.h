#pragma once

#include "kvlBrowser/PrintTemplate.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

// Where each printed page puts the content, the header and the footer, in inches from the top
// left corner of the sheet as it lies. The sheet is PageWidth x PageHeight. The content keeps the
// left and right margins; at the top it starts at the printer's margin, or below the header band
// when there is a header and that band reaches lower (the bottom likewise). The header band starts
// MarginTop below the top edge and the footer band ends MarginBottom above the bottom edge, both
// as wide as the content.
class PageGeometry
{
public:
    // printerMargins: the printer's minimum margins in inches (0 for PDF output); only the top and
    // bottom ones count, the page set-up gives the left and right ones.
    PageGeometry(const PrintTemplateValues& values, const QMarginsF& printerMargins);

    // False when the lengths leave the page no content area (or are negative): nothing else is
    // then meaningful.
    bool IsValid() const { return m_valid; }
    QSizeF Sheet() const { return m_sheet; }
    QPageLayout::Orientation Orientation() const { return m_orientation; }
    QRectF Content() const { return m_content; }
    QRectF HeaderBand() const { return m_header; }
    QRectF FooterBand() const { return m_footer; }
    // The sheet lying as the orientation says, with the content's margins.
    QPageLayout Layout() const;

private:
    bool m_valid = false;
    QSizeF m_sheet;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QRectF m_content;
    QRectF m_header;
    QRectF m_footer;
};
