#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <utility>

class AdoConnection;
class NodeKey;

// Rewrites the RESULT keys that a change of link orders moves, and drops the keys of removed
// occurrences. A step is matched as a whole parsed segment at the place it can stand: a test
// plan's link is the third segment, a sub-test's link any later one, a procedure's link the last
// segment of a procedure key. So sub-test 7 under test plan 7 and under sub-test 7 are told
// apart, and step 1|2|1 never touches 1|2|11.
class ResultKeyRewriter
{
public:
    enum class Place { UnderTestPlan, UnderSubTest, Procedure };
    enum class Fate { Keep, Rewrite, Remove };

    // One link at its place in a key.
    struct Step
    {
        Place place;
        int parent;
        int child;
        int order;
        bool operator==(const Step& other) const = default;
        friend size_t qHash(const Step& step, size_t seed = 0)
        {
            return qHashMulti(seed, static_cast<int>(step.place), step.parent, step.child, step.order);
        }
    };
    // The place of segment `index` in a key of `count` segments; false for the configuration and
    // test-plan segments.
    static bool PlaceOf(int index, int count, bool procedure, Place* place);

    // The link (parent, child, oldOrder) now stands at newOrder.
    void Renumber(Place place, int parent, int child, int oldOrder, int newOrder);
    // The occurrence of link (parent, child, order) is gone, with its results and those below.
    void Remove(Place place, int parent, int child, int order);
    bool IsEmpty() const { return m_renumbered.isEmpty() && m_removed.isEmpty(); }

    // The fate of one stored key under the recorded changes; `rewritten` gets the new key.
    Fate Apply(const QString& key, QString* rewritten) const;

    // Decides, for a key after its rewrite, whether it still names a place (repair).
    using Check = std::function<bool(const NodeKey& key)>;
    struct Outcome
    {
        int removed = 0;
        int rewritten = 0;
        // (configuration id, test-plan id) of every key removed: the places whose figures change.
        QSet<std::pair<QString, QString>> places;
    };
    // Applies the changes to RESULT: reads the keys that may hold a changed step (all keys when
    // `check` is given), deletes and rewrites them with a bounded number of statements per
    // hundreds of rows. Run it inside the caller's transaction. Raises KvlError.
    Outcome Run(AdoConnection& connection, const Check& check = {}) const;

private:
    QStringList CandidatePatterns() const;

    QHash<Step, int> m_renumbered;  // step -> new order
    QSet<Step> m_removed;
    QSet<std::pair<int, int>> m_parents;  // (place, parent) for the read's filter
};
