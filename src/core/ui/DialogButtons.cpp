#include "core/ui/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

void LayOutDialog(QDialog* dialog, QWidget* page, std::initializer_list<QPushButton*> buttons)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(page);
    layout->addLayout(ButtonRow(buttons));
}
