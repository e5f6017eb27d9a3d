#pragma once

#include <QList>

class DescriptionForm;

// The loaded description windows in the order they were opened, and the one that is the main
// window's active child (null while the active child is another kind of window or none).
class OpenForms
{
public:
    static void Add(DescriptionForm* form);
    // Also clears the active window when it is the one removed.
    static void Remove(DescriptionForm* form);
    static QList<DescriptionForm*> All();
    static void SetActive(DescriptionForm* form);
    static DescriptionForm* Active();

private:
    static QList<DescriptionForm*>& Forms();
    static DescriptionForm*& ActiveForm();
};
