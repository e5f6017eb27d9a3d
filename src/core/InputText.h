#pragma once

#include <QString>

// Asks for one line of text under the caption, the box holding the default text and taking at
// most maxLength characters (no limit when 0); the default text when the user cancels.
QString InputText(const QString& caption, const QString& defaultText, int maxLength);
