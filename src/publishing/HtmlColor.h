#pragma once

#include <QString>

// Colours as the description editor and the report templates write them.
//
// A colour value holds red in its lowest byte, then green, then blue (0 to 0xFFFFFF). A value
// from 0x80000000 to 0x8FFFFFFF, read as unsigned 32 bits (a negative number in 32 bits, or the
// same bits as a positive long), names a system colour by its low bits, resolved through the
// application's palette:
//
//   index  system colour              palette role
//   0      scroll bar                 Button (the track is drawn from the button face)
//   1      desktop                    Window (the palette has no desktop)
//   2      active caption             Highlight (as styles draw an active title bar)
//   3      inactive caption           Dark (as styles draw an inactive title bar)
//   4      menu                       Window
//   5      window                     Base
//   6      window frame               Shadow
//   7      menu text                  WindowText
//   8      window text                WindowText
//   9      caption text               HighlightedText
//   10     active border              Button
//   11     inactive border            Button
//   12     application workspace      Dark (an MDI area's background)
//   13     highlight                  Highlight
//   14     highlight text             HighlightedText
//   15     button face                Button
//   16     button shadow              Dark
//   17     grey text                  Text of the Disabled group
//   18     button text                ButtonText
//   19     inactive caption text      Light (light text on the dark inactive bar)
//   20     button highlight           Light
//   21     3D dark shadow             Shadow
//   22     3D light                   Midlight
//   23     tooltip text               ToolTipText
//   24     tooltip background         ToolTipBase
//   26     hot-tracked item           Link
//   27     active caption gradient    Highlight
//   28     inactive caption gradient  Dark
//   29     menu highlight             Highlight
//   30     menu bar                   Window
//
// Any other value (negative and not a system colour, above 0xFFFFFF, index 25 or above 30) cannot
// be written: the functions answer "" and log the error; they never raise.

// "#RRGGBB" in upper case: 0xFF gives "#FF0000".
QString ColorToHtml(long color);
// The same text, between double quotes when `quoted`.
QString HtmlColor(long color, bool quoted);
