#include "core/services/ReportWindows.h"

ReportWindows& reportWindows()
{
    static ReportWindows instance;
    return instance;
}
