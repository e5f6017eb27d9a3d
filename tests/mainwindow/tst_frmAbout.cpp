#include "mainwindow/frmAbout.h"
#include "platform/DesktopOpen.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"
#include "RecordingDesktop.h"
#include "ScriptedPrompts.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The About box: its texts, the contact labels and the system information button, with the
// desktop replaced by a recorder.
class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionAndFixedTexts();
    void okCloses();
    void sysInfoStartsFirstToolFound_data();
    void sysInfoStartsFirstToolFound();
    void sysInfoButtonStartsTool();
    void noToolShowsMessage_data();
    void noToolShowsMessage();
    void failedStartShowsMessage();
    void contactOpensAddress_data();
    void contactOpensAddress();
    void contactFailureShowsMessage_data();
    void contactFailureShowsMessage();
    void clickOnContactLabelOpensIt();
    void defaultDesktopRestored();

private:
    // A folder to put on the PATH holding the named tools; those after '-' are not executable.
    void MakeTools(const QStringList& executables, const QStringList& plainFiles = {});
    void CheckUnavailableMessage();

    QByteArray m_path;
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<RecordingDesktop> m_desktop;
    std::unique_ptr<QTemporaryDir> m_bin;
};

void tst_frmAbout::init()
{
    m_path = qgetenv("PATH");
    m_env = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_desktop = std::make_unique<RecordingDesktop>();
    m_bin = std::make_unique<QTemporaryDir>();
    QVERIFY(m_bin->isValid());
}

void tst_frmAbout::cleanup()
{
    qputenv("PATH", m_path);
    Hourglass::Reset();
    QVERIFY2(m_env->BugLog().isEmpty(), qPrintable(m_env->BugLog()));  // nothing is ever logged
    m_bin.reset();
    m_desktop.reset();
    m_prompts.reset();
    m_env.reset();
}

void tst_frmAbout::MakeTools(const QStringList& executables, const QStringList& plainFiles)
{
    for (const QString& name : executables + plainFiles) {
        QFile file(QDir(m_bin->path()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (executables.contains(name))
            permissions |= QFileDevice::ExeOwner;
        QVERIFY(file.setPermissions(permissions));
    }
    qputenv("PATH", m_bin->path().toLocal8Bit());
}

void tst_frmAbout::CheckUnavailableMessage()
{
    QCOMPARE(m_prompts->History().size(), 1);
    const ScriptedPrompts::Shown& shown = m_prompts->History().first();
    QCOMPARE(shown.kind, QString("message"));
    QCOMPARE(shown.text, QString("System information is unavailable at this time"));
    QCOMPARE(shown.caption, Prompts::ProgramTitle());
    QCOMPARE(int(shown.icon), int(Prompts::Icon::None));
    QCOMPARE(int(shown.buttons), int(Prompts::Buttons::Ok));
}

void tst_frmAbout::captionAndFixedTexts()
{
    frmAbout about;
    QCOMPARE(about.windowTitle(), QString(" About Koravel"));
    const auto label = [&about](const char* name) {
        auto* found = about.findChild<QLabel*>(name);
        return found ? found->text() : QString("<missing %1>").arg(name);
    };
    QCOMPARE(label("lblTitle"), QString("Koravel version " KORAVEL_VERSION));
    QVERIFY(!QString(KORAVEL_VERSION).isEmpty());
    QVERIFY(label("lblDescription").contains("Koravel"));
    QCOMPARE(label("lblInfo"), QString("For any informations, or to report bugs contact : "));
    QCOMPARE(label("lblMail"), QString("support@example.com"));
    QCOMPARE(label("lblWeb"), QString("https://www.example.com/"));
    QVERIFY(label("lblDisclaimer").contains("warranty"));
    auto* ok = about.findChild<QPushButton*>("cmdOK");
    auto* sysInfo = about.findChild<QPushButton*>("cmdSysInfo");
    QVERIFY(ok && sysInfo);
    QCOMPARE(ok->text(), QString("OK"));
    QCOMPARE(sysInfo->text(), QString("&System Info..."));
    QVERIFY(m_prompts->History().isEmpty());
    QVERIFY(m_desktop->Opened().isEmpty());
    QVERIFY(m_desktop->StartedPrograms().isEmpty());
}

void tst_frmAbout::okCloses()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void tst_frmAbout::sysInfoStartsFirstToolFound_data()
{
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("plainFiles");
    QTest::addColumn<QString>("started");
    QTest::newRow("kinfocenter only") << QStringList{"kinfocenter"} << QStringList{} << "kinfocenter";
    QTest::newRow("all three") << QStringList{"gnome-system-monitor", "kinfocenter", "hardinfo"} << QStringList{}
                               << "hardinfo";
    QTest::newRow("kde and gnome") << QStringList{"gnome-system-monitor", "kinfocenter"} << QStringList{}
                                   << "kinfocenter";
    QTest::newRow("gnome only") << QStringList{"gnome-system-monitor"} << QStringList{} << "gnome-system-monitor";
    QTest::newRow("hardinfo not executable") << QStringList{"kinfocenter"} << QStringList{"hardinfo"} << "kinfocenter";
}

void tst_frmAbout::sysInfoStartsFirstToolFound()
{
    QFETCH(QStringList, executables);
    QFETCH(QStringList, plainFiles);
    QFETCH(QString, started);
    MakeTools(executables, plainFiles);
    frmAbout about;
    about.StartSysInfo();
    QCOMPARE(m_desktop->StartedPrograms().size(), 1);
    QCOMPARE(m_desktop->StartedPrograms().first().program, QDir(m_bin->path()).filePath(started));
    QVERIFY(m_desktop->StartedPrograms().first().arguments.isEmpty());
    QVERIFY(m_desktop->Opened().isEmpty());
    QVERIFY(m_prompts->History().isEmpty());
}

void tst_frmAbout::sysInfoButtonStartsTool()
{
    MakeTools({"kinfocenter"});
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QCOMPARE(m_desktop->StartedPrograms().size(), 1);
    QCOMPARE(m_desktop->StartedPrograms().first().program, QDir(m_bin->path()).filePath("kinfocenter"));
    QVERIFY(about.isVisible());
}

void tst_frmAbout::noToolShowsMessage_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty PATH") << "";
    QTest::newRow("folder without tools") << "bin";
    QTest::newRow("tools not executable") << "plain";
}

void tst_frmAbout::noToolShowsMessage()
{
    QFETCH(QString, path);
    if (path == "plain")
        MakeTools({}, {"hardinfo", "kinfocenter", "gnome-system-monitor"});
    else if (path == "bin")
        qputenv("PATH", m_bin->path().toLocal8Bit());
    else
        qputenv("PATH", QByteArray(""));
    frmAbout about;
    about.StartSysInfo();
    QVERIFY(m_desktop->StartedPrograms().isEmpty());
    CheckUnavailableMessage();
}

void tst_frmAbout::failedStartShowsMessage()
{
    MakeTools({"kinfocenter", "gnome-system-monitor"});
    m_desktop->StartAnswer = false;
    frmAbout about;
    about.StartSysInfo();
    // Only the first tool found is tried.
    QCOMPARE(m_desktop->StartedPrograms().size(), 1);
    QCOMPARE(m_desktop->StartedPrograms().first().program, QDir(m_bin->path()).filePath("kinfocenter"));
    CheckUnavailableMessage();
}

void tst_frmAbout::contactOpensAddress_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QUrl>("address");
    QTest::newRow("mail") << true << QUrl("mailto:support@example.com");
    QTest::newRow("web") << false << QUrl("https://www.example.com/");
}

