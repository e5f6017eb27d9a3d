#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QStatusBar;

// The program's one main window: child windows open as tabs in its MDI area; closing it ends
// the program.
class frmMdi : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMdi(QWidget* parent = nullptr);

    // Other windows walk the open windows and skip the one with this tag.
    const QString Tag = QStringLiteral("Main Form");

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QMdiSubWindow* ActiveForm() const;

    // Status bar panels 1 to 5: product, database, test plan, test plan item, date.
    QStatusBar* sbStatusBar() const;
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);

private:
    void BuildStatusBar();
    void MDIForm_Load();
    void RefreshDatePanel();
    // The database panel names the open database, and nothing while none is open.
    void RefreshDatabasePanel();

    QMdiArea* m_mdiArea;
    QList<QLabel*> m_panels;
};
