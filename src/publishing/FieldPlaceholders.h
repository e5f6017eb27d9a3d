#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class Configuration;
class HtmlDocument;
class Procedure;
class Result;
class SubTest;
class TestPlan;

// The placeholders of the HTML templates and the item fields that replace them. A placeholder is
// an IMG element whose src, written between double quotes, is a field name followed by ".tag"
// (name and extension in any case): <IMG src="TESTPLANNAME.tag">. Other attributes may stand in
// the element.
//
// A field replaces the first placeholder of its name in the page and every other IMG start tag
// written exactly like it; placeholders of the name written otherwise stay for a further call.
// These functions raise KvlError to the generator that calls them and log nothing.
namespace FieldPlaceholders {

inline const QString kPageBreak = QStringLiteral("<br style='page-break-before:always'>");
inline const QString kEmptyValue = QStringLiteral("&nbsp;");

// A value for the placeholders of one field. Text is HTML-escaped; markup (descriptions,
// expected results, the page break, a table of contents) goes in as written. An empty value
// gives kEmptyValue.
struct FieldValue
{
    QString name;
    QString value;
    bool markup = false;

    static FieldValue Text(const QString& name, const QString& value) { return {name, value, false}; }
    static FieldValue Html(const QString& name, const QString& value) { return {name, value, true}; }
};

// The stored text of one item's description column: nullopt when the item has no row, a null
// QVariant when the column is Null. Generators pass one built from a single read of all their
// items; without one, each field set runs a query per column.
using DescriptionLookup = std::function<std::optional<QVariant>(const QString& id)>;

void ReplaceTag(QString& html, const QString& name, const QString& value);
// A Null value gives kEmptyValue.
void ReplaceTagHtml(QString& html, const QString& name, const QVariant& value);
// The values in turn, as as many ReplaceTag calls would leave the page, with one parse of it
// (a second only when a markup value brings placeholders of a field after it).
void ReplaceTags(QString& html, const QList<FieldValue>& values);

// Where one ReplaceTag call of `name` would put its value in the page `document` parsed: the
// placeholders' start tags, in source order. A generator that parses a large page for another
// purpose fills them from that parse.
struct PlaceholderSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
};
QList<PlaceholderSpan> FieldSpans(const HtmlDocument& document, const QString& name);
// What ReplaceTagHtml puts in place of a placeholder.
QString HtmlMarkup(const QString& value);

// An item's field set in its order, ending with the page break and then the description
// columns: a column found fills its placeholders (Null gives kEmptyValue); an item without a row
// leaves them. A placeholder inside a description is filled by the fields after it.
void WriteTestPlanFields(QString& html, const TestPlan& testPlan, const DescriptionLookup& description = {});
void WriteConfigurationFields(QString& html, const Configuration& configuration,
                              const DescriptionLookup& description = {});
void WriteSubTestFields(QString& html, const SubTest& subTest, const DescriptionLookup& description = {});
// One procedure occurrence with the result its generator read for it (a missing row reads as a
// new one would).
void WriteProcedureFields(QString& html, const Procedure& procedure, const Result& result,
                          const DescriptionLookup& description = {}, const DescriptionLookup& expectedResult = {});

// The same field sets added to `values` for one ReplaceTags call: several items' sets fill a
// section as the Write calls one after another would, with one parse where those take one each.
// A failed read raises with the fields read before it added.
void AppendTestPlanFields(QList<FieldValue>& values, const TestPlan& testPlan, const DescriptionLookup& description);
void AppendConfigurationFields(QList<FieldValue>& values, const Configuration& configuration,
                               const DescriptionLookup& description);
void AppendSubTestFields(QList<FieldValue>& values, const SubTest& subTest, const DescriptionLookup& description);
void AppendProcedureFields(QList<FieldValue>& values, const Procedure& procedure, const Result& result,
                           const DescriptionLookup& description, const DescriptionLookup& expectedResult);

}  // namespace FieldPlaceholders
