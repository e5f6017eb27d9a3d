#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class frmList;
class frmMdi;

// The search pane: the items whose description holds a text, of one kind, under one location,
// listed in a result window of their own for every search.
class frmSelection : public QWidget
{
    Q_OBJECT

public:
    frmSelection(frmMdi* main, QWidget* parent = nullptr);
    ~frmSelection() override;

    QLineEdit* txtFind() const { return m_text; }
    QComboBox* cboItem() const { return m_item; }
    QComboBox* cboDevice() const { return m_device; }
    // The result windows still open, oldest first.
    QList<frmList*> ResultWindows() const;
    void CloseResultWindows();

    // Runs the search and shows its result window; also Enter in the text box.
    void cmdFind_Click();
    // Closes the pane; the location goes back to the whole database.
    void cmdCancel_Click();
    // Reads the locations again while the pane is shown, keeping the chosen one while it exists
    // (after a tree rebuild).
    void RefillLocations();
    // Shown by the Search command: the locations refilled, the focus in the text box.
    void ShowPane();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowLocations();

    frmMdi* m_main;
    QLineEdit* m_text;
    QComboBox* m_item;
    QComboBox* m_device;
    QPushButton* m_find;
    QPushButton* m_cancel;
    QList<QPointer<frmList>> m_results;
};
