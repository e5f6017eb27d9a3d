#pragma once

#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The keyed child list of the object model: items in insertion order under unique keys that
// compare without case. Lookups go by key, never by position.
template <class T>
class DataCollection
{
public:
    using Ptr = std::shared_ptr<T>;

    struct Inner
    {
        std::vector<Ptr> items;
        QHash<QString, qsizetype> index;  // case-folded key -> position
    };

    DataCollection() : m_inner(std::make_shared<Inner>()) {}

    void Clear() { m_inner = std::make_shared<Inner>(); }

    // Shared, not copied: two collections can hold one inner list.
    std::shared_ptr<Inner> Collection() const { return m_inner; }
    void SetCollection(std::shared_ptr<Inner> inner) { m_inner = inner ? std::move(inner) : std::make_shared<Inner>(); }

    bool Exist(const QString& key) const { return m_inner->index.contains(key.toCaseFolded()); }

    // A duplicate or empty key is logged and the item is left out; the caller goes on.
    void Add(Ptr obj, const QString& key)
    {
        const QString folded = key.toCaseFolded();
        if (key.isEmpty()) {
            LogError(QStringLiteral("Error_AddCollection : "), 5, QStringLiteral("Invalid procedure call or argument"));
            return;
        }
        if (m_inner->index.contains(folded)) {
            LogError(QStringLiteral("Error_AddCollection : "), 457,
                     QStringLiteral("This key is already associated with an element of this collection"));
            return;
        }
        m_inner->index.insert(folded, static_cast<qsizetype>(m_inner->items.size()));
        m_inner->items.push_back(std::move(obj));
    }
    void Add(Ptr obj, long key) { Add(std::move(obj), QString::number(key)); }

    int Count() const { return static_cast<int>(m_inner->items.size()); }

    // Raises when the key is absent, as the callers' traps expect.
    Ptr Item(const QString& key) const
    {
        const auto it = m_inner->index.constFind(key.toCaseFolded());
        if (it == m_inner->index.constEnd())
            throw KvlError(5, QStringLiteral("Invalid procedure call or argument"));
        return m_inner->items[static_cast<size_t>(*it)];
    }
    Ptr Item(long key) const { return Item(QString::number(key)); }

    auto begin() const { return m_inner->items.cbegin(); }
    auto end() const { return m_inner->items.cend(); }

private:
    std::shared_ptr<Inner> m_inner;
};
