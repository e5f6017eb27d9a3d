#pragma once

// The main window's stored layout in twips, as its load reads it from the settings section
// "Settings". A stored value that is not a number keeps its default and is logged once; a side
// outside 1-4 takes the pane's default side; a side width is at least 500.
struct MainLayout
{
    double MainLeft = 1000;
    double MainTop = 1000;
    double MainWidth = 6500;
    double MainHeight = 6500;
    int PropertiesAlign = 4;
    int ExplorerAlign = 3;
    double RightWidth = 3000;
    double LeftWidth = 3400;
    bool PropertiesVisible = true;
    bool ExplorerVisible = true;

    static MainLayout Read();
};
