#pragma once

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

// The dialogs' row of command buttons, right-aligned, in the order given.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

// Lays out `dialog` as its page (a tab strip or a grid) above its row of buttons.
void LayOutDialog(QDialog* dialog, QWidget* page, std::initializer_list<QPushButton*> buttons);
