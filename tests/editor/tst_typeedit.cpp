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

    bool show(const QString &html = QString())
    {
        window.show();
        QApplication::setActiveWindow(&window);
        if (!html.isNull())
            dock->setHtml(html);
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

// What only makes sense while a phrase is being edited.
QObjectList formattingControls(const TypeEdit *dock)
{
    return {dock->boldAction,      dock->underlineAction,   dock->italicAction,     dock->colorAction,
            dock->alignLeftAction, dock->alignCenterAction, dock->alignRightAction, dock->justifyAction,
            dock->fontCombo,       dock->comboSize};
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
    data->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
    if (withText)
        data->setText(QStringLiteral("clip"));
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
    void format_appliesToWordOrNextText_data();
    void format_appliesToWordOrNextText();
    void actions_followFocusClipboardAndVisibility_data();
    void actions_followFocusClipboardAndVisibility();
};

void TestTypeEdit::setHtml_loadsPhrase_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("calibri");
    QTest::addColumn<bool>("firstCharBold");

    QTest::newRow("html in capitals") << QStringLiteral("<HTML><BODY><p><b>Fish</b> &amp; chips</p></BODY></HTML>")
                                      << QStringLiteral("Fish & chips") << false << true;
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
    QTest::newRow("changed, tab") << QStringLiteral("x") << int(Qt::Key_Tab) << 1 << 1;
    QTest::newRow("unchanged, backtab") << QString() << int(Qt::Key_Backtab) << 1 << 0;
    QTest::newRow("changed, cleared") << QStringLiteral("x") << clearEdit << 1 << 1;
}

void TestTypeEdit::leaving_writesBackOnlyChanges()
{
    QFETCH(QString, typed);
    QFETCH(int, leaveBy);
    QFETCH(int, rounds);
    QFETCH(int, writes);

    EditorWindow w;
    QVERIFY(w.show(QStringLiteral("hello")));
    QSignalSpy spy(w.editor, &HtmlEdit::writeHtml);

    for (int round = 0; round < rounds; ++round) {
        QVERIFY(w.focus(w.editor));
        if (round == 0)
            QTest::keyClicks(w.editor, typed);
        if (leaveBy == -1)
            w.dock->clearEdit();
        else if (leaveBy == 0)
            QVERIFY(w.focus(w.other));
        else
            QTest::keyClick(w.editor, Qt::Key(leaveBy),
                            leaveBy == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
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
        for (const QObject *control : formattingControls(w.dock))
            QVERIFY2(!control->property("enabled").toBool(), qPrintable(control->property("text").toString()));
    } else {
        QCOMPARE(w.editor->toPlainText(), plain);
    }
}

void TestTypeEdit::format_appliesToWordOrNextText_data()
{
    QTest::addColumn<QString>("size"); // typed into the size box; bold when empty
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");

    // In "hello world ": "hello" is 0-4, "world" 6-10, the last space 11.
    QTest::newRow("bold inside a word") << QString() << 2 << 0 << 5;
    QTest::newRow("bold at the start of a word") << QString() << 6 << 6 << 11;
    QTest::newRow("bold after the last space") << QString() << 12 << -1 << -1;
    QTest::newRow("fractional size") << QStringLiteral("10.5") << 2 << 0 << 5;
    QTest::newRow("size zero") << QStringLiteral("0") << 2 << -1 << -1;
    QTest::newRow("size infinite") << QStringLiteral("inf") << 2 << -1 << -1;
}

void TestTypeEdit::format_appliesToWordOrNextText()
{
    QFETCH(QString, size);
    QFETCH(int, position);
    QFETCH(int, from);
    QFETCH(int, to);

    EditorWindow w;
    QVERIFY(w.show(QStringLiteral("hello world ")));
    QTextCursor cursor = w.editor->textCursor();
    cursor.setPosition(position);
    w.editor->setTextCursor(cursor);
    const QString htmlBefore = w.editor->toHtml();
    if (size.isEmpty()) {
        w.dock->boldAction->trigger();
    } else {
        QLineEdit *sizeEdit = w.dock->comboSize->lineEdit();
        QVERIFY(w.focus(sizeEdit));
        sizeEdit->clear();
        QTest::keyClicks(sizeEdit, size);
        QTest::keyClick(sizeEdit, Qt::Key_Return);
    }

    QVERIFY(w.editor->hasFocus());
    for (int i = 0; i < 12; ++i) {
        const QTextCharFormat format = formatAt(w.editor->document(), i);
        const bool applied = size.isEmpty() ? format.fontWeight() == QFont::Bold
                                            : format.hasProperty(QTextFormat::FontPointSize) &&
                                                  format.fontPointSize() == size.toDouble();
        QVERIFY2(applied == (i >= from && i < to), qPrintable(QString::number(i)));
    }
    if (!size.isEmpty() && from < 0) {
        QCOMPARE(w.editor->toHtml(), htmlBefore);
        QVERIFY(!w.editor->document()->isModified());
        QVERIFY(!w.editor->currentCharFormat().hasProperty(QTextFormat::FontPointSize));
    } else if (size.isEmpty()) {
        QTest::keyClicks(w.editor, QStringLiteral("Z"));
        QCOMPARE(w.editor->toPlainText().at(position), QLatin1Char('Z'));
        QCOMPARE(formatAt(w.editor->document(), position).fontWeight(), int(QFont::Bold));
    }
}

void TestTypeEdit::actions_followFocusClipboardAndVisibility_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("formatting");
    QTest::addColumn<bool>("paste");

    // Steps: load a phrase, focus the editor ("edit") or the line edit ("away"), put data with
    // or without text on the clipboard, hide or show the dock. A clipboard change with the
    // editor focused is checked in the real main window.
    QTest::newRow("clipboard text while away") << "load edit away text" << false << false;
    QTest::newRow("back after clipboard text") << "load edit away text edit" << true << true;
    QTest::newRow("back after clipboard without text") << "load edit away notext edit" << true << false;
    // Hiding the dock disables everything; showing it enables the formatting only.
    QTest::newRow("hidden, editor focused") << "text load edit hide" << false << false;
    QTest::newRow("shown, no phrase") << "text hide show" << true << false;
    QTest::newRow("shown, editor focused") << "text load edit hide show" << true << false;
}

void TestTypeEdit::actions_followFocusClipboardAndVisibility()
{
    QFETCH(QString, steps);
    QFETCH(bool, formatting);
    QFETCH(bool, paste);

    EditorWindow w;
    QVERIFY(w.show());
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("load"))
            w.dock->setHtml(QStringLiteral("hello"));
        else if (step == QLatin1String("edit") || step == QLatin1String("away"))
            QVERIFY(w.focus(step == QLatin1String("edit") ? static_cast<QWidget *>(w.editor) : w.other));
        else if (step == QLatin1String("text") || step == QLatin1String("notext"))
            putOnClipboard(step == QLatin1String("text"));
        else
            w.dock->setVisible(step == QLatin1String("show"));
    }

    for (const QObject *control : formattingControls(w.dock))
        QVERIFY2(control->property("enabled").toBool() == formatting, qPrintable(control->property("text").toString()));
    QCOMPARE(w.dock->pasteAction->isEnabled(), paste);
    QVERIFY(!w.dock->cutAction->isEnabled());
}

QTEST_MAIN(TestTypeEdit)
#include "tst_typeedit.moc"
