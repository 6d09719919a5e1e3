#include "../common/fifowatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"
#include "exchange/htmlsanitizer.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextBlock>
#include <QtTest>

enum class Leave
{
    Focus,
    Tab,
    Clear,
    Hide,
};
Q_DECLARE_METATYPE(Leave)

enum class Format
{
    // The toolbar's toggles first, in the order format() lists them.
    Bold,
    Italic,
    Underline,
    Size,
    UnshowableSize,
    Family,
};
Q_DECLARE_METATYPE(Format)

// The dock in a window as the main window lays it out, with a line edit to take the focus.
class TestTypeEdit : public QObject
{
    Q_OBJECT

    QScopedPointer<QMainWindow> window;
    QLineEdit *other = nullptr;
    TypeEdit *dock = nullptr;
    HtmlEdit *editor = nullptr;
    static bool focus(QWidget *widget) { return widget->setFocus(), widget->hasFocus(); }

private slots:
    void init()
    {
        window.reset(new QMainWindow);
        window->setCentralWidget(other = new QLineEdit);
        window->addDockWidget(Qt::BottomDockWidgetArea, dock = new TypeEdit);
        editor = dock->editor;
        dock->connectSignals();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        dock->setHtml(QStringLiteral("<html><b>bold</b> words</html>")); // a format the next phrase must not take on
    }

    void writeBack_followsItsResult_data()
    {
        QTest::addColumn<int>("result"); // -1: nobody answers, 0: refused, 1: stored
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("freshReads");
        QTest::newRow("nobody answers: written at every focus loss") << -1 << 2 << 1;
        QTest::newRow("stored: nothing left to write") << 1 << 1 << 2;
        QTest::newRow("refused: still unsaved") << 0 << 2 << 1;
    }

    // Only text that differs from what the file was last known to hold is written back; an
    // editor holding nothing unsaved asks for its phrase afresh when it is entered.
    void writeBack_followsItsResult()
    {
        QFETCH(int, result);
        dock->setHtml(QStringLiteral("hello"));
        QSignalSpy writes(editor, &HtmlEdit::writeHtml);
        QSignalSpy freshReads(editor, &HtmlEdit::enteredUnchanged);
        connect(editor, &HtmlEdit::writeHtml, this, [this, result] {
            if (result >= 0)
                editor->writeResult(result == 1);
        });
        QVERIFY(focus(editor));
        QTest::keyClicks(editor, QStringLiteral("x"));
        QVERIFY(focus(other));
        QVERIFY(focus(editor));
        QVERIFY(focus(other));
        QTEST(int(writes.count()), "writes");
        QTEST(int(freshReads.count()), "freshReads");
        // Typing the change away again leaves nothing to write.
        dock->setHtml(QStringLiteral("hello"));
        QVERIFY(focus(editor));
        QTest::keyClicks(editor, QStringLiteral("x"));
        QTest::keyClick(editor, Qt::Key_Backspace);
        QVERIFY(focus(other));
        QTEST(int(writes.count()), "writes");
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<bool>("change");
        QTest::addColumn<Leave>("leaveBy");
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("writes");
        const QString rich = QStringLiteral("<HTML><BODY>hello</BODY></HTML>");
        QTest::newRow("unchanged") << rich << false << Leave::Focus << 1 << 0;
        QTest::newRow("changed, left twice") << rich << true << Leave::Focus << 2 << 2;
        QTest::newRow("plain, changed, Tab") << "hello" << true << Leave::Tab << 1 << 1;
        QTest::newRow("plain, changed, cleared") << "hello" << true << Leave::Clear << 1 << 1;
        QTest::newRow("plain, changed, dock hidden") << "hello" << true << Leave::Hide << 1 << 1;
    }

