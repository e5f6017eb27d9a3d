// Figure 18: saving a procedure's description window in the big plan, against one UPDATE of the
// same column by id.
#include "BenchClock.h"
#include "BenchFloors.h"
#include "BenchRun.h"

#include "FakeHtmlEditor.h"

#include "core/db/AdoConnection.h"
#include "core/DescriptionForm.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "editor/DescriptionSave.h"
#include "model/DbValues.h"

namespace {

void ProcedureNodes(const ExplorerNode* node, QList<const ExplorerNode*>& found)
{
    for (const ExplorerNode* child : node->ChildNodes()) {
        if (child->Image() == kImageProcedure)
            found << child;
        ProcedureNodes(child, found);
    }
}

// A description of some twenty paragraphs, different for each run.
QString Body(int run)
{
    QString body;
    for (int i = 1; i <= 20; ++i)
        body += QStringLiteral("<P>Run %1, step %2: connect the <B>probe</B> and read the level.</P>").arg(run).arg(i);
    return body;
}

QString Page(const QString& body)
{
    return QStringLiteral("<HTML><HEAD></HEAD><BODY>") + body + QStringLiteral("</BODY></HTML>");
}

// An editor that hands out its body as a browser's document does, without parsing its page
// again: the test fake's parse would be timed as the save's.
class BodyEditor : public FakeHtmlEditor
{
public:
    void Type(const QString& body)
    {
        m_body = body;
        SetDocumentHTML(Page(body));
        SetDirty(true);
    }
    QString BodyInnerHTML() const override { return m_body; }

private:
    QString m_body;
};

// A procedure window reduced to its two panes.
class ProcedureWindow : public DescriptionForm
{
public:
    QString Caption() const override { return {}; }
    void SetCaption(const QString& /*caption*/) override {}
    QString Tag() const override { return {}; }
    void SetTag(const QString& /*tag*/) override {}
    HtmlEditor* DHTMLEdit1() override { return &edit1; }
    HtmlEditor* DHTMLEdit2() override { return &edit2; }
    QString ActiveControlName() const override { return QStringLiteral("DHTMLEdit1"); }
    long SaveDescription() override { return DescriptionSave(*this).SaveDescription(); }

    BodyEditor edit1;
    BodyEditor edit2;
};

}  // namespace

BenchFigure BenchRun::DescriptionSaveFigure()
{
    BenchFigure figure{QStringLiteral("18"), QStringLiteral("save a procedure window with its refresh (floor: UPDATE)"),
                       QStringLiteral("20 ms, x5")};
    QList<const ExplorerNode*> procedures;
    ProcedureNodes(gExplorerNodes().Item(PlanKey()), procedures);
    Expect(procedures.size() == m_shape.BigPlanOccurrences(),
           QStringLiteral("figure 18: %1 procedure nodes in the big plan").arg(procedures.size()));
    if (procedures.isEmpty())
        return figure;
    // The window's node is the selected one, as after opening it from the explorer.
    const ExplorerNode* node = procedures[procedures.size() / 2];
    const QString id = KeyIdShort(node->Tag());
    SetSelectedNode(node->Key());

    ProcedureWindow form;
    form.mstrTitle = QStringLiteral("Description Procedure : %1 ").arg(id);
    form.mstrKey = node->Key();
    int run = 0;
    bool saved = true;
    figure.value = BenchClock::MedianMs(
        m_runs,
        [&] {
            ++run;
            form.edit1.Type(Body(run));
            form.edit2.Type(QStringLiteral("<P>Level %1 within range.</P>").arg(run));
            gPropertyGrid().SetRows(0);
        },
        [&] { saved = form.SaveDescription() == 0 && saved; });
    const QString stored = gConnection()
                               .Scalar(QStringLiteral("SELECT DESCRIPTION FROM PROCEDURES WHERE ID = ?"), {id.toInt()})
                               .toString();
    const QDate stamp = DbValues::ReadDate(
        gConnection().Scalar(QStringLiteral("SELECT DATE_UPDATE FROM PROCEDURES WHERE ID = ?"), {id.toInt()}));
    Expect(saved && stored == Body(run) && stamp == QDate::currentDate() && gPropertyGrid().Rows() > 0 &&
               form.mstrLastSaved == form.edit1.DocumentHTML(),
           QStringLiteral("figure 18: the save of procedure %1 did not store, stamp and show it").arg(id));

    figure.floor = BenchClock::MedianMs(m_runs, [&] {
        ++run;
        BenchFloors::UpdateColumn(QStringLiteral("PROCEDURES"), QStringLiteral("DESCRIPTION"), id, Body(run));
    });
    SetSelectedNode({});
    return figure;
}
