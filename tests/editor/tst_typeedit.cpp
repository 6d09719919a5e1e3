#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

namespace {

// The dock laid out as the main window lays it out, with a line edit to take the focus.
class EditorWindow
{
public:
    EditorWindow()
    {
        window.setCentralWidget(other);
        window.addDockWidget(Qt::BottomDockWidgetArea, dock);
        QToolBar *fontBar = window.addToolBar(QStringLiteral("FontToolBar"));
        fontBar->addWidget(dock->fontCombo);
        fontBar->addWidget(dock->comboSize);
        dock->connectSignals();
        QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, dock,
                         [this] { dock->enableChanged(dock->editor->hasFocus()); });
    }

    bool show()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    bool focus(QWidget *widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        return widget->hasFocus();
    }

    QMainWindow window;
    QLineEdit *other = new QLineEdit(&window);
    TypeEdit *dock = new TypeEdit(&window);
    HtmlEdit *editor = dock->editor;
};

QList<QAction *> formattingActions(const TypeEdit *dock)
{
    return {dock->boldAction,      dock->underlineAction,   dock->italicAction,     dock->colorAction,
            dock->alignLeftAction, dock->alignCenterAction, dock->alignRightAction, dock->justifyAction};
}

// Format of the character at position, as the document stores it.
QTextCharFormat formatAt(QTextDocument *document, int position)
{
    QTextCursor cursor(document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

void putOnClipboard(bool withText)
{
    auto *data = new QMimeData;
    if (withText)
        data->setText(QStringLiteral("clip"));
    else
        data->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace

class TestTypeEdit : public QObject
{
    Q_OBJECT

private slots:
    void setHtml_loadsPhrase_data();
    void setHtml_loadsPhrase();
    void leaving_writesBackOnlyChanges_data();
    void leaving_writesBackOnlyChanges();
    void textBold_formatsWordOrNextText_data();
    void textBold_formatsWordOrNextText();
    void typedSize_appliesOnlyPositiveNumbers_data();
    void typedSize_appliesOnlyPositiveNumbers();
    void clipboardChange_followsFocus_data();
    void clipboardChange_followsFocus();
    void dockVisibility_togglesActions_data();
    void dockVisibility_togglesActions();
};

void TestTypeEdit::setHtml_loadsPhrase_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("calibri");
    QTest::addColumn<bool>("firstCharBold");

    QTest::newRow("html") << QStringLiteral("<html><body><p><b>Dear</b> Sir</p></body></html>")
                          << QStringLiteral("Dear Sir") << false << true;
    QTest::newRow("html in capitals") << QStringLiteral("<HTML><BODY>Fish &amp; chips</BODY></HTML>")
                                      << QStringLiteral("Fish & chips") << false << false;
    QTest::newRow("plain") << QStringLiteral("Fish &amp; <chips>") << QStringLiteral("Fish &amp; <chips>") << true
                           << false;
    QTest::newRow("leading bold tag") << QStringLiteral("<b>Dear</b> Sir") << QStringLiteral("Dear Sir") << true
                                      << true;
}

void TestTypeEdit::setHtml_loadsPhrase()
{
    QFETCH(QString, phrase);
    QFETCH(QString, plain);
    QFETCH(bool, calibri);
    QFETCH(bool, firstCharBold);

    EditorWindow w;
    QVERIFY(w.show());
    // Leave an editing history behind that loading must drop.
    w.dock->setHtml(QStringLiteral("<html><body>earlier</body></html>"));
    QVERIFY(w.focus(w.editor));
    QTest::keyClicks(w.editor, QStringLiteral("xyz"));
    QTest::keyClick(w.editor, Qt::Key_Left, Qt::ShiftModifier);
    const QFont fontBefore = w.editor->font();
    QSignalSpy writes(w.editor, &HtmlEdit::writeHtml);

    w.dock->setHtml(phrase);

    QCOMPARE(w.editor->toPlainText(), plain);
    QCOMPARE(formatAt(w.editor->document(), 0).fontWeight() == QFont::Bold, firstCharBold);
    QCOMPARE(w.editor->textCursor().position(), 0);
    QVERIFY(!w.editor->textCursor().hasSelection());
    QVERIFY(!w.editor->document()->isModified());
    QVERIFY(!w.editor->document()->isUndoAvailable());
    QVERIFY(!w.dock->undoAction->isEnabled());
    QCOMPARE(writes.count(), 0);
    if (calibri) {
        QCOMPARE(w.editor->font().family(), QStringLiteral("Calibri"));
        QCOMPARE(w.editor->font().pointSize(), 12);
        if (QFontDatabase::standardSizes().contains(12))
            QCOMPARE(w.dock->comboSize->currentText(), QStringLiteral("12"));
    } else {
        QCOMPARE(w.editor->font(), fontBefore);
    }
}

void TestTypeEdit::leaving_writesBackOnlyChanges_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leaveBy");
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("writes");

    const int focusOther = 0;
    const int clearEdit = -1;
    QTest::newRow("unchanged") << QString() << focusOther << 1 << 0;
    QTest::newRow("one character") << QStringLiteral("x") << focusOther << 1 << 1;
    QTest::newRow("left twice") << QStringLiteral("x") << focusOther << 2 << 2;
    QTest::newRow("unchanged, tab") << QString() << int(Qt::Key_Tab) << 1 << 0;
    QTest::newRow("changed, tab") << QStringLiteral("x") << int(Qt::Key_Tab) << 1 << 1;
    QTest::newRow("changed, backtab") << QStringLiteral("x") << int(Qt::Key_Backtab) << 1 << 1;
    QTest::newRow("unchanged, cleared") << QString() << clearEdit << 1 << 0;
    QTest::newRow("changed, cleared") << QStringLiteral("x") << clearEdit << 1 << 1;
}

void TestTypeEdit::leaving_writesBackOnlyChanges()
{
    QFETCH(QString, typed);
    QFETCH(int, leaveBy);
    QFETCH(int, rounds);
    QFETCH(int, writes);

    EditorWindow w;
    QVERIFY(w.show());
    w.dock->setHtml(QStringLiteral("hello"));
    QSignalSpy spy(w.editor, &HtmlEdit::writeHtml);

    for (int round = 0; round < rounds; ++round) {
        QVERIFY(w.focus(w.editor));
        if (round == 0)
            QTest::keyClicks(w.editor, typed);
        if (leaveBy == -1)
            w.dock->clearEdit();
        else if (leaveBy == Qt::Key_Backtab)
            QTest::keyClick(w.editor, Qt::Key_Backtab, Qt::ShiftModifier);
        else if (leaveBy == Qt::Key_Tab)
            QTest::keyClick(w.editor, Qt::Key_Tab);
        else
            QVERIFY(w.focus(w.other));
        QVERIFY(!w.editor->hasFocus());
    }

    const QString plain = typed + QStringLiteral("hello");
    QCOMPARE(spy.count(), writes);
    for (const QList<QVariant> &args : qAsConst(spy)) {
        QVERIFY(args.at(0).toString().startsWith(QStringLiteral("<!DOCTYPE HTML")));
        QVERIFY(args.at(0).toString().contains(plain));
        QCOMPARE(args.at(1).toString(), plain);
    }
    if (leaveBy == -1) {
        QVERIFY(w.editor->document()->isEmpty());
        QVERIFY(!w.editor->isEnabled());
        for (const QAction *action : formattingActions(w.dock))
            QVERIFY(!action->isEnabled());
    } else {
        QCOMPARE(w.editor->toPlainText(), plain);
    }
}

void TestTypeEdit::textBold_formatsWordOrNextText_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("boldFrom");
    QTest::addColumn<int>("boldTo");

    // In "hello world ": "hello" is 0-4, "world" 6-10, the last space 11.
    QTest::newRow("inside a word") << 2 << 0 << 5;
    QTest::newRow("start of a word") << 6 << 6 << 11;
    QTest::newRow("after the last space") << 12 << -1 << -1;
}

