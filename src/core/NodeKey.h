#pragma once

#include <QString>
#include <QStringList>

// The key of one occurrence of an item in the explorer tree, which is also the key of a stored
// result. Segments are separated by "¤"; from the third on each reads parent|id|order, and a
// procedure's key ends with "$". Parsing keeps every segment's text, so formatting gives back
// the same bytes.
class NodeKey
{
public:
    static const QChar kSeparator;  // U+00A4
    static const QString kRoot;     // "Root"
    static const QString kConfigurationPrefix;  // "Eqpt"

    struct Link
    {
        QString parentId;
        QString id;
        QString order;
        bool valid = false;  // three parts, each a decimal number
    };

    NodeKey() = default;
    static NodeKey Parse(const QString& key);
    QString ToString() const;

    bool IsEmpty() const { return m_segments.isEmpty(); }
    bool IsRoot() const { return m_segments.size() == 1 && m_segments.first() == kRoot && !m_procedure; }
    bool IsProcedure() const { return m_procedure; }
    int Count() const { return static_cast<int>(m_segments.size()); }
    QString Segment(int i) const { return m_segments.value(i); }
    const QStringList& Segments() const { return m_segments; }
    void SetSegment(int i, const QString& text) { m_segments[i] = text; }

    // "Eqpt" & id in the first segment; empty when the key names no configuration.
    QString ConfigurationId() const;
    // The second segment: always the test-plan id.
    QString TestPlanId() const { return m_segments.value(1); }
    static Link ParseLink(const QString& segment);
    static QString FormatLink(const QString& parentId, const QString& id, const QString& order);

    // The key of the ancestor occurrence made of the first n segments (never a procedure).
    NodeKey Prefix(int n) const;
    NodeKey Parent() const { return Prefix(Count() - 1); }
    NodeKey Child(const QString& parentId, const QString& id, const QString& order, bool procedure) const;
    // True when this key is `ancestor` or lies below it, comparing whole segments.
    bool IsWithin(const NodeKey& ancestor) const;

    bool operator==(const NodeKey& other) const = default;

private:
    QStringList m_segments;
    bool m_procedure = false;
};
