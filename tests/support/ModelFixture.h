#pragma once

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"

#include <QtTest>

// Small helpers of the model tests, on the database that TestDatabase opened.
namespace ModelFixture {

inline QVariant Scalar(const QString& sql, const QVariantList& values = {})
{
    return gConnection().Scalar(sql, values);
}

inline void Run(const QString& sql, const QVariantList& values = {})
{
    QVERIFY2(gConnection().Execute(sql, values), qPrintable(sql));
}

// The whole schema with its foreign keys.
inline void AddSchema()
{
    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    QCOMPARE(kvlDatabase().AddConstraints(gConnection()), 0);
}

}  // namespace ModelFixture
