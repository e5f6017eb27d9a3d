#pragma once

#include <QString>

// Database helpers of the core that the item records use.
int NewId(const QString& table);
QString UserName(const QString& id);
bool HasHistory();
