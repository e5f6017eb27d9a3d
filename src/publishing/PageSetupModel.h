#pragma once

#include <QLatin1String>
#include <QList>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <array>

// The page set-up of section PageSetUp: paper, orientation, the four margins and the heights of
// the printed header and footer. Lengths are stored in hundredths of a millimetre, written with
// "." and read with "." or ",".
namespace PageSetUp {

inline const QString kSection = QStringLiteral("PageSetUp");

enum Key { Name, FooterHeight, HeaderHeight, MarginBottom, MarginTop, MarginLeft, MarginRight, Orientation };

struct Entry
{
    QLatin1String key;
    QLatin1String defaultValue;
};

// The keys in the order they are written, each with the default that every reader uses: A4, a
// footer of 25.61 mm, a header of 20 mm, margins of 16.71 (bottom), 7 (top) and 15.75 mm, portrait.
inline constexpr std::array<Entry, 8> kKeys{{{QLatin1String("Name"), QLatin1String("9")},
                                             {QLatin1String("FooterHeight"), QLatin1String("2561")},
                                             {QLatin1String("HeaderHeight"), QLatin1String("2000")},
                                             {QLatin1String("MarginBottom"), QLatin1String("1671")},
                                             {QLatin1String("MarginTop"), QLatin1String("700")},
                                             {QLatin1String("MarginLeft"), QLatin1String("1575")},
                                             {QLatin1String("MarginRight"), QLatin1String("1575")},
                                             {QLatin1String("Orientation"), QLatin1String("1")}}};

// The stored whole number of the paper code or of a length (a fraction rounded to the nearest,
// halves to even). A text that is not a number, a length below 0 or above 32767 or a paper code
// outside 16 bits gives the key's default, with one entry logged under `label`.
int ReadNumber(Key key, const QString& label);
// The stored orientation: any number but 0 is portrait. A text that is not a number reads as
// portrait, with one entry logged under `label`.
bool ReadPortrait(const QString& label);
// The upright paper of a paper code in twips; a code Qt does not know gives A4.
QSize PaperTwips(int code);
// A length as stored: the shortest text of at most 15 significant digits.
QString LengthText(double hundredths);

}  // namespace PageSetUp

// The page set-up dialog without its window: the values it shows, the page drawing whose borders
// the user drags, and OK writing them back. Nothing is stored, and no other print is affected,
// before Save.
class PageSetupModel
{
public:
    struct Paper
    {
        QString name;
        int code = 0;
    };

    // The page drawn as a grid: rows top margin, header, body, footer, bottom margin; columns left
    // margin, text, right margin. Twips.
    struct Drawing
    {
        QRect place;  // in the grey square of kSquare x kSquare
        std::array<int, 5> rowHeight{};
        std::array<int, 3> colWidth{};
    };

    static constexpr int kSquare = 5000;
    // Twips per millimetre of the drawing's page sizes.
    static constexpr double kTwipsPerMillimetre = 56.7;

    // The paper list in its order.
    static const QList<Paper>& Papers();
    // The labels of column 1, rows 1 to 3.
    static const QStringList& Labels();

    // Reads the section, each length with its default, and draws the page.
    PageSetupModel();

    // Millimetres.
    double mdblMarginLeft = 0;
    double mdblMarginTop = 0;
    double mdblMarginBottom = 0;
    double mdblMarginRight = 0;
    double mdblHeaderHeight = 0;
    double mdblFooterHeight = 0;
    qint16 mintPaperSize = 9;
    bool mblnPortrait = true;

    Drawing grdPage;

    // The entry of the paper code in Papers(), -1 when no entry has it.
    int PaperIndex() const;
    // The page in millimetres as it lies.
    QSizeF PageMillimetres() const;

    // A paper entry chosen (cboType_Click).
    void SelectPaper(int index);
    // An orientation option chosen (optPotrait_Click, optLandscape_Click).
    void SetPortrait(bool portrait);
    // After the user dragged a border: grdPage already holds the dragged row (row, -1) or column
    // (-1, col) at its new size.
    void grdPage_AfterUserResize(int row, int col);
    // OK: writes the eight keys in their order.
    void Save() const;

private:
    // Redraws the page from the values.
    void Resize();
    void ResizeColumn(int col, const QSizeF& page);
    void ResizeRow(int row, const QSizeF& page);
    void BodyResized(const QSizeF& page);
    int RowsTotal() const;
};
