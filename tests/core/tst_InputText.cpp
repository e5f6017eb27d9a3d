#include "core/InputText.h"
#include "ScriptedPrompts.h"

#include <QtTest>

// InputText asks through Prompts and falls back on the default text when cancelled.
class tst_InputText : public QObject
{
    Q_OBJECT

private slots:
    void answerIsReturned();
    void emptyAnswerIsReturned();
    void cancelGivesDefault();
    void maximumLengthReachesPrompts();
};

void tst_InputText::answerIsReturned()
{
    ScriptedPrompts prompts;
    prompts.Push(QString("Typed name"));
    QCOMPARE(InputText("Rename", "Old name", 50), QString("Typed name"));
    QCOMPARE(prompts.History().size(), 1);
    QCOMPARE(prompts.History().first().kind, QString("input"));
    QCOMPARE(prompts.History().first().caption, QString("Rename"));
}

void tst_InputText::emptyAnswerIsReturned()
{
    ScriptedPrompts prompts;
    prompts.Push(QString(""));
    QCOMPARE(InputText("Rename", "Old name", 50), QString(""));
}

void tst_InputText::cancelGivesDefault()
{
    ScriptedPrompts prompts;
    prompts.Push(QVariant());
    QCOMPARE(InputText("Rename", "Old name", 50), QString("Old name"));
    QCOMPARE(InputText("Rename", "Again", 50), QString("Again"));  // empty queue: a user who cancels
    QCOMPARE(prompts.History().size(), 2);
}

void tst_InputText::maximumLengthReachesPrompts()
{
    ScriptedPrompts prompts;
    prompts.Push(QString("abcdefgh"));
    QCOMPARE(InputText("Code", "", 3), QString("abc"));
}

QTEST_GUILESS_MAIN(tst_InputText)
#include "tst_InputText.moc"
