#include "publishing/XmlPlanTree.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "model/ItemRecord.h"
#include "model/LinkPlacement.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <limits>

namespace {

// The reason names the element and its line, as the reader's do.
KvlError Refused(const QString& element, int line, const QString& what)
{
    return KvlError(KvlError::kGeneric, QStringLiteral("%1 at line %2: %3").arg(element).arg(line).arg(what));
}

QString SubTestElement(int level)
{
    return QStringLiteral("subtest") + QString::number(level);
}

const QStringList kItemColumns{QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("TITLE"),
                               QStringLiteral("DESCRIPTION")};

}  // namespace

QVariant DescriptionValue(const std::optional<QString>& text)
{
    if (!text)
        return QVariant(QMetaType::fromType<QString>());
    return text->trimmed().isEmpty() ? QStringLiteral("") : *text;
}

XmlPlanTree::XmlPlanTree(const Place& place)
    : m_place(place),
      m_withTester(gUserManagement),
      m_nextSubTestId(place.firstSubTestId),
      m_nextProcedureId(place.firstProcedureId)
{
    for (const auto& [column, value] : ItemRecord::Stamp(place.today, true)) {
        m_stampColumns << column;
        m_stamp << value;
    }
    const SubTest subTest;
    subTests = {subTest.TableInfo().name, kItemColumns + m_stampColumns, {}};
    m_subTestPrefix = subTest.NamingPrefix();

    const Procedure procedure;
    procedures = {procedure.TableInfo().name,
                  kItemColumns + QStringList{QStringLiteral("RESULT"), QStringLiteral("WORKLOAD")} + m_stampColumns,
                  {}};
    m_procedurePrefix = procedure.NamingPrefix();

    testPlanLinks = {QStringLiteral("TESTPLAN_LINKS"),
                     {QStringLiteral("ID_TESTPLAN"), QStringLiteral("ID_SUBTEST"), QStringLiteral("ORDER_SUBTEST")},
                     {}};
    subTestLinks = {
        QStringLiteral("SUBTEST_LINKS"),
        {QStringLiteral("ID_SUBTEST_PARENT"), QStringLiteral("ID_SUBTEST_CHILD"), QStringLiteral("ORDER_SUBTEST")},
        {}};
    procedureLinks = {QStringLiteral("PROCEDURE_LINKS"),
                      {QStringLiteral("ID_PROCEDURE"), QStringLiteral("ID_SUBTEST"), QStringLiteral("ORDER_PROCEDURE")},
                      {}};
    results = {QStringLiteral("RESULT"), Result::NewRowColumns(m_withTester), {}};
    results.columns << QStringLiteral("COMMENT") << QStringLiteral("ITERATION") << QStringLiteral("DATE_CREATION")
                    << QStringLiteral("DATE_UPDATE");
}

int XmlPlanTree::NextId(int& next)
{
    if (next == std::numeric_limits<int>::max())
        throw KvlError(6, QStringLiteral("Overflow"));
    return next++;
}

void XmlPlanTree::Add(const QList<XmlPlan::SubTest>& firstLevel)
{
    const QString planKey =
        NodeKey::kConfigurationPrefix + m_place.configurationId + NodeKey::kSeparator + m_place.testPlanId;
    const QVariant planId = DbValues::Id(m_place.testPlanId);
    LinkPlacement::Sequence orders;
    for (const XmlPlan::SubTest& subTest : firstLevel) {
        // Where a first-level sub-test cannot be named as asked, the file is refused.
        if (!subTest.title)
            throw Refused(SubTestElement(1), subTest.line, QStringLiteral("no title"));
        if (m_place.keepName && !subTest.name)
            throw Refused(SubTestElement(1), subTest.line, QStringLiteral("no name, and names are kept"));
        const int order = orders.Place(subTest.order);
        const int id = NextId(m_nextSubTestId);
        AddSubTest(subTest, id, OccurrenceKey::SubTest(planKey, m_place.testPlanId, QString::number(id), order), 1);
        testPlanLinks.rows.append({planId, id, order});
    }
}

void XmlPlanTree::AddSubTest(const XmlPlan::SubTest& subTest, int id, const QString& key, int level)
{
    if (level > OccurrenceKey::kMaxSubTestDepth)
        throw Refused(SubTestElement(level), subTest.line,
                      QStringLiteral("sub-tests nested deeper than %1 levels").arg(OccurrenceKey::kMaxSubTestDepth));
    const QString idText = QString::number(id);
    const QString defaultName = m_subTestPrefix + idText;
    subTests.rows.append(QVariantList{id, m_place.keepName ? subTest.name.value_or(defaultName) : defaultName,
                                      subTest.title.value_or(defaultName), DescriptionValue(subTest.description)} +
                         m_stamp);

    LinkPlacement::Sequence childOrders;
    for (const XmlPlan::SubTest& child : subTest.children) {
        const int order = childOrders.Place(child.order);
        const int childId = NextId(m_nextSubTestId);
        AddSubTest(child, childId, OccurrenceKey::SubTest(key, idText, QString::number(childId), order), level + 1);
        subTestLinks.rows.append({id, childId, order});
    }
    LinkPlacement::Sequence procedureOrders;
    for (const XmlPlan::Procedure& procedure : subTest.procedures) {
        const int order = procedureOrders.Place(procedure.order);
        const int procedureId = AddProcedure(procedure);
        procedureLinks.rows.append({procedureId, id, order});
        AddResult(procedure, OccurrenceKey::Procedure(key, idText, QString::number(procedureId), order));
    }
}

int XmlPlanTree::AddProcedure(const XmlPlan::Procedure& procedure)
{
    const int id = NextId(m_nextProcedureId);
    const QString defaultName = m_procedurePrefix + QString::number(id);
    // A created procedure has a work load of 1.
    const double workLoad = procedure.workload ? static_cast<double>(*procedure.workload) : 1.0;
    procedures.rows.append(QVariantList{id, m_place.keepName ? procedure.name.value_or(defaultName) : defaultName,
                                        procedure.title.value_or(defaultName), DescriptionValue(procedure.description),
                                        DescriptionValue(procedure.expectedResult), workLoad} +
                           m_stamp);
    return id;
}

void XmlPlanTree::AddResult(const XmlPlan::Procedure& procedure, const QString& key)
{
    const int status = procedure.status.value_or(kFailed);
    if (status < kPassed || status > kWarning)
        throw Refused(QStringLiteral("status"), procedure.line, QStringLiteral("%1 is no result status").arg(status));
    // A result set to anything but the status a new one has counts as played once.
    const int iteration = procedure.iteration.value_or(status != kFailed ? 1 : 0);
    // A result never played keeps no dates; a played one was last played by this import.
    const QDate firstPlayed = procedure.firstPlayed.value_or(QDate());
    const QDate lastPlayed = firstPlayed.isValid() ? m_place.today : QDate();
    QVariantList row = Result::NewRowValues(key, m_withTester);
    row[static_cast<qsizetype>(results.columns.indexOf(QStringLiteral("STATUS")))] = status;
    row << procedure.comment.value_or(QStringLiteral("")) << iteration << DbValues::Date(firstPlayed)
        << DbValues::Date(lastPlayed);
    results.rows.append(row);
}
