#include "editor/TableHtml.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <tuple>

const QStringList kTableUnits = {QStringLiteral("percent"), QStringLiteral("pixels")};
const QStringList kTableAlignments = {QString(), QStringLiteral("left"), QStringLiteral("right"),
                                      QStringLiteral("center")};

namespace {

// The grid's border, which the old layouts counted as room for columns.
constexpr double kGridBorderTwips = 30;

QString Percent(double part, double whole)
{
    return QString::number(std::lround(part / whole * 100));
}

QString Quoted(const QString& value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// " name" + "value" in quotes, when the value is not blank.
QString Part(const QString& prefix, const QString& value, const QString& suffix = QString())
{
    const QString trimmed = value.trimmed();
    return trimmed.isEmpty() ? QString() : prefix + Quoted(trimmed + suffix);
}

QString UnitSuffix(int range)
{
    return range == 0 ? QStringLiteral("%") : QString();
}

QString Alignment(int index)
{
    return index >= 0 && index < kTableAlignments.size() ? kTableAlignments.at(index) : QString();
}

bool Matches(const QRegularExpression& pattern, const QString& text)
{
    return text.trimmed().isEmpty() || pattern.match(text).hasMatch();
}

}  // namespace

QStringList BuildColumnGrid(const QList<double>& columnTwips, double gridTwips)
{
    const double whole = gridTwips + kGridBorderTwips;
    double used = 0;
    QStringList texts;
    for (qsizetype i = 0; i < columnTwips.size(); ++i) {
        const double width = columnTwips.at(i);
        if (used + width < whole) {
            if (i == columnTwips.size() - 1) {
                texts << Percent(whole - used, whole);
            } else {
                texts << Percent(width, whole);
                used += width;
            }
        } else {
            texts << (used < whole ? Percent(whole - used, whole) : QStringLiteral("0"));
            used = gridTwips + kGridBorderTwips + 1;
        }
    }
    return texts;
}

int SpinnerPosition(const QString& text)
{
    static const QRegularExpression leadingNumber(QStringLiteral("^\\s*([-+]?[0-9]+)"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return kSpinnerMax;
    bool ok = false;
    qlonglong number = match.captured(1).toLongLong(&ok);
    // A run of digits too long to read only needs to land past the spinner's end.
    if (!ok)
        number = match.captured(1).startsWith(QLatin1Char('-')) ? -kSpinnerMax : 2 * kSpinnerMax;
    return static_cast<int>(std::clamp<qlonglong>(kSpinnerMax - number, 0, kSpinnerMax));
}

QString SpinnerText(int position)
{
    return QString::number(kSpinnerMax - std::clamp(position, 0, kSpinnerMax));
}

std::optional<QString> InvalidTableField(const TableDialogFields& fields, const TableDialogFields* loaded)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[0-9]{1,5}\\s*$"));
    static const QRegularExpression colour(QStringLiteral("^\\s*#[0-9A-Fa-f]{6}\\s*$"));
    using Field = QString TableDialogFields::*;
    const std::tuple<const char*, Field, const QRegularExpression*> boxes[] = {
        {"txtPading", &TableDialogFields::txtPading, &number},
        {"txtSpacing", &TableDialogFields::txtSpacing, &number},
        {"txtBorder", &TableDialogFields::txtBorder, &number},
        {"txtWidth", &TableDialogFields::txtWidth, &number},
        {"txtHeight", &TableDialogFields::txtHeight, &number},
        {"txtBorderColor", &TableDialogFields::txtBorderColor, &colour},
        {"txtBackGroundColor", &TableDialogFields::txtBackGroundColor, &colour},
        {"txtBorderShadow", &TableDialogFields::txtBorderShadow, &colour},
        {"txtBorderLight", &TableDialogFields::txtBorderLight, &colour},
    };
    for (const auto& [name, field, pattern] : boxes) {
        const bool unchanged = loaded && fields.*field == loaded->*field;
        if (!unchanged && !Matches(*pattern, fields.*field))
            return QString::fromLatin1(name);
    }
    return std::nullopt;
}

QString NewTableHtml(const TableDialogFields& fields, int rows, const QStringList& columnPercents)
{
    QString html = QStringLiteral("<TABLE ");
    html += Part(QStringLiteral(" border= "), fields.txtBorder);
    html += Part(QStringLiteral(" cellPadding= "), fields.txtPading);
    html += Part(QStringLiteral(" cellSpacing= "), fields.txtSpacing);
    html += Part(QStringLiteral(" width="), fields.txtWidth, UnitSuffix(fields.cboWidthRange));
    html += Part(QStringLiteral(" height="), fields.txtHeight, UnitSuffix(fields.cboHeightRange));
    html += Part(QStringLiteral(" align = "), Alignment(fields.cboAlignment));
    html += Part(QStringLiteral(" bordercolor= "), fields.txtBorderColor);
    html += Part(QStringLiteral(" borderColordark= "), fields.txtBorderShadow);
    html += Part(QStringLiteral(" borderColorLight= "), fields.txtBorderLight);
    html += Part(QStringLiteral(" bgcolor= "), fields.txtBackGroundColor);
    html += QStringLiteral(" >");
    QString row = QStringLiteral("<TR>");
    for (const QString& percent : columnPercents)
        row += QStringLiteral("<TD width =") + Quoted(percent + QLatin1Char('%')) + QStringLiteral(" >&nbsp;</TD>");
    row += QStringLiteral("</TR>");
    for (int r = 0; r < rows; ++r)
        html += row;
    return html + QStringLiteral("</TABLE>");
}

QList<std::pair<QString, QString>> TableAttributes(const TableDialogFields& fields)
{
    const auto withUnit = [](const QString& text, int range) {
        const QString trimmed = text.trimmed();
        return trimmed.isEmpty() ? trimmed : trimmed + UnitSuffix(range);
    };
    QList<std::pair<QString, QString>> attributes = {
        {QStringLiteral("cellPadding"), fields.txtPading.trimmed()},
        {QStringLiteral("cellSpacing"), fields.txtSpacing.trimmed()},
        {QStringLiteral("BorderColor"), fields.txtBorderColor.trimmed()},
        {QStringLiteral("borderColorDark"), fields.txtBorderShadow.trimmed()},
        {QStringLiteral("borderColorLight"), fields.txtBorderLight.trimmed()},
        {QStringLiteral("bgColor"), fields.txtBackGroundColor.trimmed()},
        {QStringLiteral("Width"), withUnit(fields.txtWidth, fields.cboWidthRange)},
    };
    if (fields.txtHeight.trimmed().toLongLong() > 0)
        attributes.append({QStringLiteral("Height"), withUnit(fields.txtHeight, fields.cboHeightRange)});
    attributes.append({QStringLiteral("Align"), Alignment(fields.cboAlignment)});
    attributes.append({QStringLiteral("border"), fields.txtBorder.trimmed()});
    return attributes;
}