    // A phrase is written back whenever the editor loses the focus after a change.
    void leaving()
    {
        QFETCH(QString, phrase);
        QFETCH(bool, change);
        QFETCH(Leave, leaveBy);
        QFETCH(int, times);
        QFETCH(int, writes);
        dock->setHtml(phrase);
        // Shown with nothing to undo; plain text in Calibri.
        QCOMPARE(editor->toPlainText(), QStringLiteral("hello"));
        QVERIFY(!dock->undoAction->isEnabled());
        QCOMPARE(editor->font().family() == QLatin1String("Calibri"), phrase == QLatin1String("hello"));
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        QSignalSpy spy(editor, &HtmlEdit::writeHtml);
        for (int time = 0; time < times; ++time) {
            QVERIFY(focus(editor));
            QVERIFY(dock->italicAction->isEnabled());
            QVERIFY(dock->pasteAction->isEnabled());
            QVERIFY(!dock->cutAction->isEnabled());
            QTest::keyClicks(editor, change && spy.isEmpty() ? QStringLiteral("x") : QString());
            if (leaveBy == Leave::Tab)
                QTest::keyClick(editor, Qt::Key_Tab);
            else if (leaveBy == Leave::Clear)
                dock->clearEdit();
            else if (leaveBy == Leave::Hide)
                dock->hide();
            else
                QVERIFY(focus(other));
            QVERIFY(!editor->hasFocus());
        }
        QCOMPARE(spy.count(), writes);
        for (const QList<QVariant> &args : qAsConst(spy)) {
            QVERIFY(args.at(0).toString().startsWith(QLatin1Char('<')));
            QCOMPARE(args.at(1).toString(), QStringLiteral("xhello"));
            QVERIFY(!args.at(0).toString().contains(QLatin1String("font-weight:600")));
        }
        // Clearing empties the editor and hiding the dock leaves it, both without formatting or pasting.
        const bool on = leaveBy == Leave::Focus || leaveBy == Leave::Tab;
        QCOMPARE(editor->document()->isEmpty(), leaveBy == Leave::Clear);
        QCOMPARE(dock->fontCombo->isEnabled(), on);
        QCOMPARE(dock->boldAction->isEnabled(), on);
        QCOMPARE(dock->pasteAction->isEnabled(), false);
    }

