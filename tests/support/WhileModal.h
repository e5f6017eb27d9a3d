#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `run`, which shows a modal `Dialog` and waits for it; `work` sees the dialog once it is
// shown and the dialog is then closed. False when no such dialog showed before `run` returned.
template <class Dialog>
bool WhileModal(const std::function<void()>& run, const std::function<void(Dialog*)>& work)
{
    bool shown = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer.stop();
        shown = true;
        work(dialog);
        dialog->close();
    });
    timer.start();
    run();
    return shown;
}
