#pragma once

class frmMdi;

// Connects the core dialogs' window hooks to the main window for as long as it lives.
void InstallWindowServices(frmMdi* window);
