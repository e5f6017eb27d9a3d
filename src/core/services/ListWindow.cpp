#include "core/services/ListWindow.h"

namespace {

class NoListWindow : public ListWindow
{
public:
    void ShowModal(const ItemList&) override {}
};

NoListWindow gNone;
ListWindow* gInstance = &gNone;

}  // namespace

ListWindow& listWindow()
{
    return *gInstance;
}

void setListWindow(ListWindow* instance)
{
    gInstance = instance ? instance : &gNone;
}
