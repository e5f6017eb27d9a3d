#pragma once

#include "publishing/XmlPlan.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// Reads one test-plan exchange file into an XmlPlan::Plan and checks every value, before anything
// is stored. Qt Core only, so that it builds on its own (the fuzz target compiles it alone).
//
// Single-valued children are found by name (the first of that name, in any order); history rows,
// sub-tests and procedures are taken in document order; anything else is skipped, the root's name
// included. A sub-test element at a wrong depth is skipped with everything below it.
//
// The whole file is refused, with a reason naming the element and its line, for: a missing,
// unreadable or oversized file; a document type declaration (no entity is ever expanded);
// nesting deeper than kMaxDepth elements or sub-tests deeper than kMaxSubTestLevels; malformed
// XML; a missing configuration or configuration id; a sub-test or procedure without order; a
// top-level sub-test without title; ids, orders, statuses and iterations that are not whole
// numbers in range; workloads and history values that are not finite or are negative;
// unreadable dates; names, titles and equipment over kMaxNameLength characters, comments over
// kMaxCommentLength; a style sheet that would end the STYLE element of a page.
//
// Kept as warnings in Plan::warnings: a missing description or expected result, a second history
// row of one day (skipped; a row without date counts as today's, the day the import stores).
// A missing top-level sub-test name is left to the import: it matters only when names are kept.
class XmlPlanReader
{
public:
    static constexpr qint64 kDefaultSizeLimit = 512LL * 1024 * 1024;
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxSubTestLevels = 10;
    static constexpr int kMaxNameLength = 50;
    static constexpr int kMaxCommentLength = 100;
    static constexpr int kMaxIteration = 32767;
    static constexpr int kMaxStatus = 3;

    // The plan in the file at `path`, or nullopt with the reason in `error` (may be null).
    static std::optional<XmlPlan::Plan> Read(const QString& path, QString* error);
    // The same for a document in memory.
    static std::optional<XmlPlan::Plan> ReadData(const QByteArray& data, QString* error);

    // Files and documents larger than this are refused unread (kDefaultSizeLimit unless set).
    static void SetSizeLimit(qint64 bytes);
    static qint64 SizeLimit();

    // Wrapped HTML as the file carries it: the literal markers around the text, escaped as
    // ordinary character data by the writer.
    static QString Wrap(const QString& html);
    // The text after the first "<![CDATA[" up to the last "]]>"; a text without the opening
    // marker, or without a closing one after it, is taken whole. Blank content gives "".
    static QString Unwrap(const QString& text);

    // A finite number written with "." or "," as its decimal separator; nullopt otherwise.
    static std::optional<double> ParseDecimal(const QString& text);
    // A whole number (decimal digits, an optional sign, surrounding blanks); nullopt otherwise.
    static std::optional<qint64> ParseWhole(const QString& text);
    // A date written as ISO (a time part allowed), in the locale's short form, or as MM-DD-YYYY;
    // two-digit years are this century's. Nullopt when it reads as none of them.
    static std::optional<QDate> ParseDate(const QString& text, const QLocale& locale = QLocale());
    // The first-played text of a result never played.
    static QString Unplayed() { return QStringLiteral("Unplayed"); }
};
