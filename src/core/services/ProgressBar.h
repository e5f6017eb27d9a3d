#pragma once

#include <QObject>

// The main window's progress bar without a widget: long operations set its value (0 to 100) and
// the main window shows it. Showing and hiding it belong to the command that runs the operation.
class ProgressBar : public QObject
{
    Q_OBJECT

public:
    explicit ProgressBar(QObject* parent = nullptr) : QObject(parent) {}

    int Value() const { return m_value; }
    // Clamped to 0..100.
    void SetValue(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

signals:
    void ValueChanged(int value);
    void VisibleChanged(bool visible);

private:
    int m_value = 0;
    bool m_visible = false;
};

// The program's one progress bar (prgProgress), kept for the whole run.
ProgressBar& gProgressBar();
