#pragma once

#include <QList>
#include <QString>

// One rule of the description style sheet: a selector and its declarations, as written between
// the braces. `lead` holds the comments written just before the selector, kept with it.
struct StyleRule
{
    QString lead;
    QString selector;
    QString declarations;

    bool operator==(const StyleRule&) const = default;
};

// The shared style sheet of the descriptions as a list of rules in sheet order. What cannot be
// read as a rule (a rule without selector; everything from an unclosed "{", a stray "}" or a
// nested block on) is kept as written in `unplaced` and written back after the rules, so that
// editing a damaged sheet loses nothing.
class StyleSheet
{
public:
    static StyleSheet Parse(const QString& text);
    // Each rule as selector "{" declarations "}" LF, then the unplaced text.
    QString Text() const;

    QList<StyleRule> rules;
    QString unplaced;

    // The text between `property` ":" and the next ";" in `declarations`; "" without either.
    static QString Value(const QString& declarations, const QString& property);
    // The declarations with their text-align set to `alignment` (removed when it is empty).
    static QString WithAlignment(const QString& declarations, const QString& alignment);
    // The declarations with their page break set: 0 none, 1 before, 2 after.
    static QString WithPageBreak(const QString& declarations, int pageBreak);
    // A selector the sheet can hold: a "{" or "}" would split its rule, a "<" could end the STYLE
    // element of every page head.
    static bool AllowedSelector(const QString& selector);
};
