#include "FakeControl.h"

#include <QStringList>

FakeControl::FakeControl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FakeControl"));
}

int FakeControl::Open(const QString& sURL, int iWork)
{
    return Record(DispId::Open, QStringList{sURL, QString::number(iWork)});
}

int FakeControl::Record(DispId member, const QVariant& value)
{
    calls.append({member, value});
    return answer;
}
