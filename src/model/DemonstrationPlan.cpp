#include "model/DemonstrationPlan.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

namespace {

void Check(int status, const char* step)
{
    if (status != 0)
        throw KvlError(5, QStringLiteral("The demonstration plan could not be written (%1).").arg(QLatin1String(step)));
}

ExplorerNode* Node(const QString& key)
{
    return gExplorerNodes().Item(key);
}

SubTest NewSubTest(const QString& name, const QString& title)
{
    SubTest subTest;
    Check(subTest.Create(), "sub-test");
    subTest.SetName(name);
    subTest.SetTitle(title);
    Check(subTest.Update(), "sub-test");
    return subTest;
}

// A procedure with its description and expected result. The item classes have no writer of
// the two documents yet (the description window stores them), so they go in one bound update.
Procedure NewProcedure(const QString& name, float workLoad, const QString& description, const QString& expected)
{
    Procedure procedure;
    Check(procedure.Create(), "procedure");
    procedure.SetName(name);
    procedure.SetTitle(name);
    procedure.SetWorkLoad(workLoad);
    Check(procedure.Update(), "procedure");
    gConnection().Query(QStringLiteral("UPDATE PROCEDURES SET DESCRIPTION = ?, RESULT = ? WHERE ID = ?"),
                        {description, expected, DbValues::Id(procedure.Id())});
    return procedure;
}

void Play(Procedure& procedure, int status, const QString& comment)
{
    const auto result = procedure.Result();
    result->SetStatus(status);
    result->SetIteration(1);
    result->SetComment(comment);
    Check(result->Update(), "result");
}

void Build()
{
    ExplorerNodes& tree = gExplorerNodes();
    if (!tree.Exist(NodeKey::kRoot))
        tree.Add({}, NodeKey::kRoot, QStringLiteral("Test Plan Database"), kImageRoot);

    Configuration bench;
    Check(bench.Create(), "configuration");
    bench.SetName(QStringLiteral("Demonstration bench"));
    bench.SetTitle(QStringLiteral("Bench for the demonstration plan"));
    bench.SetEquipment1(QStringLiteral("Controller board rev. B"));
    bench.SetEquipment2(QStringLiteral("Bench power supply 0-30 V"));
    bench.SetEquipment3(QStringLiteral("USB serial console"));
    Check(bench.Update(), "configuration");

    TestPlan plan;
    Check(plan.Create(bench.Id()), "test plan");
    plan.SetName(QStringLiteral("Demonstration plan"));
    plan.SetTitle(QStringLiteral("Acceptance of the controller board"));
    Check(plan.Update(), "test plan");
    Check(plan.Link(Node(Configuration::NodeKeyOf(bench.Id()))), "test plan link");
    const QString planKey = Configuration::NodeKeyOf(bench.Id()) + NodeKey::kSeparator + plan.Id();

    SubTest power = NewSubTest(QStringLiteral("Power-on"), QStringLiteral("Power-on checks"));
    SubTest link = NewSubTest(QStringLiteral("Communication"), QStringLiteral("Serial communication"));
    SubTest rails = NewSubTest(QStringLiteral("Supply rails"), QStringLiteral("Supply rail voltages"));
    SubTest selfTest = NewSubTest(QStringLiteral("Self-test"), QStringLiteral("Built-in self-test"));
    Check(power.Link(Node(planKey)), "sub-test link");
    Check(link.Link(Node(planKey)), "sub-test link");
    Check(rails.Link(Node(power.Key())), "sub-test link");
    // Shared by both first-level sub-tests.
    Check(selfTest.Link(Node(power.Key())), "sub-test link");
    const QString selfTestUnderPower = selfTest.Key();
    Check(selfTest.Link(Node(link.Key())), "sub-test link");

    Procedure measure = NewProcedure(QStringLiteral("Measure the 3.3 V rail"), 0.5f,
                                     QStringLiteral("<P>Connect the probe to <B>TP3</B> and read the voltage.</P>"),
                                     QStringLiteral("<P>Between <B>3.20 V</B> and <B>3.40 V</B>.</P>"));
    Procedure banner = NewProcedure(QStringLiteral("Read the boot banner"), 1.0f,
                                    QStringLiteral("<P>Open the console at 115200 bauds and reset the board.</P>"),
                                    QStringLiteral("<P>The banner shows the firmware version.</P>"));
    Procedure ping = NewProcedure(QStringLiteral("Echo a frame"), 0.25f,
                                  QStringLiteral("<P>Send <CODE>PING</CODE> on the console.</P>"),
                                  QStringLiteral("<P>The board answers <CODE>PONG</CODE>.</P>"));
    Procedure builtIn = NewProcedure(QStringLiteral("Run the built-in test"), 2.0f,
                                     QStringLiteral("<UL><LI>Type <CODE>selftest</CODE>.</LI><LI>Wait for the "
                                                    "end of the run.</LI></UL>"),
                                     QStringLiteral("<P>Every line ends with <B>OK</B>.</P>"));
    Check(measure.Link(Node(rails.Key())), "procedure link");
    Check(banner.Link(Node(power.Key())), "procedure link");
    const QString bannerUnderPower = banner.Key();
    Check(banner.Link(Node(link.Key())), "procedure link");
    Check(ping.Link(Node(link.Key())), "procedure link");
    Check(builtIn.Link(Node(selfTestUnderPower)), "procedure link");

    Play(measure, kPassed, QStringLiteral("3.31 V"));
    Play(ping, kWarning, QStringLiteral("Answered after a second try."));
    Procedure bannerPlayed;
    bannerPlayed.SetId(banner.Id());
    bannerPlayed.SetKey(bannerUnderPower);
    Play(bannerPlayed, kFailed, QStringLiteral("The banner shows no version."));
}

}  // namespace

int BuildDemonstrationPlan()
{
    try {
        DbTransaction transaction(gConnection());
        Build();
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The demonstration plan could not be committed."));
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_BuildDemonstrationPlan : "), error);
        return 1;
    }
}
