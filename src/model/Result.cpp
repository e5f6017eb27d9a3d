#include "model/Result.h"

#include "core/db/AdoConnection.h"
#include "core/db/BoundLists.h"
#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "model/History.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QLocale>
#include <QSqlQuery>

namespace {

const QString kFindLabel = QStringLiteral("Error_Find Result : ");
const QString kUpdateLabel = QStringLiteral("Error_Update Result : ");
const QString kCreateLabel = QStringLiteral("Error_Create Result : ");

KvlError InvalidKey()
{
    return KvlError(KvlError::kGeneric, QStringLiteral("Invalid procedure call or argument"));
}

}  // namespace

QString Result::Tester() const
{
    return UserName(m_idTester);
}

QString Result::DateText(const QDate& date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : StatusName(kUnplayed);
}

QString Result::DateUpdate() const
{
    return DateText(m_dateUpdate);
}

QString Result::DateCreation() const
{
    return DateText(m_dateCreation);
}

void Result::SetDateCreation(const QString& date)
{
    QDate value = QLocale().toDate(date.trimmed(), QLocale::ShortFormat);
    if (!value.isValid())
        value = QDate::fromString(date.trimmed(), Qt::ISODate);
    m_dateCreation = value;
}

QString Result::ProcedureIdOfKey(const QString& key)
{
    // Only the last segment is looked at, without splitting the whole key: a plan's keys are
    // read by the thousand.
    QStringView body(key);
    if (body.endsWith(QLatin1Char('$')))
        body.chop(1);
    const qsizetype separator = body.lastIndexOf(NodeKey::kSeparator);
    if (separator < 0)
        return {};
    const QList<QStringView> parts = body.mid(separator + 1).split(QLatin1Char('|'));
    return parts.size() >= 3 ? parts[1].toString() : QString();
}

int Result::Find(const QString& key)
{
    if (key.isEmpty())
        return 1;
    try {
        m_key = key;
        const bool withTester = gUserManagement;
        bool found = false;
        // A kept statement: the result is read on every selection of a procedure.
        gConnection().ForEachRow(QStringLiteral("SELECT %1 FROM RESULT WHERE KEY_NODE = ?").arg(Columns(withTester)),
                                 {key}, [&](const QSqlQuery& row) {
                                     if (found)
                                         return;
                                     found = true;
                                     ReadRow(row, withTester);
                                 });
        return found ? 0 : 1;
    } catch (const std::exception& error) {
        LogError(kFindLabel, error);
        return 1;
    }
}

QString Result::Columns(bool withTester)
{
    return QStringLiteral("ID_PROCEDURE, ID_TESTPLAN, STATUS, COMMENT, ITERATION, DATE_CREATION, DATE_UPDATE") +
           (withTester ? QStringLiteral(", ID_USER") : QString());
}

void Result::ReadRow(const QSqlQuery& row, bool withTester)
{
    // By position: a plan's results are read thousands at a time.
    enum { kProcedure, kTestPlan, kStatus, kComment, kIteration, kCreation, kUpdate, kTester };
    if (row.isNull(kProcedure) || row.isNull(kTestPlan))
        throw KvlError(94, QStringLiteral("Invalid use of Null"));
    m_idProcedure = DbValues::IdText(row.value(kProcedure));
    m_idTestPlan = DbValues::IdText(row.value(kTestPlan));
    if (!row.isNull(kStatus))
        m_status = row.value(kStatus).toInt();
    if (!row.isNull(kComment))
        m_comment = row.value(kComment).toString();
    if (!row.isNull(kIteration))
        m_iteration = row.value(kIteration).toInt();
    if (!row.isNull(kCreation))
        m_dateCreation = DbValues::ReadDate(row.value(kCreation));
    if (!row.isNull(kUpdate))
        m_dateUpdate = DbValues::ReadDate(row.value(kUpdate));
    if (withTester) {
        const QVariant tester = row.value(kTester);
        m_idTester = tester.isNull() ? QStringLiteral("0") : DbValues::IdText(tester);
    }
}

Result Result::NewRow(const QString& key)
{
    Result result;
    result.m_key = key;
    result.m_idTestPlan = TestPlanIdFromKey(key);
    result.m_idProcedure = ProcedureIdOfKey(key);
    result.m_status = kFailed;
    if (gUserManagement)
        result.m_idTester = gUserId;
    return result;
}

