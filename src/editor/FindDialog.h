#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWebEngineView;

// The description editor's Find box: modeless, it searches the view's page forward from the
// last match, wrapping at the end, tells which match of how many it shows, and leaves the match
// selected when it closes.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    // Owned by the view, above whose window it stays.
    explicit FindDialog(QWebEngineView* view);

    void FindNext();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWebEngineView* m_view;
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QLabel* m_result;
    bool m_caseMatched = false;  // the case rule of the last search
};
