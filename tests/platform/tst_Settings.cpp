#include "TestEnvironment.h"
#include "ScriptedPrompts.h"
#include "platform/AppFolders.h"
#include "platform/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void defaultsWhenAbsent()
    {
        QCOMPARE(Settings::GetSetting("Options", "TempPath", "fallback"), QString("fallback"));
        QVERIFY(!QFileInfo::exists(Settings::FilePath()));  // reading creates nothing
        Settings::SaveSetting("Options", "Other", "1");
        QCOMPARE(Settings::GetSetting("Options", "TempPath", "fallback"), QString("fallback"));
        QCOMPARE(Settings::GetSetting("Options", "Other", "x"), QString("1"));
    }

    void sectionNamesCompareWithoutCase()
    {
        Settings::SaveSetting("database", "Provider", "2");
        QCOMPARE(Settings::GetSetting("DataBase", "Provider", "3"), QString("2"));
        QCOMPARE(Settings::GetSetting("DATABASE", "Provider", "3"), QString("2"));
        Settings::SaveSetting("PAGESETUP", "Margin", "1440");
        QCOMPARE(Settings::GetSetting("PageSetUp", "Margin"), QString("1440"));
        // Stored under the canonical spelling, whatever the writer used.
        QFile file(Settings::FilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains("[DataBase]"));
        QVERIFY(text.contains("[PageSetUp]"));
    }

    void valuesStayText()
    {
        Settings::SaveSetting("Options", "Charset", "UTF-8");
        Settings::SaveSetting("Options", "Empty", "");
        Settings::SaveSetting("Options", "Path", "/tmp/a b/c,d");
        QCOMPARE(Settings::GetSetting("Options", "Charset"), QString("UTF-8"));
        QCOMPARE(Settings::GetSetting("Options", "Empty", "default"), QString(""));
        QCOMPARE(Settings::GetSetting("Options", "Path"), QString("/tmp/a b/c,d"));
        Settings::DeleteSetting("options", "Charset");
        QCOMPARE(Settings::GetSetting("Options", "Charset", "gone"), QString("gone"));
    }

    void fileIsPrivate()
    {
        Settings::SaveSetting("DataBase", "Password", "secret");
        QFileInfo info(Settings::FilePath());
        QVERIFY(info.exists());
        QCOMPARE(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(info.permissions() & QFile::ReadOwner);
        QVERIFY(info.permissions() & QFile::WriteOwner);
        QVERIFY(info.absoluteFilePath().endsWith("Koravel/Koravel.conf"));
    }

    void defaultFolders()
    {
        const QString data = AppFolders::DataFolder();
        QVERIFY(data.endsWith("Koravel"));
        QCOMPARE(AppFolders::DefaultTempPath(), data + "/Temp");
        QCOMPARE(AppFolders::DefaultImagePath(), data + "/Images");
        QCOMPARE(AppFolders::DefaultDatabasePath(), data + "/Database/demo.db");
    }

    void scriptedPromptsAnswerFromQueue()
    {
        ScriptedPrompts scripted;
        scripted.Push(Prompts::Answer::Yes);
        QVERIFY(prompts().Question("Delete it?"));
        QVERIFY(!prompts().Question("Again?"));  // queue empty: the user says no
        scripted.Push(QVariant("typed"));
        QCOMPARE(prompts().InputText("Name", "", "", 3).value_or("none"), QString("typ"));
        QVERIFY(!prompts().InputText("Name", "", "", 0).has_value());
        QCOMPARE(scripted.Messages(), QStringList({"Delete it?", "Again?"}));
        QCOMPARE(scripted.History().first().caption, QString("Koravel"));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
