#include "core/db/AdoConnection.h"

#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

namespace {

// The error number logged when the engine gives none of its own.
constexpr long kErrorsInCommand = -2147217900L;

long ErrorNumber(const QSqlError& error)
{
    bool ok = false;
    const long native = error.nativeErrorCode().toLong(&ok);
    return (ok && native != 0) ? native : kErrorsInCommand;
}

QString ErrorText(const QSqlError& error)
{
    QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("Unknown database error") : text;
}

}  // namespace

AdoConnection::AdoConnection(QObject* parent)
    : QObject(parent), m_connectionName(QStringLiteral("koravel-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    SetProviderType(1);
}

AdoConnection::~AdoConnection()
{
    Close();
}

QSqlDatabase AdoConnection::Connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool AdoConnection::IsOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && Connection().isOpen();
}

void AdoConnection::SetProviderType(int type)
{
    switch (type) {
        case 2:
            m_provider = QStringLiteral("QPSQL");
            break;
        case 3:
            m_provider = QStringLiteral("QSQLITE");
            break;
        case 4:
            m_provider = QStringLiteral("Oracle");
            break;
        case 5:
            m_provider = QStringLiteral("QODBC");
            break;
        case 6:
            m_provider = QStringLiteral("dBASE III");
            break;
        case 7:
            m_provider = QStringLiteral("Excel 8.0");
            break;
        case 1:
            m_provider = QStringLiteral("QSQLITE");
            break;
        default:
            m_provider = QStringLiteral("QSQLITE");
            type = 1;
            break;
    }
    m_providerType = type;
}

void AdoConnection::Close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    // Kept queries hold the connection: they go before it.
    DropPrepared();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_transactionDepth = 0;
    m_rollbackOnly = false;
    m_dialect = SqlDialect();
    m_writeAheadLog = false;
}

bool AdoConnection::OpenFailed(const QString& why)
{
    m_lastOpenError = why;
    Close();
    emit Disconnected();
    return false;
}

bool AdoConnection::DataOpen()
{
    Close();
    m_lastOpenError.clear();

    QString driver;
    switch (m_providerType) {
        case 1:
        case 3:
            driver = QStringLiteral("QSQLITE");
            break;
        case 2:
            driver = QStringLiteral("QPSQL");
            break;
        case 5:
            driver = QStringLiteral("QODBC");
            break;
        default: {
            const QString why = QStringLiteral("Provider %1 is not supported.").arg(m_provider);
            LogError(QStringLiteral("Error_DataOpen : "), 3706, why);
            return OpenFailed(why);
        }
    }
    if (!QSqlDatabase::isDriverAvailable(driver))
        return OpenFailed(QStringLiteral("The database driver %1 is not installed.").arg(driver));

    if (driver == QLatin1String("QSQLITE")) {
        // SQLite would create a missing file; a database the user chose is never created silently.
        const QFileInfo file(DataSource);
        if (DataSource.isEmpty() || !file.isFile())
            return OpenFailed(QStringLiteral("Could not find file '%1'.").arg(DataSource));
    }

    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connectionName);
        if (driver == QLatin1String("QSQLITE")) {
            db.setDatabaseName(DataSource);
        } else if (driver == QLatin1String("QPSQL")) {
            const int colon = static_cast<int>(DataSource.lastIndexOf(QLatin1Char(':')));
            bool portOk = false;
            const int port = colon > 0 ? DataSource.mid(colon + 1).toInt(&portOk) : 0;
            db.setHostName(portOk ? DataSource.left(colon) : DataSource);
            if (portOk)
                db.setPort(port);
            db.setDatabaseName(InitialCatalog);
            if (!UseNTSecurity) {
                db.setUserName(UserID);
                db.setPassword(Password);
            }
        } else {
            // QODBC builds "DSN=" & name itself and appends UID and PWD.
            db.setDatabaseName(DSN);
            db.setUserName(UserID);
            db.setPassword(Password);
        }
        if (db.open())
            m_dialect = SqlDialect::ForDatabase(db);
        else
            openError = ErrorText(db.lastError());
    }
    // Only once the handle above is gone can the failed connection be removed cleanly.
    if (!openError.isEmpty())
        return OpenFailed(openError);

    try {
        if (m_dialect.IsSQLite()) {
            // Reading the catalogue fails at once on a file that is not a database.
            Query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            Query(QStringLiteral("PRAGMA foreign_keys=ON"));
            // The journal mode is stored in the file: a file once opened locally and then shared
            // is turned back to the rollback journal here.
            m_writeAheadLog = IsLocalFileSystem(QStorageInfo(DataSource).fileSystemType());
            if (m_writeAheadLog) {
                Query(QStringLiteral("PRAGMA journal_mode=WAL"));
                // With the write-ahead log a commit need not wait for the disk: the file stays
                // consistent after a crash, and each item command commits on its own.
                Query(QStringLiteral("PRAGMA synchronous=NORMAL"));
            } else {
                Query(QStringLiteral("PRAGMA journal_mode=DELETE"));
                Query(QStringLiteral("PRAGMA synchronous=FULL"));
            }
            Query(QStringLiteral("PRAGMA cache_size=-65536"));
        } else if (m_dialect.IsPostgreSQL()) {
            // The tree is read by lists of ids, which are index look-ups on a database held in
            // memory or on flash; the server's default costs, made for spinning disks, would scan
            // whole item tables instead.
            Query(QStringLiteral("SET random_page_cost = 1.1"));
        }
    } catch (const KvlError& error) {
        return OpenFailed(error.Description());
    }
    emit Connected();
    return true;
}