void tst_frmAbout::contactOpensAddress()
{
    QFETCH(bool, mail);
    QFETCH(QUrl, address);
    bool hourglassDuringCall = false;
    m_desktop->OnCall = [&] { hourglassDuringCall = Hourglass::IsSet(); };
    frmAbout about;
    mail ? about.lblMail_Click() : about.lblWeb_Click();
    QCOMPARE(m_desktop->Opened(), QList<QUrl>{address});
    QVERIFY(hourglassDuringCall);
    QVERIFY(!Hourglass::IsSet());
    QVERIFY(m_prompts->History().isEmpty());
    QVERIFY(m_desktop->StartedPrograms().isEmpty());
}

void tst_frmAbout::contactFailureShowsMessage_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("mail") << true << "Mail can not be sent."
                          << "Mail Failed";
    QTest::newRow("web") << false << "Web page not opened"
                         << "URL Failed";
}

void tst_frmAbout::contactFailureShowsMessage()
{
    QFETCH(bool, mail);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    m_desktop->OpenAnswer = false;
    frmAbout about;
    mail ? about.lblMail_Click() : about.lblWeb_Click();
    QCOMPARE(m_desktop->Opened().size(), 1);
    QCOMPARE(m_prompts->History().size(), 1);
    const ScriptedPrompts::Shown& shown = m_prompts->History().first();
    QCOMPARE(shown.kind, QString("message"));
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.caption, caption);
    QCOMPARE(int(shown.icon), int(Prompts::Icon::Exclamation));
    QCOMPARE(int(shown.buttons), int(Prompts::Buttons::Ok));
    QVERIFY(!Hourglass::IsSet());
}

void tst_frmAbout::clickOnContactLabelOpensIt()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.lblMail, Qt::LeftButton);
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    QTest::mouseClick(about.lblInfo, Qt::LeftButton);
    QCOMPARE(m_desktop->Opened(), (QList<QUrl>{QUrl("mailto:support@example.com"), QUrl("https://www.example.com/")}));
    QVERIFY(about.isVisible());
}

void tst_frmAbout::defaultDesktopRestored()
{
    QCOMPARE(&desktopOpen(), static_cast<DesktopOpen*>(m_desktop.get()));
    m_desktop.reset();
    QVERIFY(&desktopOpen() != nullptr);
    RecordingDesktop second;
    QCOMPARE(&desktopOpen(), static_cast<DesktopOpen*>(&second));
    setDesktopOpen(nullptr);
    QVERIFY(&desktopOpen() != static_cast<DesktopOpen*>(&second));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
