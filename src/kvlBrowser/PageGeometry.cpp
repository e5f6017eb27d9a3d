#include "kvlBrowser/PageGeometry.h"

#include <QPageSize>

#include <algorithm>

namespace {

double Inches(qint32 hundredths)
{
    return hundredths / 100.0;
}

}  // namespace

PageGeometry::PageGeometry(const PrintTemplateValues& values, const QMarginsF& printerMargins)
{
    m_orientation = values.Orientation.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0
                        ? QPageLayout::Landscape
                        : QPageLayout::Portrait;
    m_sheet = QSizeF(Inches(values.PageWidth), Inches(values.PageHeight));
    const double left = Inches(values.MarginLeft);
    const double right = Inches(values.MarginRight);
    const double headerTop = Inches(values.MarginTop);
    const double footerBottom = Inches(values.MarginBottom);
    const double headerHeight = Inches(values.HeaderHeight);
    const double footerHeight = Inches(values.FooterHeight);
    if (std::min({left, right, headerTop, footerBottom, headerHeight, footerHeight, printerMargins.top(),
                  printerMargins.bottom()}) < 0)
        return;

    double top = printerMargins.top();
    if (!values.header.isEmpty())
        top = std::max(top, headerTop + headerHeight);
    double bottom = printerMargins.bottom();
    if (!values.footer.isEmpty())
        bottom = std::max(bottom, footerBottom + footerHeight);
    const double width = m_sheet.width() - left - right;
    const double height = m_sheet.height() - top - bottom;
    if (width <= 0 || height <= 0)
        return;

    m_valid = true;
    m_content = QRectF(left, top, width, height);
    m_header = QRectF(left, headerTop, width, headerHeight);
    m_footer = QRectF(left, m_sheet.height() - footerBottom - footerHeight, width, footerHeight);
}

QPageLayout PageGeometry::Layout() const
{
    if (!m_valid)
        return {};
    // The page size is given upright and the layout turns it: the sheet's lengths already lie as
    // the orientation says, so they are turned back first.
    const QSizeF upright = m_orientation == QPageLayout::Landscape ? m_sheet.transposed() : m_sheet;
    const QPageSize size(upright, QPageSize::Inch, QString(), QPageSize::ExactMatch);
    const QMarginsF margins(m_content.left(), m_content.top(), m_sheet.width() - m_content.right(),
                            m_sheet.height() - m_content.bottom());
    return QPageLayout(size, m_orientation, margins, QPageLayout::Inch);
}
