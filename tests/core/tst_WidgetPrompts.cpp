#include "core/ui/WidgetPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// The message box behind Prompts: what it shows and what each button answers.
class tst_WidgetPrompts : public QObject
{
    Q_OBJECT

private slots:
    void messageShowsTextAndAnswers_data();
    void messageShowsTextAndAnswers();
};

void tst_WidgetPrompts::messageShowsTextAndAnswers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("answer");
    using B = Prompts::Buttons;
    using A = Prompts::Answer;
    QTest::newRow("ok") << int(B::Ok) << int(QMessageBox::Ok) << int(A::Ok);
    QTest::newRow("cancel") << int(B::OkCancel) << int(QMessageBox::Cancel) << int(A::Cancel);
    QTest::newRow("yes") << int(B::YesNo) << int(QMessageBox::Yes) << int(A::Yes);
    QTest::newRow("no") << int(B::YesNoCancel) << int(QMessageBox::No) << int(A::No);
}

void tst_WidgetPrompts::messageShowsTextAndAnswers()
{
    QFETCH(int, buttons);
    QFETCH(int, pressed);
    QFETCH(int, answer);
    // A name the user typed, with markup in it.
    const QString text = "Delete <b>Plan</b> & <i>all</i>?";
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        format = box->textFormat();
        shown = box->text();
        title = box->windowTitle();
        box->button(QMessageBox::StandardButton(pressed))->click();
    });
    WidgetPrompts prompts;
    QCOMPARE(int(prompts.Message(text, QString(), Prompts::Icon::Critical, Prompts::Buttons(buttons))), answer);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, text);
    QCOMPARE(title, Prompts::ProgramTitle());
}

QTEST_MAIN(tst_WidgetPrompts)
#include "tst_WidgetPrompts.moc"
