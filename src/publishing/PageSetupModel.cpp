#include "publishing/PageSetupModel.h"

#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "platform/Settings.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kLoadLabel = QStringLiteral("Error_LoadPageSetUp: ");
const QString kResizeLabel = QStringLiteral("Error_Resize: ");
const QString kDragLabel = QStringLiteral("Error_grdPage_AfterUserResize: ");

const QRect kPortraitPlace(840, 480, 3000, 4000);
const QRect kLandscapePlace(480, 840, 4000, 3000);

// Twips are rounded to the nearest whole twip, halves to even.
int Round(double twips)
{
    return static_cast<int>(std::nearbyint(twips));
}

// Held within [low, high]: the upper bound is applied first.
int Limited(int twips, double low, double high)
{
    if (twips > high)
        twips = Round(high);
    if (twips < low)
        twips = Round(low);
    return twips;
}

}  // namespace

const QList<PageSetupModel::Paper>& PageSetupModel::Papers()
{
    static const QList<Paper> papers{{QStringLiteral("A4"), 9},           {QStringLiteral("B5"), 13},
                                     {QStringLiteral("DL Envelope"), 27}, {QStringLiteral("Executive"), 7},
                                     {QStringLiteral("Legal"), 5},        {QStringLiteral("Letter"), 1}};
    return papers;
}

const QStringList& PageSetupModel::Labels()
{
    static const QStringList labels{QStringLiteral("Header"), QStringLiteral("Page"), QStringLiteral("Footer")};
    return labels;
}

PageSetupModel::PageSetupModel()
{
    using namespace PageSetUp;
    // Each key is read on its own: a bad one keeps its default and the others are still read.
    mintPaperSize = static_cast<qint16>(ReadNumber(Name, kLoadLabel));
    mdblFooterHeight = ReadNumber(FooterHeight, kLoadLabel) / 100.0;
    mdblHeaderHeight = ReadNumber(HeaderHeight, kLoadLabel) / 100.0;
    mdblMarginBottom = ReadNumber(MarginBottom, kLoadLabel) / 100.0;
    mdblMarginTop = ReadNumber(MarginTop, kLoadLabel) / 100.0;
    mdblMarginLeft = ReadNumber(MarginLeft, kLoadLabel) / 100.0;
    mdblMarginRight = ReadNumber(MarginRight, kLoadLabel) / 100.0;
    mblnPortrait = ReadPortrait(kLoadLabel);
    grdPage.place = mblnPortrait ? kPortraitPlace : kLandscapePlace;
    Resize();
}

int PageSetupModel::PaperIndex() const
{
    const QList<Paper>& papers = Papers();
    const auto found =
        std::find_if(papers.begin(), papers.end(), [&](const Paper& paper) { return paper.code == mintPaperSize; });
    return found == papers.end() ? -1 : static_cast<int>(found - papers.begin());
}

QSizeF PageSetupModel::PageMillimetres() const
{
    const QSizeF paper = QSizeF(PageSetUp::PaperTwips(mintPaperSize)) / kTwipsPerMillimetre;
    return mblnPortrait ? paper : paper.transposed();
}

void PageSetupModel::SelectPaper(int index)
{
    if (index < 0 || index >= Papers().size())
        return;
    mintPaperSize = static_cast<qint16>(Papers()[index].code);
    Resize();
}

void PageSetupModel::SetPortrait(bool portrait)
{
    mblnPortrait = portrait;
    grdPage.place = portrait ? kPortraitPlace : kLandscapePlace;
    Resize();
}

void PageSetupModel::Resize()
{
    try {
        const QSizeF page = PageMillimetres();
        const int width = grdPage.place.width();
        const int height = grdPage.place.height();
        const double widthScale = width / page.width();
        const double heightScale = height / page.height();
        auto& cols = grdPage.colWidth;
        cols[0] = Round(widthScale * mdblMarginLeft);
        cols[2] = Round(widthScale * mdblMarginRight);
        cols[1] = width - cols[0] - cols[2];
        auto& rows = grdPage.rowHeight;
        rows[0] = Round(heightScale * mdblMarginTop);
        rows[4] = Round(heightScale * mdblMarginBottom);
        rows[1] = Round(heightScale * mdblHeaderHeight);
        rows[3] = Round(heightScale * mdblFooterHeight);
        rows[2] = height - rows[0] - rows[1] - rows[3] - rows[4];
    } catch (const std::exception& error) {
        LogError(kResizeLabel, error);
    }
}

