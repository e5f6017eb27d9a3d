#pragma once

#include "core/db/SqlDialect.h"

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

// The program's one database connection. Provider types: 1 and 3 a SQLite file, 2 a PostgreSQL
// server, 5 an ODBC data source; 4, 6 and 7 name engines that are not supported here.
// Every statement binds its values; nothing from the user is spliced into SQL text.
class AdoConnection : public QObject
{
    Q_OBJECT

public:
    explicit AdoConnection(QObject* parent = nullptr);
    ~AdoConnection() override;

    // The wrapped connection (read-only).
    QSqlDatabase Connection() const;
    const SqlDialect& Dialect() const { return m_dialect; }
    bool IsOpen() const;

    QString DataSource;      // database file, or server host[:port]
    QString InitialCatalog;  // database name on a server
    QString Password;
    bool UseNTSecurity = false;
    QString UserID;
    QString DSN;

    QString Provider() const { return m_provider; }
    int ProviderType() const { return m_providerType; }
    void SetProviderType(int type);

    // Runs one statement and discards any rows. False after a failure, which is logged once.
    bool Execute(const QString& statement, const QVariantList& values = {});

    // Runs a statement whose failure the caller goes past: logged like Execute, and inside a
    // transaction only this statement is undone, so the work around it can still commit.
    bool ExecuteUnchecked(const QString& statement, const QVariantList& values = {});

    // Prepares and runs a query; raises KvlError on failure, for the caller's trap to log.
    QSqlQuery Query(const QString& statement, const QVariantList& values = {}) const;
    // The first column of the first row, or a null QVariant when there is no row. Raises on failure.
    QVariant Scalar(const QString& statement, const QVariantList& values = {}) const;
    // Runs a statement and discards any rows; raises KvlError on failure.
    void Run(const QString& statement, const QVariantList& values = {}) const;
    // Runs a data change and gives the number of rows it touched; raises KvlError on failure.
    qint64 Change(const QString& statement, const QVariantList& values) const;
    // Runs a query and hands each row to `read` before the next; raises KvlError on failure.
    // `read` runs no statement: PostgreSQL streams the rows, and another statement would end them
    // silently, so any statement of this connection raises while a reader runs.
    void ForEachRow(const QString& statement, const QVariantList& values,
                    const std::function<void(const QSqlQuery& row)>& read) const;

    bool DataOpen();
    bool OpenAccess(const QString& database, const QString& password = QString());
    bool OpenSQLServer(const QString& serverName, const QString& database, const QString& userName = QString(),
                       const QString& password = QString(), bool ntSecurity = false);
    void Close();

    // Transactions nest: only the outermost commits, and a rollback anywhere undoes the whole.
    bool BeginTrans();
    bool CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_transactionDepth > 0; }

    // SQLite's write-ahead log needs memory shared between the processes that open the file,
    // which file systems served over a network do not give.
    static bool IsLocalFileSystem(const QByteArray& fileSystemType);
    // True when the connection's database file uses the write-ahead log.
    bool UsesWriteAheadLog() const { return m_writeAheadLog; }

    // Why the last open failed, for the log or a dialog.
    QString LastOpenError() const { return m_lastOpenError; }
    // Number and text of the last failed Execute, for callers that log it under their own label.
    long LastErrorNumber() const { return m_lastErrorNumber; }
    QString LastErrorText() const { return m_lastErrorText; }

signals:
    void Connected();
    void Disconnected();

private:
    struct Prepared;
    bool OpenFailed(const QString& why);
    // Raises the error of a failed statement as a KvlError with the engine's number.
    [[noreturn]] static void Raise(const QSqlQuery& query);
    // Runs a statement that hands no query out (Scalar, Run, ForEachRow, Execute) through a
    // prepared query kept for the next call with the same text, so the engine parses and plans
    // it once. Unbound statements other than queries run directly; a schema change drops every
    // kept query.
    void RunPrepared(const QString& statement, const QVariantList& values,
                     const std::function<void(QSqlQuery&)>& read) const;
    void DropPrepared() const;
    // Raises when a ForEachRow reader of this connection is running.
    void RefuseInsideReader() const;
    // Drops the kept statements used least recently, about half of them.
    void DropOldPrepared() const;

    QString m_connectionName;
    QString m_provider;
    int m_providerType = 1;
    SqlDialect m_dialect;
    QString m_lastOpenError;
    int m_transactionDepth = 0;
    bool m_rollbackOnly = false;
    int m_savepoints = 0;
    long m_lastErrorNumber = 0;
    QString m_lastErrorText;
    mutable QHash<QString, std::shared_ptr<Prepared>> m_prepared;
    mutable quint64 m_preparedUses = 0;
    mutable int m_readers = 0;
    bool m_writeAheadLog = false;
};

// Commits on Commit(), rolls back when it goes out of scope without one.
class DbTransaction
{
public:
    explicit DbTransaction(AdoConnection& connection);
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

    bool Commit();

private:
    AdoConnection& m_connection;
    bool m_done = false;
};

// The shared connection, created on first use and kept for the whole run.
AdoConnection& gConnection();