void TestTypeEdit::textBold_formatsWordOrNextText()
{
    QFETCH(int, position);
    QFETCH(int, boldFrom);
    QFETCH(int, boldTo);

    EditorWindow w;
    QVERIFY(w.show());
    w.dock->setHtml(QStringLiteral("hello world "));
    QTextCursor cursor = w.editor->textCursor();
    cursor.setPosition(position);
    w.editor->setTextCursor(cursor);

    w.dock->boldAction->trigger();

    QVERIFY(w.editor->hasFocus());
    for (int i = 0; i < 12; ++i) {
        const bool bold = formatAt(w.editor->document(), i).fontWeight() == QFont::Bold;
        QVERIFY2(bold == (i >= boldFrom && i < boldTo), qPrintable(QString::number(i)));
    }
    QTest::keyClicks(w.editor, QStringLiteral("Z"));
    QCOMPARE(w.editor->toPlainText().at(position), QLatin1Char('Z'));
    QCOMPARE(formatAt(w.editor->document(), position).fontWeight(), int(QFont::Bold));
}

void TestTypeEdit::typedSize_appliesOnlyPositiveNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("applied");

    QTest::newRow("zero") << QStringLiteral("0") << 0.0;
    QTest::newRow("negative") << QStringLiteral("-4") << 0.0;
    QTest::newRow("no number") << QStringLiteral("big") << 0.0;
    QTest::newRow("infinite") << QStringLiteral("inf") << 0.0;
    QTest::newRow("standard size") << QStringLiteral("18") << 18.0;
    QTest::newRow("fraction") << QStringLiteral("10.5") << 10.5;
}

