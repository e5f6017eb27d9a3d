#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQuery;

// The execution result of one procedure occurrence: a RESULT row keyed by the occurrence's node
// key. Every write ends with the daily history of its test plan.
class Result
{
public:
    // The user name of the last writer.
    QString Tester() const;
    // "Unplayed" for a result never played, else the date in the short date format.
    QString DateUpdate() const;
    QString DateCreation() const;
    // The day of the first play; null for a result never played.
    QDate FirstPlayed() const { return m_dateCreation; }
    // A text that is not a date stores no date.
    void SetDateCreation(const QString& date);
    int Iteration() const { return m_iteration; }
    void SetIteration(int iteration) { m_iteration = iteration; }
    QString Comment() const { return m_comment; }
    void SetComment(const QString& comment) { m_comment = comment; }
    QString Key() const { return m_key; }
    void SetKey(const QString& key) { m_key = key; }
    QString IdTestPlan() const { return m_idTestPlan; }
    void SetIdTestPlan(const QString& id) { m_idTestPlan = id; }
    int Status() const { return m_status; }
    void SetStatus(int status) { m_status = status; }
    QString IdProcedure() const { return m_idProcedure; }
    QString IdTester() const { return m_idTester; }

    // Writes the object into the row of Key: 0 done, 1 failure or no row for the key.
    int Update();
    // Inserts the row of Key with the status failed: 0 done, 1 failure (a second row for one key
    // included).
    int Create();
    // Loads the row of `key`: 0 found, 1 not found, empty key or failure.
    int Find(const QString& key);

    // The select list of a stored result, the tester's id last and only with `withTester`.
    static QString Columns(bool withTester);
    // Takes a row whose first columns are Columns(withTester), by position; Key is left as it is.
    // Raises on a row without its ids.
    void ReadRow(const QSqlQuery& row, bool withTester);
    // What a row created for `key` holds (status failed, never played, the ids the key gives, the
    // logged user under user management), without touching the database.
    static Result NewRow(const QString& key);
    // The columns a created row is inserted with, and the values for `key` in that order. Raises on
    // a key without a procedure id or with ids that are not numbers.
    static QStringList NewRowColumns(bool withTester);
    static QVariantList NewRowValues(const QString& key, bool withTester);
    // The procedure id of a key, or the empty text when its last segment does not hold one.
    static QString ProcedureIdOfKey(const QString& key);

private:
    // Writes the row of Key and takes the values written. Raises.
    void WriteRow();
    static QString DateText(const QDate& date);

    QString m_key;
    QString m_idProcedure;
    int m_status = 0;
    QString m_idTestPlan;
    QString m_comment;
    int m_iteration = 0;
    QString m_idTester;
    QDate m_dateCreation;
    QDate m_dateUpdate;
};
