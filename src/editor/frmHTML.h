#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;

// The HTML source of a description pane, edited as plain text in a modal window. The source is
// coloured once, when it is first shown: the page head and tail grey, the body near-black. On
// close the window keeps its place and size and writes the work file description.xta.
class frmHTML : public QDialog
{
    Q_OBJECT

public:
    // `hasActiveChild` tells whether the main window has an active child window; without one the
    // close writes nothing.
    explicit frmHTML(QWidget* parent = nullptr, std::function<bool()> hasActiveChild = {});

    QPlainTextEdit* rtfHTML() const { return m_rtfHTML; }
    // Shows the page without its caret marker, coloured, with the caret where the marker stood.
    void SetSource(const QString& html);
    QString Source() const;
    bool SourceColoured() const { return m_coloured; }

    static QString WorkFilePath();

    static constexpr double kDefaultWidth = 12000;
    static constexpr double kDefaultTop = 3000;
    static constexpr double kDefaultLeft = 3000;
    static constexpr double kDefaultHeight = 4000;

public slots:
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    QPlainTextEdit* m_rtfHTML = nullptr;
    std::function<bool()> m_hasActiveChild;
    bool m_coloured = false;
    bool m_unloaded = false;
};
