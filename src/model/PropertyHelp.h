#pragma once

#include <QString>

// The help text the property window shows under the caption of the current row; the empty text
// for a group caption or any caption it does not explain.
QString PropertyHelpText(const QString& caption);