void TestTypeEdit::typedSize_appliesOnlyPositiveNumbers()
{
    QFETCH(QString, typed);
    QFETCH(double, applied);

    EditorWindow w;
    QVERIFY(w.show());
    w.dock->setHtml(QStringLiteral("hello world"));
    const QString htmlBefore = w.editor->toHtml();
    QLineEdit *sizeEdit = w.dock->comboSize->lineEdit();
    QVERIFY(w.focus(sizeEdit));
    sizeEdit->clear();

    QTest::keyClicks(sizeEdit, typed);
    QTest::keyClick(sizeEdit, Qt::Key_Return);

    QVERIFY(w.editor->hasFocus());
    if (applied > 0) {
        QCOMPARE(formatAt(w.editor->document(), 0).fontPointSize(), applied);
        QCOMPARE(formatAt(w.editor->document(), 4).fontPointSize(), applied);
        QVERIFY(formatAt(w.editor->document(), 6).fontPointSize() != applied);
    } else {
        QCOMPARE(w.editor->toHtml(), htmlBefore);
        QVERIFY(!w.editor->document()->isModified());
        QVERIFY(!w.editor->currentCharFormat().hasProperty(QTextFormat::FontPointSize));
    }
}

void TestTypeEdit::clipboardChange_followsFocus_data()
{
    QTest::addColumn<bool>("clipText");
    QTest::addColumn<bool>("focusedAtChange");
    QTest::addColumn<bool>("refocus");
    QTest::addColumn<bool>("formatting");
    QTest::addColumn<bool>("paste");

    QTest::newRow("text, focused") << true << true << false << true << true;
    QTest::newRow("no text, focused") << false << true << false << true << false;
    QTest::newRow("text, unfocused") << true << false << false << false << false;
    QTest::newRow("text, unfocused, back") << true << false << true << true << true;
    QTest::newRow("no text, unfocused, back") << false << false << true << true << false;
}

void TestTypeEdit::clipboardChange_followsFocus()
{
    QFETCH(bool, clipText);
    QFETCH(bool, focusedAtChange);
    QFETCH(bool, refocus);
    QFETCH(bool, formatting);
    QFETCH(bool, paste);

    EditorWindow w;
    QVERIFY(w.show());
    w.dock->setHtml(QStringLiteral("hello"));
    QVERIFY(w.focus(w.editor));
    if (!focusedAtChange)
        QVERIFY(w.focus(w.other));

    putOnClipboard(clipText);
    if (refocus)
        QVERIFY(w.focus(w.editor));

    for (const QAction *action : formattingActions(w.dock))
        QVERIFY2(action->isEnabled() == formatting, qPrintable(action->text()));
    QCOMPARE(w.dock->fontCombo->isEnabled(), formatting);
    QCOMPARE(w.dock->comboSize->isEnabled(), formatting);
    QCOMPARE(w.dock->pasteAction->isEnabled(), paste);
    QVERIFY(!w.dock->cutAction->isEnabled());
}

void TestTypeEdit::dockVisibility_togglesActions_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("focused");

    QTest::newRow("no phrase") << false << false;
    QTest::newRow("phrase") << true << false;
    QTest::newRow("phrase, editor focused") << true << true;
}

void TestTypeEdit::dockVisibility_togglesActions()
{
    QFETCH(bool, loaded);
    QFETCH(bool, focused);

    EditorWindow w;
    QVERIFY(w.show());
    putOnClipboard(true);
    if (loaded)
        w.dock->setHtml(QStringLiteral("hello"));
    if (focused)
        QVERIFY(w.focus(w.editor));

    w.dock->hide();
    for (const QAction *action : formattingActions(w.dock) + QList<QAction *>{w.dock->pasteAction})
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    QVERIFY(!w.dock->comboSize->isEnabled());

    w.dock->show();
    for (const QAction *action : formattingActions(w.dock))
        QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    QVERIFY(w.dock->fontCombo->isEnabled());
    QVERIFY(w.dock->comboSize->isEnabled());
    QVERIFY(!w.dock->pasteAction->isEnabled());
}

QTEST_MAIN(TestTypeEdit)
#include "tst_typeedit.moc"
