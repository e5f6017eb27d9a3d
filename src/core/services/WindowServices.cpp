#include "core/services/WindowServices.h"

WindowServices& windowServices()
{
    static WindowServices instance;
    return instance;
}
