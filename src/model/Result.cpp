#include "model/Result.h"

#include "core/db/AdoConnection.h"
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
    const NodeKey parsed = NodeKey::Parse(key);
    if (parsed.Count() < 2)
        return {};
    const QStringList parts = parsed.Segments().last().split(QLatin1Char('|'));
    return parts.size() >= 3 ? parts[1] : QString();
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
        gConnection().ForEachRow(
            QStringLiteral("SELECT ID_PROCEDURE, ID_TESTPLAN, STATUS, COMMENT, ITERATION, DATE_CREATION, DATE_UPDATE%1 "
                           "FROM RESULT WHERE KEY_NODE = ?")
                .arg(withTester ? QStringLiteral(", ID_USER") : QString()),
            {key}, [&](const QSqlQuery& row) {
                if (found)
                    return;
                found = true;
                if (row.isNull(QStringLiteral("ID_PROCEDURE")) || row.isNull(QStringLiteral("ID_TESTPLAN")))
                    throw KvlError(94, QStringLiteral("Invalid use of Null"));
                m_idProcedure = DbValues::IdText(row.value(QStringLiteral("ID_PROCEDURE")));
                m_idTestPlan = DbValues::IdText(row.value(QStringLiteral("ID_TESTPLAN")));
                if (!row.isNull(QStringLiteral("STATUS")))
                    m_status = row.value(QStringLiteral("STATUS")).toInt();
                if (!row.isNull(QStringLiteral("COMMENT")))
                    m_comment = row.value(QStringLiteral("COMMENT")).toString();
                if (!row.isNull(QStringLiteral("ITERATION")))
                    m_iteration = row.value(QStringLiteral("ITERATION")).toInt();
                if (!row.isNull(QStringLiteral("DATE_CREATION")))
                    m_dateCreation = DbValues::ReadDate(row.value(QStringLiteral("DATE_CREATION")));
                if (!row.isNull(QStringLiteral("DATE_UPDATE")))
                    m_dateUpdate = DbValues::ReadDate(row.value(QStringLiteral("DATE_UPDATE")));
                if (withTester) {
                    const QVariant tester = row.value(QStringLiteral("ID_USER"));
                    m_idTester = tester.isNull() ? QStringLiteral("0") : DbValues::IdText(tester);
                }
            });
        return found ? 0 : 1;
    } catch (const std::exception& error) {
        LogError(kFindLabel, error);
        return 1;
    }
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
        const QString procedureId = ProcedureIdOfKey(m_key);
        // Without a procedure the row could not be stored.
        if (procedureId.isEmpty())
            throw InvalidKey();
        const QString testPlanId = TestPlanIdFromKey(m_key);
        const bool withTester = gUserManagement;
        AdoConnection& connection = gConnection();
        DbTransaction transaction(connection);
        QVariantList values{m_key, DbValues::Id(testPlanId), DbValues::Id(procedureId), static_cast<int>(kFailed)};
        if (withTester)
            values << DbValues::Id(gUserId);
        connection.Run(QStringLiteral("INSERT INTO RESULT (KEY_NODE, ID_TESTPLAN, ID_PROCEDURE, STATUS%1) "
                                      "VALUES (?, ?, ?, ?%2)")
                           .arg(withTester ? QStringLiteral(", ID_USER") : QString(),
                                withTester ? QStringLiteral(", ?") : QString()),
                       values);
        UpdateHistory(testPlanId, ConfigurationIdFromKey(m_key));
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The result could not be committed."));
        m_idTestPlan = testPlanId;
        m_idProcedure = procedureId;
        m_status = kFailed;
        if (withTester)
            m_idTester = gUserId;
        return 0;
    } catch (const std::exception& error) {
        LogError(kCreateLabel, error);
        return 1;
    }
}
