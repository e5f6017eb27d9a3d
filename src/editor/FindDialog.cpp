#include "editor/FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

FindDialog::FindDialog(QWebEngineView* view)
    : QDialog(view, Qt::Tool),
      m_view(view),
      m_text(new QLineEdit(this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      m_result(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    m_text->setObjectName(QStringLiteral("txtFind"));
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_result->setObjectName(QStringLiteral("lblResult"));

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* next = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("cmdFindNext"));
    next->setDefault(true);
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(next, &QPushButton::clicked, this, &FindDialog::FindNext);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_text, &QLineEdit::textEdited, m_result, &QLabel::clear);

    auto* what = new QHBoxLayout;
    what->addWidget(new QLabel(QStringLiteral("Fi&nd what:"), this));
    what->addWidget(m_text, 1);
    auto* fields = new QVBoxLayout;
    fields->addLayout(what);
    fields->addWidget(m_matchCase);
    fields->addWidget(m_result);
    fields->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
}

void FindDialog::FindNext()
{
    const QString text = m_text->text();
    if (text.isEmpty())
        return;
    const QWebEnginePage::FindFlags flags =
        m_matchCase->isChecked() ? QWebEnginePage::FindCaseSensitively : QWebEnginePage::FindFlags();
    // The browser takes the text it searched last as a search for its next match, under the
    // case rule it had then, and never answers when that rule changed: a new rule starts anew.
    if (m_matchCase->isChecked() != m_caseMatched)
        m_view->findText(QString());
    m_caseMatched = m_matchCase->isChecked();
    // The answer comes later, maybe after the dialog is gone; the last one's must not pass for it.
    m_result->clear();
    QPointer<QLabel> result(m_result);
    m_view->findText(text, flags, [result](const QWebEngineFindTextResult& found) {
        if (result) {
            result->setText(found.numberOfMatches() == 0
                                ? QStringLiteral("Not found.")
                                : QStringLiteral("%1 of %2").arg(found.activeMatch()).arg(found.numberOfMatches()));
        }
    });
}

// The browser ends its search: the match it showed becomes the selection.
void FindDialog::hideEvent(QHideEvent* event)
{
    m_view->findText(QString());
    QDialog::hideEvent(event);
}
