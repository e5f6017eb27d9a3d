#include "BenchRun.h"

// Moving, unlinking and repairing are not in the object model yet.
QList<BenchFigure> BenchRun::MoveAndUnlink()
{
    const QString why = QStringLiteral("not available: Procedure::Move and UnLink are not in the object model yet");
    BenchFigure move{QStringLiteral("5a"), QStringLiteral("move up the middle of 1,000 children with results"),
                     QStringLiteral("20 ms")};
    move.missing = why;
    BenchFigure unlink{QStringLiteral("5b"), QStringLiteral("unlink the middle of 1,000 children with results"),
                       QStringLiteral("20 ms")};
    unlink.missing = why;
    return {move, unlink};
}

BenchFigure BenchRun::Repair()
{
    BenchFigure figure{QStringLiteral("6"), QStringLiteral("repair the large database"), QStringLiteral("5000 ms")};
    figure.missing = QStringLiteral("not available: kvlDatabase::Repair is not in the program yet");
    return figure;
}
