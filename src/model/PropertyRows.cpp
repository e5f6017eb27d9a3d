#include "model/PropertyRows.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "model/ItemRecord.h"
#include "model/PropertyCaptions.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <limits>

namespace PropertyRows {

namespace {

constexpr long kTypeMismatch = 13;
constexpr long kOverflow = 6;

double NumberFromText(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw KvlError(kTypeMismatch, QStringLiteral("Type mismatch"));
    return value;
}

// The pick list of the status row, in the order the testers expect.
QString StatusList()
{
    return QStringList{StatusName(kPassed), StatusName(kWarning), StatusName(kFailed), StatusName(kCanceled)}.join(
        QLatin1Char('|'));
}

}  // namespace

QList<Row> Layout(std::initializer_list<Row> table)
{
    QList<Row> rows;
    for (const Row& row : table) {
        if (!row.withUsers || gUserManagement)
            rows << row;
    }
    return rows;
}

Row At(const QList<Row>& rows, int row)
{
    return (row >= 0 && row < rows.size()) ? rows[row] : Row{};
}

void Write(PropertyGrid& grid, const QList<Row>& rows, const ItemRecord& item,
           const std::function<QString(int caption)>& own)
{
    namespace C = PropertyCaptions;
    grid.SetRows(static_cast<int>(rows.size()));
    grid.Clear();
    for (int i = 0; i < rows.size(); ++i) {
        grid.SetTextMatrix(i, PropertyGrid::kCaptionCol, C::Text(rows[i].caption));
        if (rows[i].group) {
            grid.SetCellFontBold(i, PropertyGrid::kCaptionCol, i, PropertyGrid::kCaptionCol, true);
            grid.SetIsSubtotal(i, true);
            grid.SetRowOutlineLevel(i, 0);
        }
    }
    for (int i = 0; !item.Id().isEmpty() && i < rows.size(); ++i) {
        QString value;
        switch (rows[i].caption) {
            case C::kName:
                value = item.Name();
                break;
            case C::kTitle:
                value = item.Title();
                break;
            case C::kDescription:
                value = DocumentText(item.HasDescription());
                break;
            case C::kCreationDate:
                value = DateText(item.DateCreation());
                break;
            case C::kUpdateDate:
                value = DateText(item.DateUpdate());
                break;
            case C::kAuthor:
                value = item.Author();
                break;
            default:
                value = rows[i].group ? QString() : own(rows[i].caption);
                break;
        }
        grid.SetTextMatrix(i, PropertyGrid::kValueCol, value);
    }
    if (grid.Rows() > 0)
        grid.SetCellAlignment(0, PropertyGrid::kValueCol, grid.Rows() - 1, PropertyGrid::kValueCol,
                              Qt::AlignLeft | Qt::AlignTop);
    grid.Refresh();
}

bool SetMainText(ItemRecord& item, int caption, const QString& text)
{
    if (caption == PropertyCaptions::kName)
        item.SetName(Fit(text));
    else if (caption == PropertyCaptions::kTitle)
        item.SetTitle(Fit(text));
    else
        return false;
    return true;
}

bool ChooseEditor(PropertyGrid& grid, int row, Editor editor, bool hasLinks)
{
    if (row < 0 || row >= grid.Rows())
        return true;
    grid.SetEditor(row, PropertyGrid::kPlainEditor);
    switch (editor) {
        case Editor::Refused:
            return true;
        case Editor::Plain:
            return false;
        case Editor::Button:
            grid.SetEditor(row, PropertyGrid::kButtonEditor, PropertyGrid::ButtonPicture::None);
            return false;
        case Editor::DocumentButton:
            grid.SetEditor(row, PropertyGrid::kButtonEditor, PropertyGrid::ButtonPicture::Edit);
            return false;
        case Editor::ListButton:
            if (!hasLinks)
                return true;
            grid.SetEditor(row, PropertyGrid::kButtonEditor, PropertyGrid::ButtonPicture::None);
            return false;
        case Editor::StatusList:
            grid.SetEditor(row, StatusList());
            return false;
    }
    return true;
}

QString DocumentText(bool present)
{
    return PropertyCaptions::Text(present ? PropertyCaptions::kDocument : PropertyCaptions::kNone);
}

QString ListText(bool present)
{
    return PropertyCaptions::Text(present ? PropertyCaptions::kList : PropertyCaptions::kNone);
}

QString DateText(const QDate& date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

QString NumberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Single-precision values: seven digits give back the number typed.
    return locale.toString(value, 'g', 7);
}

QString Fit(const QString& text, int width)
{
    // A character outside the basic plane takes two units: it is kept whole or left out.
    if (text.size() > width && width > 0 && text[width - 1].isHighSurrogate())
        return text.left(width - 1);
    return text.left(width);
}

float WorkLoadFromText(const QString& text)
{
    // Typed with either separator, the number means the same whatever the system's separator is.
    const QString separator = QLocale().decimalPoint();
    QString typed = text;
    typed.replace(QLatin1Char(','), separator).replace(QLatin1Char('.'), separator);
    const double value = std::abs(NumberFromText(typed));
    if (value > std::numeric_limits<float>::max())
        throw KvlError(kOverflow, QStringLiteral("Overflow"));
    return static_cast<float>(value);
}

int IterationFromText(const QString& text)
{
    const double value = std::floor(std::abs(NumberFromText(text)));
    if (value > std::numeric_limits<int>::max())
        throw KvlError(kOverflow, QStringLiteral("Overflow"));
    return static_cast<int>(value);
}

}  // namespace PropertyRows