    void format_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<int>("position"); // of the cursor in "hello world ", where a Z is typed after the choice
        QTest::addColumn<int>("first");    // the characters then in the format; -1 for none
        QTest::addColumn<int>("last");
        QTest::newRow("bold inside a word") << Format::Bold << 2 << 0 << 5;
        QTest::newRow("bold after the last space") << Format::Bold << 12 << 12 << 12;
        QTest::newRow("italic inside a word") << Format::Italic << 8 << 6 << 11;
        QTest::newRow("underline at the start of a word") << Format::Underline << 6 << 6 << 11;
        QTest::newRow("size at the start of a word") << Format::Size << 6 << 6 << 11;
        QTest::newRow("size that cannot be shown") << Format::UnshowableSize << 2 << -1 << -1;
        QTest::newRow("font inside a word") << Format::Family << 2 << 0 << 5;
    }

    // A format chosen with no selection takes the word under the cursor and what is typed next;
    // the toolbar then shows the format where the cursor is.
    void format()
    {
        QFETCH(Format, format);
        QFETCH(int, position);
        QFETCH(int, first);
        QFETCH(int, last);
        const QString family = QStringLiteral("Quillary Test Family");
        dock->setHtml(QStringLiteral("hello world "));
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        editor->setTextCursor(cursor);
        // The size and font as typed or picked.
        const QList<QAction *> toggles{dock->boldAction, dock->italicAction, dock->underlineAction};
        QAction *toggle = toggles.value(int(format));
        if (toggle)
            toggle->trigger();
        else if (format == Format::Family)
            dock->fontCombo->textActivated(family);
        else
            dock->comboSize->textActivated(format == Format::Size ? QStringLiteral("10.5") : QStringLiteral("inf"));
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("Z"));
        if (toggle)
            QCOMPARE(toggle->isChecked(), first >= 0);
        for (int i = 0; i <= 12; ++i) {
            cursor.setPosition(i + 1); // the format of the character before the position
            const QTextCharFormat f = cursor.charFormat();
            const bool has = format == Format::Bold        ? f.fontWeight() == QFont::Bold
                             : format == Format::Italic    ? f.fontItalic()
                             : format == Format::Underline ? f.fontUnderline()
                             : format == Format::Family    ? f.fontFamily() == family
                                                           : f.hasProperty(QTextFormat::FontPointSize);
            QVERIFY2(has == (i >= first && i <= last), qPrintable(QString::number(i)));
        }
        // Back on a plain character, the toggle shows it plain again.
        cursor.setPosition(first == 0 ? 13 : 1);
        editor->setTextCursor(cursor);
        if (toggle)
            QVERIFY(!toggle->isChecked());
    }

    void align_data()
    {
        QTest::addColumn<int>("action"); // left, centre, right, justify
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << 0 << int(Qt::AlignLeft | Qt::AlignAbsolute);
        QTest::newRow("centre") << 1 << int(Qt::AlignHCenter);
        QTest::newRow("right") << 2 << int(Qt::AlignRight | Qt::AlignAbsolute);
        QTest::newRow("justify") << 3 << int(Qt::AlignJustify);
    }

    // An alignment takes the cursor's paragraph only, and the toolbar shows it whenever the
    // cursor comes back there.
    void align()
    {
        QFETCH(int, action);
        QFETCH(int, alignment);
        const QList<QAction *> actions{dock->alignLeftAction, dock->alignCenterAction, dock->alignRightAction,
                                       dock->justifyAction};
        dock->setHtml(QStringLiteral("<p align=\"center\">one</p><p align=\"right\">two</p>"));
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(1);
        editor->setTextCursor(cursor);
        const Qt::Alignment second = editor->document()->lastBlock().blockFormat().alignment();
        actions.at(action)->trigger();
        QVERIFY(editor->hasFocus());
        QCOMPARE(int(editor->document()->firstBlock().blockFormat().alignment()), alignment);
        QCOMPARE(editor->document()->lastBlock().blockFormat().alignment(), second);
        cursor.setPosition(6);
        editor->setTextCursor(cursor);
        QVERIFY(dock->alignRightAction->isChecked());
        cursor.setPosition(1);
        editor->setTextCursor(cursor);
        QVERIFY(actions.at(action)->isChecked());
    }

    void unshownPhrase_showsNoteReadOnly_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("shown"); // part of what the editor shows instead
        QTest::newRow("too long") << QString(300000, QLatin1Char('a')) << QStringLiteral("0.6 MB");
        const int depth = HtmlCaps::tableDepth + 1;
        QTest::newRow("too deep") << QStringLiteral("<table><tr><td>").repeated(depth) + QStringLiteral("deep text")
                                  << QStringLiteral("\n\ndeep text");
    }

    // A phrase too long or too deep to lay out shows a note instead, and is never written back.
    void unshownPhrase_showsNoteReadOnly()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, shown);
        for (const bool readOnlyFile : {false, true}) {
            dock->setReadOnly(readOnlyFile);
            dock->setHtml(phrase);
            QSignalSpy spy(editor, &HtmlEdit::writeHtml);
            QVERIFY(focus(editor));
            QVERIFY(editor->isReadOnly());
            QVERIFY(editor->toPlainText().contains(shown));
            QTest::keyClicks(editor, QStringLiteral("x"));
            QVERIFY(focus(other));
            QCOMPARE(spy.count(), 0);
            dock->setHtml(QStringLiteral("short"));
            QCOMPARE(editor->isReadOnly(), readOnlyFile);
        }
    }

    void resources_openNoFile_data()
    {
        QTest::addColumn<QString>("html"); // naming the file by {url} or {path}
        QTest::newRow("file: image") << QStringLiteral("<img src=\"{url}\">");
        QTest::newRow("image path") << QStringLiteral("<img src=\"{path}\" width=\"9\" height=\"9\">");
        QTest::newRow("style url") << QStringLiteral("<p style=\"background-image:url({path})\">x</p>");
        QTest::newRow("style sheet") << QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"{url}\">");
    }

    // Only images the phrase holds show: a FIFO that the phrase names is never opened.
    void resources_openNoFile()
    {
        QFETCH(QString, html);
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        FifoWatch watch(fifo);
        QVERIFY(watch.isMade());
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(image.save(&buffer, "PNG"));
        const QString embedded = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
        dock->setHtml(QStringLiteral("<html><img src=\"%1\">").arg(embedded) +
                      html.replace(QLatin1String("{url}"), QUrl::fromLocalFile(fifo).toString())
                          .replace(QLatin1String("{path}"), fifo) +
                      QStringLiteral("</html>"));
        editor->grab();
        QVERIFY(!watch.wasOpened());
        QCOMPARE(editor->document()->resource(QTextDocument::ImageResource, QUrl(embedded)).value<QPixmap>().size(),
                 QSize(3, 2));
    }
};

QTEST_MAIN(TestTypeEdit)
#include "tst_typeedit.moc"
