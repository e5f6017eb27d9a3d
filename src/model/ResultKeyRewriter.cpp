#include "model/ResultKeyRewriter.h"

#include "core/NodeKey.h"

namespace {

// The index of the segment that holds a test plan's link: after the configuration and the plan.
constexpr int kTestPlanLinkSegment = 2;

bool ToInt(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

}  // namespace

bool ResultKeyRewriter::PlaceOf(int index, int count, bool procedure, Place* place)
{
    if (index < kTestPlanLinkSegment)
        return false;
    *place = index == kTestPlanLinkSegment     ? Place::UnderTestPlan
             : procedure && index == count - 1 ? Place::Procedure
                                               : Place::UnderSubTest;
    return true;
}

void ResultKeyRewriter::Renumber(Place place, int parent, int child, int oldOrder, int newOrder)
{
    if (oldOrder == newOrder)
        return;
    m_renumbered.insert({place, parent, child, oldOrder}, newOrder);
    m_parents.insert({static_cast<int>(place), parent});
}

void ResultKeyRewriter::Remove(Place place, int parent, int child, int order)
{
    m_removed.insert({place, parent, child, order});
    m_parents.insert({static_cast<int>(place), parent});
}

ResultKeyRewriter::Fate ResultKeyRewriter::Apply(const QString& key, QString* rewritten) const
{
    NodeKey parsed = NodeKey::Parse(key);
    const int count = parsed.Count();
    bool changed = false;
    for (int i = kTestPlanLinkSegment; i < count; ++i) {
        const NodeKey::Link link = NodeKey::ParseLink(parsed.Segment(i));
        int parent = 0;
        int child = 0;
        int order = 0;
        if (!link.valid || !ToInt(link.parentId, &parent) || !ToInt(link.id, &child) || !ToInt(link.order, &order))
            continue;
        Place place = Place::UnderSubTest;
        PlaceOf(i, count, parsed.IsProcedure(), &place);
        const Step step{place, parent, child, order};
        if (m_removed.contains(step))
            return Fate::Remove;
        const auto found = m_renumbered.constFind(step);
        if (found == m_renumbered.constEnd())
            continue;
        parsed.SetSegment(i, NodeKey::FormatLink(link.parentId, link.id, QString::number(found.value())));
        changed = true;
    }
    if (!changed)
        return Fate::Keep;
    if (rewritten)
        *rewritten = parsed.ToString();
    return Fate::Rewrite;
}

QStringList ResultKeyRewriter::CandidatePatterns() const
{
    QStringList patterns;
    for (const auto& [place, parent] : m_parents) {
        const QString id = QString::number(parent);
        // A test plan's link follows the plan's own segment; the others follow any separator.
        patterns << (place == static_cast<int>(Place::UnderTestPlan)
                         ? QStringLiteral("%") + NodeKey::kSeparator + id + NodeKey::kSeparator + id +
                               QStringLiteral("|%")
                         : QStringLiteral("%") + NodeKey::kSeparator + id + QStringLiteral("|%"));
    }
    patterns.removeDuplicates();
    return patterns;
}
