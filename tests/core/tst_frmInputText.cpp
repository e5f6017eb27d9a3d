#include "core/InputText.h"
#include "core/ui/frmInputText.h"
#include "core/ui/WidgetPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

// The one-line input popup, driven as the user would, alone and behind InputText.
class tst_frmInputText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void newFormHasDesignCaptionAndNothingConfirmed();
    void okOnEmptiedBoxGivesEmptyText();
    void okKeepsTypedText();
    void enterConfirms();
    void cancelCloseBoxAndEscapeLeaveNothingConfirmed_data();
    void cancelCloseBoxAndEscapeLeaveNothingConfirmed();
    void inputTextShowsCaptionDefaultAndMaximum();
    void inputTextGivesEmptyTextOnEmptiedOk();
    void inputTextGivesDefaultOnCancelAndCloseBox_data();
    void inputTextGivesDefaultOnCancelAndCloseBox();
    void maximumLengthHoldsForTypedText();
    void maximumLengthHoldsForPastedText();
    void pastedTextKeepsFirstLineOnly_data();
    void pastedTextKeepsFirstLineOnly();
    void pasteIntoTheMiddleKeepsTheRest();
    void pasteOverSelectionWithMaximumLength();
    void defaultTextKeepsFirstLineOnly();

private:
    // Runs `act` on the popup while the modal loop of `run` is showing it.
    static void WhileShown(const std::function<void(frmInputText*)>& act, bool* seen);
    static void Paste(QLineEdit* edit, const QString& text);
};

void tst_frmInputText::cleanup()
{
    setPrompts(nullptr);
}

void tst_frmInputText::WhileShown(const std::function<void(frmInputText*)>& act, bool* seen)
{
    *seen = false;
    QTimer::singleShot(0, qApp, [act, seen] {
        auto* form = qobject_cast<frmInputText*>(QApplication::activeModalWidget());
        if (!form)
            return;
        *seen = true;
        act(form);
    });
}

void tst_frmInputText::Paste(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QTest::keySequence(edit, QKeySequence::Paste);
}

void tst_frmInputText::newFormHasDesignCaptionAndNothingConfirmed()
{
    frmInputText form;
    QCOMPARE(form.windowTitle(), QString("Fill "));
    QCOMPARE(form.txtFilled->objectName(), QString("txtFilled"));
    QCOMPARE(form.cmdOKButton->text(), QString("OK"));
    QCOMPARE(form.cmdCancelButton->text(), QString("Cancel"));
    QVERIFY(!form.mblnOK);
    QVERIFY(form.mstrText.isEmpty());
}

void tst_frmInputText::okOnEmptiedBoxGivesEmptyText()
{
    frmInputText form;
    form.txtFilled->setText("Default name");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.txtFilled->selectAll();
    QTest::keyClick(form.txtFilled, Qt::Key_Backspace);
    QCOMPARE(form.txtFilled->text(), QString());
    QTest::mouseClick(form.cmdOKButton, Qt::LeftButton);
    QVERIFY(form.mblnOK);
    QCOMPARE(form.mstrText, QString(""));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void tst_frmInputText::okKeepsTypedText()
{
    frmInputText form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.txtFilled, "Bench 4");
    QTest::mouseClick(form.cmdOKButton, Qt::LeftButton);
    QVERIFY(form.mblnOK);
    QCOMPARE(form.mstrText, QString("Bench 4"));
}

void tst_frmInputText::enterConfirms()
{
    frmInputText form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.txtFilled, "typed");
    QTest::keyClick(form.txtFilled, Qt::Key_Return);
    QVERIFY(form.mblnOK);
    QCOMPARE(form.mstrText, QString("typed"));
}

void tst_frmInputText::cancelCloseBoxAndEscapeLeaveNothingConfirmed_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel") << "cancel";
    QTest::newRow("close box") << "close";
    QTest::newRow("escape") << "escape";
}

void tst_frmInputText::cancelCloseBoxAndEscapeLeaveNothingConfirmed()
{
    QFETCH(QString, how);
    frmInputText form;
    form.txtFilled->setText("Default");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.txtFilled, " changed");
    if (how == "cancel")
        QTest::mouseClick(form.cmdCancelButton, Qt::LeftButton);
    else if (how == "close")
        QVERIFY(form.close());
    else
        QTest::keyClick(form.txtFilled, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.mblnOK);
    QVERIFY(form.mstrText.isEmpty());
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

void tst_frmInputText::inputTextShowsCaptionDefaultAndMaximum()
{
    WidgetPrompts widgets;
    setPrompts(&widgets);
    QString caption, text;
    int maxLength = 0;
    bool seen = false;
    WhileShown(
        [&](frmInputText* form) {
            caption = form->windowTitle();
            text = form->txtFilled->text();
            maxLength = form->txtFilled->maxLength();
            QTest::keyClick(form->txtFilled, Qt::Key_End);
            QTest::keyClicks(form->txtFilled, "-2");
            QTest::mouseClick(form->cmdOKButton, Qt::LeftButton);
        },
        &seen);
    QCOMPARE(InputText("New name", "Plan", 20), QString("Plan-2"));
    QVERIFY(seen);
    QCOMPARE(caption, QString("New name"));
    QCOMPARE(text, QString("Plan"));
    QCOMPARE(maxLength, 20);
}