bool AdoConnection::OpenAccess(const QString& database, const QString& password)
{
    SetProviderType(3);
    DataSource = database;
    InitialCatalog.clear();
    UserID.clear();
    Password = password;
    return DataOpen();
}

bool AdoConnection::OpenSQLServer(const QString& serverName, const QString& database, const QString& userName,
                                  const QString& password, bool ntSecurity)
{
    SetProviderType(2);
    DataSource = serverName;
    InitialCatalog = database;
    if (ntSecurity) {
        UseNTSecurity = true;
    } else {
        UseNTSecurity = false;
        UserID = userName;
        Password = password;
    }
    return DataOpen();
}

void AdoConnection::RefuseInsideReader() const
{
    if (m_readers > 0)
        throw KvlError(3219, QStringLiteral("A statement cannot run while the rows of another are being read."));
}

QSqlQuery AdoConnection::Query(const QString& statement, const QVariantList& values) const
{
    RefuseInsideReader();
    QSqlDatabase db = Connection();
    if (!db.isOpen())
        throw KvlError(3704, QStringLiteral("Operation is not allowed when the object is closed."));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // PostgreSQL prepares only queries and data changes; DDL binds nothing, so it runs directly.
    const bool ok = values.isEmpty() ? query.exec(statement) : [&] {
        if (!query.prepare(statement))
            return false;
        for (const QVariant& value : values)
            query.addBindValue(value);
        return query.exec();
    }();
    if (!ok)
        Raise(query);
    return query;
}

void AdoConnection::Raise(const QSqlQuery& query)
{
    throw KvlError(ErrorNumber(query.lastError()), ErrorText(query.lastError()));
}

QVariant AdoConnection::Scalar(const QString& statement, const QVariantList& values) const
{
    QVariant value;
    RunPrepared(statement, values, [&](QSqlQuery& query) {
        if (query.next())
            value = query.value(0);
    });
    return value;
}

void AdoConnection::Run(const QString& statement, const QVariantList& values) const
{
    RunPrepared(statement, values, {});
}

