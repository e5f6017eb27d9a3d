#pragma once

// Command numbers of the HTML editing control, as published with it (DECMD_ constants), and the
// answers of its QueryStatus. Editors are driven by these numbers throughout the program.
namespace Decmd {
enum Command : int {
    BOLD = 5000,
    COPY = 5002,
    CUT = 5003,
    DELETE = 5004,
    DELETECELLS = 5005,
    DELETECOLS = 5006,
    DELETEROWS = 5007,
    FINDTEXT = 5008,
    FONT = 5009,
    GETBACKCOLOR = 5010,
    GETBLOCKFMT = 5011,
    GETBLOCKFMTNAMES = 5012,
    GETFONTNAME = 5013,
    GETFONTSIZE = 5014,
    GETFORECOLOR = 5015,
    HYPERLINK = 5016,
    IMAGE = 5017,
    INDENT = 5018,
    INSERTCELL = 5019,
    INSERTCOL = 5020,
    INSERTROW = 5021,
    INSERTTABLE = 5022,
    ITALIC = 5023,
    JUSTIFYCENTER = 5024,
    JUSTIFYLEFT = 5025,
    JUSTIFYRIGHT = 5026,
    LOCK_ELEMENT = 5027,
    MAKE_ABSOLUTE = 5028,
    MERGECELLS = 5029,
    ORDERLIST = 5030,
    OUTDENT = 5031,
    PASTE = 5032,
    REDO = 5033,
    REMOVEFORMAT = 5034,
    SELECTALL = 5035,
    SEND_BACKWARD = 5036,
    BRING_FORWARD = 5037,
    SEND_BELOW_TEXT = 5038,
    BRING_ABOVE_TEXT = 5039,
    SEND_TO_BACK = 5040,
    BRING_TO_FRONT = 5041,
    SETBACKCOLOR = 5042,
    SETBLOCKFMT = 5043,
    SETFONTNAME = 5044,
    SETFONTSIZE = 5045,
    SETFORECOLOR = 5046,
    SPLITCELL = 5047,
    UNDERLINE = 5048,
    UNDO = 5049,
    UNLINK = 5050,
    UNORDERLIST = 5051,
    PROPERTIES = 5052,
};

// QueryStatus answers (DECMDF_ flags: supported 2, enabled 1 + 2, latched 4 + 3, mixed 8 + 3).
enum Status : int {
    NOTSUPPORTED = 0,
    DISABLED = 1,
    SUPPORTED = 2,
    ENABLED = 3,
    LATCHED = 7,
    NINCHED = 11,
};

// Execution options of ExecCommand.
enum Option : int {
    OPT_DODEFAULT = 0,
    OPT_PROMPTUSER = 1,
    OPT_DONTPROMPTUSER = 2,
};
}  // namespace Decmd