void tst_frmInputText::inputTextGivesEmptyTextOnEmptiedOk()
{
    WidgetPrompts widgets;
    setPrompts(&widgets);
    bool seen = false;
    WhileShown(
        [](frmInputText* form) {
            form->txtFilled->selectAll();
            QTest::keyClick(form->txtFilled, Qt::Key_Delete);
            QTest::mouseClick(form->cmdOKButton, Qt::LeftButton);
        },
        &seen);
    const QString answer = InputText("Name", "Default", 10);
    QVERIFY(seen);
    QCOMPARE(answer, QString(""));

    // The same through the Prompts interface: an answer, not a cancel.
    WhileShown(
        [](frmInputText* form) {
            form->txtFilled->clear();
            QTest::mouseClick(form->cmdOKButton, Qt::LeftButton);
        },
        &seen);
    const std::optional<QString> direct = widgets.InputText("Name", "ignored prompt", "Default", 10);
    QVERIFY(seen);
    QVERIFY(direct.has_value());
    QCOMPARE(*direct, QString(""));
}

void tst_frmInputText::inputTextGivesDefaultOnCancelAndCloseBox_data()
{
    cancelCloseBoxAndEscapeLeaveNothingConfirmed_data();
}

void tst_frmInputText::inputTextGivesDefaultOnCancelAndCloseBox()
{
    QFETCH(QString, how);
    WidgetPrompts widgets;
    setPrompts(&widgets);
    bool seen = false;
    WhileShown(
        [how](frmInputText* form) {
            QTest::keyClicks(form->txtFilled, " typed");
            if (how == "cancel")
                QTest::mouseClick(form->cmdCancelButton, Qt::LeftButton);
            else if (how == "close")
                form->close();
            else
                QTest::keyClick(form->txtFilled, Qt::Key_Escape);
        },
        &seen);
    QCOMPARE(InputText("Name", "Default", 30), QString("Default"));
    QVERIFY(seen);

    WhileShown([](frmInputText* form) { form->close(); }, &seen);
    QVERIFY(!widgets.InputText("Name", QString(), "Default", 30).has_value());
    QVERIFY(seen);
}

void tst_frmInputText::maximumLengthHoldsForTypedText()
{
    frmInputText form;
    form.txtFilled->setMaxLength(5);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.txtFilled, "abcdefgh");
    QCOMPARE(form.txtFilled->text(), QString("abcde"));
    QTest::mouseClick(form.cmdOKButton, Qt::LeftButton);
    QCOMPARE(form.mstrText, QString("abcde"));
}

void tst_frmInputText::maximumLengthHoldsForPastedText()
{
    frmInputText form;
    form.txtFilled->setMaxLength(6);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.txtFilled, "ab");
    Paste(form.txtFilled, "cdefghijkl");
    QCOMPARE(form.txtFilled->text(), QString("abcdef"));
    Paste(form.txtFilled, "more");
    QCOMPARE(form.txtFilled->text(), QString("abcdef"));
}

void tst_frmInputText::pastedTextKeepsFirstLineOnly_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("newline") << "first line\nsecond line"
                             << "first line";
    QTest::newRow("crlf") << "first\r\nsecond\r\n"
                          << "first";
    QTest::newRow("cr") << "first\rsecond"
                        << "first";
    QTest::newRow("trailing newline") << "only line\n"
                                      << "only line";
    QTest::newRow("leading newline") << "\nsecond"
                                     << "";
    QTest::newRow("paragraph separator") << QString("one") + QChar(QChar::ParagraphSeparator) + "two"
                                         << "one";
    QTest::newRow("line separator") << QString("one") + QChar(QChar::LineSeparator) + "two"
                                    << "one";
    QTest::newRow("single line") << "one line"
                                 << "one line";
}

void tst_frmInputText::pastedTextKeepsFirstLineOnly()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    frmInputText form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Paste(form.txtFilled, pasted);
    QCOMPARE(form.txtFilled->text(), kept);
    QTest::keyClicks(form.txtFilled, "!");
    QCOMPARE(form.txtFilled->text(), kept + "!");
    QTest::mouseClick(form.cmdOKButton, Qt::LeftButton);
    QCOMPARE(form.mstrText, kept + "!");
}

void tst_frmInputText::pasteIntoTheMiddleKeepsTheRest()
{
    frmInputText form;
    form.txtFilled->setText("xy");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.txtFilled->setCursorPosition(1);
    Paste(form.txtFilled, "ab\r\ncd");
    QCOMPARE(form.txtFilled->text(), QString("xaby"));
    QCOMPARE(form.txtFilled->cursorPosition(), 3);
}

void tst_frmInputText::pasteOverSelectionWithMaximumLength()
{
    frmInputText form;
    form.txtFilled->setMaxLength(6);
    form.txtFilled->setText("hello");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.txtFilled->setSelection(1, 3);  // "ell"
    Paste(form.txtFilled, "ABCDEF\nGH");
    // Three characters replaced, so four fit: "ABCD" of the first line.
    QCOMPARE(form.txtFilled->text(), QString("hABCDo"));
    form.txtFilled->setSelection(1, 4);  // "ABCD"
    Paste(form.txtFilled, "X\nYZ");
    QCOMPARE(form.txtFilled->text(), QString("hXo"));
}

void tst_frmInputText::defaultTextKeepsFirstLineOnly()
{
    frmInputText form;
    form.txtFilled->setText("line one\nline two");
    QCOMPARE(form.txtFilled->text(), QString("line one"));
}

QTEST_MAIN(tst_frmInputText)
#include "tst_frmInputText.moc"
