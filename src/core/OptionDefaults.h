#pragma once

#include <QString>
#include <QStringList>

// The keys of settings section Options that the options dialog edits, with the one default of
// each. Every reader of these keys goes through here so that all agree on the defaults.
class OptionDefaults
{
public:
    static const QString Section;  // "Options"

    // The default of `key`; "" for a key this class does not know.
    static QString Default(const QString& key);
    // The stored value of `key`, or its default when the key is absent.
    static QString Get(const QString& key);
    // Whether descriptions keep their pictures in the database: StoreImage reads as the number 1.
    static bool StoreImage();
    // The keys the options dialog stores, in the order it stores them.
    static QStringList Keys();
};