QStringList Result::NewRowColumns(bool withTester)
{
    QStringList columns{QStringLiteral("KEY_NODE"), QStringLiteral("ID_TESTPLAN"), QStringLiteral("ID_PROCEDURE"),
                        QStringLiteral("STATUS")};
    if (withTester)
        columns << QStringLiteral("ID_USER");
    return columns;
}

QVariantList Result::NewRowValues(const QString& key, bool withTester)
{
    const QString procedureId = ProcedureIdOfKey(key);
    // Without a procedure the row could not be stored.
    if (procedureId.isEmpty())
        throw InvalidKey();
    QVariantList values{key, DbValues::Id(TestPlanIdFromKey(key)), DbValues::Id(procedureId),
                        static_cast<int>(kFailed)};
    if (withTester)
        values << DbValues::Id(gUserId);
    return values;
}

void Result::WriteRow()
{
    const NodeKey parsed = NodeKey::Parse(m_key);
    if (parsed.Count() < 3)
        throw InvalidKey();
    m_idTestPlan = parsed.TestPlanId();
    const QString procedureId = ProcedureIdOfKey(m_key);
    const QDate today = QDate::currentDate();
    // Iteration 0 and 1 are both the first play.
    if (m_iteration == 0 || m_iteration == 1)
        m_dateCreation = today;
    m_dateUpdate = today;
    const bool withTester = gUserManagement;
    m_idTester = withTester ? gUserId : QStringLiteral("0");

    QStringList assignments{QStringLiteral("STATUS = ?"), QStringLiteral("ID_TESTPLAN = ?")};
    QVariantList values{m_status, DbValues::Id(m_idTestPlan)};
    if (!procedureId.isEmpty()) {
        m_idProcedure = procedureId;
        assignments << QStringLiteral("ID_PROCEDURE = ?");
        values << DbValues::Id(procedureId);
    }
    assignments << QStringLiteral("ITERATION = ?") << QStringLiteral("DATE_CREATION = ?")
                << QStringLiteral("DATE_UPDATE = ?");
    values << m_iteration << DbValues::Date(m_dateCreation) << DbValues::Date(m_dateUpdate);
    if (withTester) {
        assignments << QStringLiteral("ID_USER = ?");
        values << DbValues::Id(gUserId);
    }
    assignments << QStringLiteral("COMMENT = ?");
    values << m_comment << m_key;
    const QSqlQuery query = gConnection().Query(
        QStringLiteral("UPDATE RESULT SET %1 WHERE KEY_NODE = ?").arg(assignments.join(QStringLiteral(", "))), values);
    // A result whose row has gone must not be reported as stored.
    if (query.numRowsAffected() == 0)
        throw KvlError(-2147217864L, QStringLiteral("Row cannot be located for updating. Some values may have been "
                                                    "changed since it was last read."));
}

int Result::Update()
{
    try {
        DbTransaction transaction(gConnection());
        // The object takes the written values only once they are committed.
        Result written = *this;
        // Without a key no row can be written; the history alone would report a result stored.
        if (m_key.isEmpty())
            throw InvalidKey();
        written.WriteRow();
        UpdateHistory(written.m_idTestPlan, ConfigurationIdFromKey(m_key));
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The result could not be committed."));
        *this = written;
        return 0;
    } catch (const std::exception& error) {
        LogError(kUpdateLabel, error);
        return 1;
    }
}

int Result::Create()
{
    try {
        const bool withTester = gUserManagement;
        const QVariantList values = NewRowValues(m_key, withTester);
        const QStringList columns = NewRowColumns(withTester);
        AdoConnection& connection = gConnection();
        DbTransaction transaction(connection);
        connection.Run(
            QStringLiteral("INSERT INTO RESULT (%1) VALUES (%2)")
                .arg(columns.join(QStringLiteral(", ")), BoundLists::Marks(columns.size(), QStringLiteral("?"))),
            values);
        UpdateHistory(TestPlanIdFromKey(m_key), ConfigurationIdFromKey(m_key));
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The result could not be committed."));
        const Result created = NewRow(m_key);
        m_idTestPlan = created.m_idTestPlan;
        m_idProcedure = created.m_idProcedure;
        m_status = created.m_status;
        if (withTester)
            m_idTester = created.m_idTester;
        return 0;
    } catch (const std::exception& error) {
        LogError(kCreateLabel, error);
        return 1;
    }
}
