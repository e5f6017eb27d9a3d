#pragma once

#include "core/TableDialog.h"

struct HtmlElement;

// Procedures that act on every open description window, and the table dialog's filling.

// Hide and show the editors while the user drags an item (web views would swallow the drop).
// `withTemplates` would also cover template layout windows, which this program does not have.
void Disable_DHTMLEdit(bool withTemplates);
void Enable_DHTMLEdit(bool withTemplates);

// Stores every open description before a document is generated from the database.
void SaveCurrentForm();

// The dialog's fields as the attributes of an existing TABLE element give them.
TableDialogFields TableFieldsFromElement(const HtmlElement& table);
// Opens the table dialog on an existing table of a description.
void SetTableAttributes(const HtmlElement& table);