qint64 AdoConnection::Change(const QString& statement, const QVariantList& values) const
{
    qint64 rows = 0;
    RunPrepared(statement, values, [&](QSqlQuery& query) { rows = query.numRowsAffected(); });
    return rows;
}

void AdoConnection::ForEachRow(const QString& statement, const QVariantList& values,
                               const std::function<void(const QSqlQuery& row)>& read) const
{
    RunPrepared(statement, values, [&](QSqlQuery& query) {
        ++m_readers;
        const auto done = qScopeGuard([this] { --m_readers; });
        while (query.next())
            read(query);
    });
}

bool AdoConnection::Execute(const QString& statement, const QVariantList& values)
{
    try {
        Run(statement, values);
        return true;
    } catch (const KvlError& error) {
        m_lastErrorNumber = error.Number();
        m_lastErrorText = error.Description();
        LogError(QStringLiteral("Error_Execute : "), error);
        return false;
    }
}

bool AdoConnection::ExecuteUnchecked(const QString& statement, const QVariantList& values)
{
    if (!InTransaction())
        return Execute(statement, values);
    // A failed statement aborts the whole transaction on PostgreSQL unless a savepoint fences it.
    const QString savepoint = QStringLiteral("kvl_unchecked_%1").arg(++m_savepoints);
    if (!Execute(QStringLiteral("SAVEPOINT ") + savepoint))
        return false;
    if (Execute(statement, values)) {
        Execute(QStringLiteral("RELEASE SAVEPOINT ") + savepoint);
        return true;
    }
    Execute(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepoint);
    Execute(QStringLiteral("RELEASE SAVEPOINT ") + savepoint);
    return false;
}

bool AdoConnection::BeginTrans()
{
    if (m_transactionDepth == 0) {
        if (!Connection().transaction())
            return false;
        m_rollbackOnly = false;
    }
    ++m_transactionDepth;
    return true;
}

bool AdoConnection::CommitTrans()
{
    if (m_transactionDepth == 0)
        return false;
    if (--m_transactionDepth > 0)
        return !m_rollbackOnly;
    QSqlDatabase db = Connection();
    if (m_rollbackOnly) {
        db.rollback();
        m_rollbackOnly = false;
        return false;
    }
    if (!db.commit()) {
        LogError(QStringLiteral("Error_CommitTrans : "), ErrorNumber(db.lastError()), ErrorText(db.lastError()));
        db.rollback();
        return false;
    }
    return true;
}

void AdoConnection::RollbackTrans()
{
    if (m_transactionDepth == 0)
        return;
    if (--m_transactionDepth > 0) {
        m_rollbackOnly = true;
        return;
    }
    Connection().rollback();
    m_rollbackOnly = false;
}

DbTransaction::DbTransaction(AdoConnection& connection) : m_connection(connection)
{
    if (!m_connection.BeginTrans())
        throw KvlError(3251, QStringLiteral("The transaction could not be started."));
}

DbTransaction::~DbTransaction()
{
    if (!m_done)
        m_connection.RollbackTrans();
}

bool DbTransaction::Commit()
{
    m_done = true;
    return m_connection.CommitTrans();
}

bool AdoConnection::IsLocalFileSystem(const QByteArray& fileSystemType)
{
    static const QList<QByteArray> network{"cifs",  "smb",        "smb2",      "smbfs",          "smb3",   "nfs",
                                           "nfs4",  "afs",        "9p",        "ncpfs",          "coda",   "ceph",
                                           "davfs", "fuse.sshfs", "glusterfs", "fuse.glusterfs", "lustre", "gfs2",
                                           "ocfs2", "fuse.davfs2"};
    const QByteArray type = fileSystemType.toLower();
    // An unknown type is taken as shared: the rollback journal is safe everywhere.
    return !type.isEmpty() && !network.contains(type);
}

AdoConnection& gConnection()
{
    // Never destroyed: the connection lives until the process ends.
    static AdoConnection* instance = new AdoConnection();
    return *instance;
}
