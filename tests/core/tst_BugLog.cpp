#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

class tst_BugLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void entryFraming()
    {
        WriteBugLog("Start Koravel session : 03-27-2026", kLogRewrite);
        const QString stars(53, '*');
        const QStringList lines = m_env->BugLog().split("\r\n");
        QCOMPARE(lines.size(), 5);  // four lines, each ended by CR LF
        QCOMPARE(lines[0], stars);
        QVERIFY(QRegularExpression("^\\d{2}-\\d{2}-\\d{4} \\d{2}:\\d{2}:\\d{2}$").match(lines[1]).hasMatch());
        QCOMPARE(lines[2], QString("Start Koravel session : 03-27-2026"));
        QCOMPARE(lines[3], stars);
        QCOMPARE(lines[4], QString());
        QVERIFY(!m_env->BugLog().remove("\r\n").contains('\n'));  // no bare line feeds
    }

    void rewriteThenAppend()
    {
        WriteBugLog("first session", kLogRewrite);
        LogError("Error_Execute : ", 42, "boom");
        QCOMPARE(m_env->BugLogEntries(), 2);
        WriteBugLog("second session", kLogRewrite);
        QCOMPARE(m_env->BugLogEntries(), 1);
        QVERIFY(!m_env->BugLog().contains("first session"));
        QVERIFY(m_env->BugLog().contains("second session"));
    }

    void appendCreatesMissingFile()
    {
        m_env->ClearBugLog();
        WriteBugLog("orphan", kLogAppend);
        QCOMPARE(m_env->BugLogEntries(), 1);
    }

    void errorLabelConvention()
    {
        QCOMPARE(ErrorMessage("Error_Find TestPlan : ", 3021, "No current record."),
                 QString("Error_Find TestPlan : 3021\r\nNo current record."));
        LogError("Error_UserName:", KvlError(13, "Type mismatch"));
        const QString log = m_env->BugLog();
        QVERIFY(log.contains("Error_UserName:13\r\nType mismatch\r\n" + QString(53, '*')));
        QCOMPARE(m_env->BugLogEntries(), 1);  // a message with a line break is still one entry
    }

    void missingFolderNeverRaises()
    {
        const QString saved = gTempPath;
        gTempPath = QDir(saved).filePath("gone/deeper");
        WriteBugLog("lost", kLogAppend);
        LogError("Error_X : ", std::runtime_error("still fine"));
        QVERIFY(!QFile::exists(QDir(gTempPath).filePath("BugLog.txt")));
        gTempPath = saved;
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(tst_BugLog)
#include "tst_BugLog.moc"
