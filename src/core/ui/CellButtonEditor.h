#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The editor of a grid cell with a "..." button: the text stays typeable, the button runs the
// cell's action. The focus sits in the text; the button never takes it.
class CellButtonEditor : public QWidget
{
    Q_OBJECT

public:
    explicit CellButtonEditor(QWidget* parent);

    QLineEdit* Text() const { return m_text; }
    QToolButton* Button() const { return m_button; }

    // The editor whose text `text` is; null for any other object.
    static CellButtonEditor* Owning(QObject* text);
    // The line edit of an editor: the editor itself, or the text of a button editor.
    static QLineEdit* LineOf(QWidget* editor);
    // The text of a cell editor: a line edit's, a button editor's or a pick list's.
    static QString TextOf(QWidget* editor);

private:
    QLineEdit* m_text;
    QToolButton* m_button;
};
