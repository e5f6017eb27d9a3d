#pragma once

#include <QList>
#include <QString>

// The location chosen in the search pane (cboDevice): its text and key ("Root" or "KeyId:" &
// node key), read by CheckDevice for the search and for the lists the property grid opens.
// While the pane is closed the location is the whole database.
class SearchLocation
{
public:
    struct Entry
    {
        QString text;
        QString key;
        int image = 0;
        int indentation = 0;
    };

    SearchLocation() { Reset(); }

    QString Text() const { return m_text; }
    QString Key() const { return m_key; }
    // The chosen entry, -1 when none is (the load failed or the location was set by hand).
    int ChosenIndex() const { return m_chosen; }
    const QList<Entry>& Entries() const { return m_entries; }

    void Choose(int index);
    void Choose(const QString& text, const QString& key);
    // The unloaded pane: no entries, the whole database.
    void Reset();

    // Rereads the entries: "Test Plan Database", then each configuration, its test plans and their
    // first-level sub-tests, and chooses the first. When the configurations cannot be read only
    // the first entry stays, none chosen; the failure is logged and 1 returned.
    int Fill();
    // Fill after the tree was rebuilt or another database opened, keeping the chosen location
    // while its key still exists.
    int Refill();

private:
    QList<Entry> m_entries;
    QString m_text;
    QString m_key;
    int m_chosen = -1;
};

SearchLocation& gSearchLocation();