void PageSetupModel::grdPage_AfterUserResize(int row, int col)
{
    try {
        const QSizeF page = PageMillimetres();
        if (row == -1 && col >= 0 && col < static_cast<int>(grdPage.colWidth.size()))
            ResizeColumn(col, page);
        else if (col == -1 && row >= 0 && row < static_cast<int>(grdPage.rowHeight.size()))
            ResizeRow(row, page);
        else
            throw KvlError(QStringLiteral("The page drawing has no row %1 and column %2.").arg(row).arg(col));
    } catch (const std::exception& error) {
        LogError(kDragLabel, error);
    }
}

void PageSetupModel::ResizeColumn(int col, const QSizeF& page)
{
    const int width = grdPage.place.width();
    auto& cols = grdPage.colWidth;
    if (col == 0) {
        cols[0] = Limited(cols[0], 0.02 * width, 0.3 * width);
        mdblMarginLeft = cols[0] * page.width() / width;
        cols[2] = Round(width / page.width() * mdblMarginRight);
        cols[1] = width - cols[0] - cols[2];
    } else if (col == 1) {
        cols[2] = Limited(width - cols[0] - cols[1], 0.02 * width, 0.3 * width);
        mdblMarginRight = cols[2] * page.width() / width;
        cols[1] = width - cols[2] - cols[0];
    }
}

void PageSetupModel::ResizeRow(int row, const QSizeF& page)
{
    const int height = grdPage.place.height();
    auto& rows = grdPage.rowHeight;
    const auto body = [&] { rows[2] = height - rows[0] - rows[1] - rows[3] - rows[4]; };
    switch (row) {
        case 0:
            rows[0] = Limited(rows[0], 0.02 * height, 0.1 * height);
            mdblMarginTop = rows[0] * page.height() / height;
            body();
            break;
        case 1:
            rows[1] = Limited(rows[1], 0.02 * height, 0.3 * height);
            mdblHeaderHeight = rows[1] * page.height() / height;
            body();
            break;
        case 2:
            BodyResized(page);
            break;
        case 3:
            // A footer dragged past the bottom edge would leave a negative margin, which the section
            // cannot hold: the footer row stops at the edge instead.
            rows[4] = std::max(0, height - rows[0] - rows[1] - rows[2] - rows[3]);
            rows[3] = height - rows[0] - rows[1] - rows[2] - rows[4];
            mdblMarginBottom = rows[4] * page.height() / height;
            break;
        default:
            break;
    }
}

// The footer takes up what the body gave or took.
void PageSetupModel::BodyResized(const QSizeF& page)
{
    const int height = grdPage.place.height();
    auto& rows = grdPage.rowHeight;
    const int spare = height - RowsTotal();
    if (spare > 0) {
        rows[3] = Limited(rows[3] + spare, 0.02 * height, 0.3 * height);
        if (RowsTotal() < height)
            rows[4] = height - rows[0] - rows[1] - rows[2] - rows[3];
    } else {
        rows[3] = std::max(height - rows[0] - rows[1] - rows[2] - rows[4], Round(0.02 * height));
        rows[2] = height - rows[0] - rows[1] - rows[3] - rows[4];
    }
    mdblFooterHeight = rows[3] * page.height() / height;
}

int PageSetupModel::RowsTotal() const
{
    int total = 0;
    for (int rowHeight : grdPage.rowHeight)
        total += rowHeight;
    return total;
}

void PageSetupModel::Save() const
{
    using namespace PageSetUp;
    const QString values[] = {
        QString::number(mintPaperSize),     LengthText(mdblFooterHeight * 100),
        LengthText(mdblHeaderHeight * 100), LengthText(mdblMarginBottom * 100),
        LengthText(mdblMarginTop * 100),    LengthText(mdblMarginLeft * 100),
        LengthText(mdblMarginRight * 100),  mblnPortrait ? QStringLiteral("-1") : QStringLiteral("0")};
    for (size_t k = 0; k < kKeys.size(); ++k)
        Settings::SaveSetting(kSection, kKeys[k].key, values[k]);
}
