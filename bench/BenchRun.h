#pragma once

#include "BenchFigure.h"
#include "BenchShape.h"

#include <QList>
#include <QString>
#include <QStringList>

class ExplorerNode;
class frmMdi;

// The figures of one engine on a database the generator wrote. Each figure checks what it
// did against the floor's rows, so a run that gives wrong results fails whatever its times.
class BenchRun
{
public:
    // `only` names the figures to measure (all when empty); figure 1 always runs, as it builds
    // the tree the others start from.
    BenchRun(const BenchShape& shape, const QString& bigPlanId, int runs, const QStringList& only = {});

    QList<BenchFigure> Figures();
    // What went wrong: a failed operation or a count that does not match.
    QStringList Failures() const { return m_failures; }

private:
    // The nodes below `node`, at every depth.
    static int Subtree(const ExplorerNode* node);
    BenchFigure TopLevels();
    BenchFigure PlanSubtree();
    BenchFigure WorkLoad();
    BenchFigure CreateAndLink();
    QList<BenchFigure> MoveAndUnlink();
    BenchFigure Repair();
    // A new sub-test, and a sub-test with its subtree, linked under the big plan as figure 2
    // shows it.
    // The explorer window on the same database; the node model is rebuilt by it.
    QList<BenchFigure> WindowFigures(const BenchFigure& topLevels, const BenchFigure& subtree);
    QList<BenchFigure> PropertiesShown(const ExplorerNode* plan);
    QList<BenchFigure> ItemCommandFigures(frmMdi& window);
    QList<BenchFigure> SearchFigures();
    // The result entry window on the big plan: opened first and again, and Fill all.
    QList<BenchFigure> ResultFillFigures();
    BenchFigure DescriptionSaveFigure();
    // The description editor on a 1 MB description.
    QList<BenchFigure> EditorFigures();
    // Table cell commands in the description editor.
    QList<BenchFigure> TableFigures();
    // The HTML code window on a 2 MB source.
    QList<BenchFigure> SourceViewFigures();
    // The big plan exported as an exchange file.
    BenchFigure ExportFigure();
    // That file imported as a new test plan, removed again after each run.
    BenchFigure ImportFigure();
    // The big plan published as one document and as a framed site.
    QList<BenchFigure> PublicationFigures();
    // The top levels and the big plan's subtree as figure 2 leaves them.
    void RestorePlanNodes();

    void FillTopLevels();
    bool Wanted(const QString& number) const { return m_only.isEmpty() || m_only.contains(number); }
    void Expect(bool ok, const QString& what);
    QString PlanKey() const;
    // The node of the big plan's first sub-test.
    QString FirstSubTestKey() const;

    BenchShape m_shape;
    QString m_bigPlanId;
    int m_runs;
    QStringList m_only;
    double m_memoryBefore = 0;
    QStringList m_failures;
};
