#pragma once

#include <QString>

class HtmlEditor;

// The style sheet editor's font choice: a preview page showing a rule's font, and the rule read
// back from the preview after the font dialog.

// The preview of `declarations`, keeping the underline, italic and bold that the page shown so
// far (`shown`) carries.
QString FontPreview(const QString& shown, const QString& declarations);

// The rule the preview's selection now shows, with the dialog's alignment and page break (0 none,
// 1 before, 2 after). Raises KvlError when the editor answers a value no rule can hold.
QString FontRule(HtmlEditor& preview, const QString& alignment, int pageBreak);
