#pragma once

#include <QString>

#include <array>

class HtmlEditor;

// The editor the user works in and the mirror of its state in the main window's toolbars.

// The focused editor of the active description window, or null.
HtmlEditor* ActiveEditor();
// The editor whose document is in use: the expected-result editor while it has the focus, else
// the description editor; null without an active description window.
HtmlEditor* ActiveEditorDocument();

// The format toolbar's buttons and the commands they run, entry by entry.
extern std::array<QString, 11> gFormatButtonKeys;
extern std::array<int, 11> gFormatCommandIds;
void InitFormatButtons();

// Font name, font size and paragraph style combos from the active editor.
void UpdateFormatCombos();
// Enabled states of the edit and table toolbars that are shown.
void UpdateEditToolbar();
