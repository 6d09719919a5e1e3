#include "../common/fifowatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"
#include "exchange/htmlsanitizer.h"

#include <QtTest>
#include <QtWidgets>

using DockAction = QAction *TypeEdit::*;
Q_DECLARE_METATYPE(DockAction)
using DockSlot = void (TypeEdit::*)();
Q_DECLARE_METATYPE(DockSlot)

// The dock in a window as the main window lays it out, with a line edit to take the focus.
class TestTypeEdit : public QObject
{
    Q_OBJECT

    QScopedPointer<QMainWindow> window;
    QLineEdit *other = nullptr;
    TypeEdit *dock = nullptr;
    HtmlEdit *editor = nullptr;
    static bool focus(QWidget *widget) { return widget->setFocus(), widget->hasFocus(); }
    void moveCursor(int position)
    {
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        editor->setTextCursor(cursor);
    }

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

    void leaving_data()
    {
        QTest::addColumn<bool>("rich");
        QTest::addColumn<QString>("typed");    // \b: Backspace
        QTest::addColumn<DockSlot>("leaveBy"); // or, with none, Tab
        QTest::addColumn<bool>("stored");      // the answer to a write
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("freshReads");
        QTest::newRow("stored: nothing left to write") << true << "x" << DockSlot() << true << 1 << 2;
        QTest::newRow("refused: written at every focus loss") << false << "x" << DockSlot() << false << 2 << 1;
        QTest::newRow("change typed away") << false << "x\b" << DockSlot() << false << 0 << 2;
        QTest::newRow("cleared") << false << "x" << DockSlot(&TypeEdit::clearEdit) << false << 1 << 1;
        QTest::newRow("dock hidden") << false << "x" << DockSlot(&TypeEdit::hide) << false << 1 << 1;
    }

    // A phrase is written back whenever the editor loses the focus holding text that differs
    // from what the file was last known to hold; an editor holding nothing unsaved asks for
    // its phrase afresh when it is entered. Clearing empties the editor and hiding the dock
    // leaves it, both without formatting or pasting.
    void leaving()
    {
        QFETCH(bool, rich);
        QFETCH(QString, typed);
        QFETCH(DockSlot, leaveBy);
        QFETCH(bool, stored);
        dock->setHtml(rich ? QStringLiteral("<HTML><BODY>hello</BODY></HTML>") : QStringLiteral("hello"));
        QCOMPARE(editor->font().family() == QLatin1String("Calibri"), !rich);
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        QSignalSpy writes(editor, &HtmlEdit::writeHtml);
        QSignalSpy freshReads(editor, &HtmlEdit::enteredUnchanged);
        QVERIFY(focus(editor));
        QVERIFY(dock->pasteAction->isEnabled());
        QTest::keyClicks(editor, typed);
        if (leaveBy)
            (dock->*leaveBy)();
        else
            QTest::keyClick(editor, Qt::Key_Tab);
        editor->writeResult(stored);
        if (!leaveBy) { // back in and out again
            QVERIFY(focus(editor));
            QVERIFY(focus(other));
        }
        QTEST(int(writes.count()), "writes");
        QTEST(int(freshReads.count()), "freshReads");
        for (const QList<QVariant> &args : qAsConst(writes))
            QCOMPARE(args.at(1).toString(), QStringLiteral("xhello"));
        QCOMPARE(editor->document()->isEmpty(), leaveBy == DockSlot(&TypeEdit::clearEdit));
        QCOMPARE(dock->fontCombo->isEnabled(), !leaveBy);
        QCOMPARE(dock->boldAction->isEnabled(), !leaveBy);
        QVERIFY(!dock->pasteAction->isEnabled());
    }

    void format_data()
    {
        QTest::addColumn<DockAction>("toggle");
        QTest::addColumn<QString>("size");   // typed when there is no toggle; with none either, a font is picked
        QTest::addColumn<int>("position");   // of the cursor in "hello world ", where a Z is typed after the choice
        QTest::addColumn<QString>("stored"); // the paragraph then, as the phrase is stored
        QTest::newRow("bold after the last space")
            << &TypeEdit::boldAction << QString() << 12 << R"(hello world <span style=" font-weight:600;">Z</span>)";
        QTest::newRow("italic inside a word")
            << &TypeEdit::italicAction << QString() << 9 << R"(hello <span style=" font-style:italic;">worZld</span> )";
        QTest::newRow("underline at the start of a word")
            << &TypeEdit::underlineAction << QString() << 6
            << R"(hello <span style=" text-decoration: underline;">Zworld</span> )";
        QTest::newRow("size at the start of a word")
            << DockAction() << "10.5" << 6 << R"(hello <span style=" font-size:10.5pt;">Zworld</span> )";
        QTest::newRow("size that cannot be shown") << DockAction() << "inf" << 2 << "heZllo world ";
        QTest::newRow("font inside a word")
            << DockAction() << QString() << 2
            << R"(<span style=" font-family:'Quillary Test Family';">heZllo</span> world )";
    }

    // A format chosen with no selection takes the word under the cursor and what is typed next;
    // the toggles follow the cursor.
    void format()
    {
        QFETCH(DockAction, toggle);
        QFETCH(QString, size);
        QFETCH(int, position);
        dock->setHtml(QStringLiteral("hello world "));
        moveCursor(position);
        // The size and font as typed or picked.
        if (toggle)
            (dock->*toggle)->trigger();
        else if (size.isEmpty())
            dock->fontCombo->textActivated(QStringLiteral("Quillary Test Family"));
        else
            dock->comboSize->textActivated(size);
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("Z"));
        if (toggle)
            QVERIFY((dock->*toggle)->isChecked());
        QTEST(QRegularExpression(QStringLiteral("<p [^>]*>(.*)</p>")).match(editor->toHtml()).captured(1), "stored");
        moveCursor(1); // back on a character the toggles leave plain
        if (toggle)
            QVERIFY(!(dock->*toggle)->isChecked());
    }

    void align_data()
    {
        QTest::addColumn<DockAction>("action");
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << &TypeEdit::alignLeftAction << int(Qt::AlignLeft | Qt::AlignAbsolute);
        QTest::newRow("centre") << &TypeEdit::alignCenterAction << int(Qt::AlignHCenter);
        QTest::newRow("right") << &TypeEdit::alignRightAction << int(Qt::AlignRight | Qt::AlignAbsolute);
        QTest::newRow("justify") << &TypeEdit::justifyAction << int(Qt::AlignJustify);
    }

    // An alignment takes the cursor's paragraph only, and the toolbar shows it whenever the
    // cursor comes back there.
    void align()
    {
        QFETCH(DockAction, action);
        dock->setHtml(QStringLiteral("<p align=\"center\">one</p><p align=\"right\">two</p>"));
        (dock->*action)->trigger(); // with the cursor at the start
        QVERIFY(editor->hasFocus());
        QTEST(int(editor->document()->firstBlock().blockFormat().alignment()), "alignment");
        moveCursor(6);
        QVERIFY(dock->alignRightAction->isChecked());
        moveCursor(1);
        QVERIFY((dock->*action)->isChecked());
    }

    void unshownPhrase_showsNoteReadOnly_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("shown"); // part of what the editor shows instead
        QTest::newRow("too long") << QString(300000, QLatin1Char('a')) << QStringLiteral("0.6 MB");
        const QString deep = QStringLiteral("<table><tr><td>").repeated(HtmlCaps::tableDepth + 1);
        QTest::newRow("too deep") << deep + QStringLiteral("deep text") << QStringLiteral("\n\ndeep text");
        // Its text alone, shown plain, would still be one run too long to break into lines.
        QTest::newRow("too deep, then too long")
            << deep + QString(TypeEdit::unbrokenLength + 1, QLatin1Char('x')) << QStringLiteral("too long to be shown");
    }

    // A phrase too long or too deep to lay out shows a note instead, and is never edited, so
    // never written back.
    void unshownPhrase_showsNoteReadOnly()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, shown);
        for (const bool readOnlyFile : {false, true}) {
            dock->setReadOnly(readOnlyFile);
            dock->setHtml(phrase);
            QVERIFY(editor->isReadOnly());
            QVERIFY(editor->toPlainText().contains(shown));
            dock->setHtml(QStringLiteral("short"));
            QCOMPARE(editor->isReadOnly(), readOnlyFile);
        }
    }

    // Only images the phrase holds show: a FIFO that the phrase names, as an image or a style, is
    // never opened.
    void resources_openNoFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        FifoWatch watch(fifo);
        QVERIFY(watch.isMade());
        // Three by two red pixels.
        const QString embedded =
            QStringLiteral("data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAMAAAACCAIAAAASFvFNAAAAEE"
                           "lEQVR42mP4z8AAQQxwFgBB0gX7b/EWxwAAAABJRU5ErkJggg==");
        dock->setHtml(QStringLiteral("<html><img src=\"%1\"><img src=\"%2\"><img src=\"%3\" width=\"9\" height=\"9\">"
                                     "<p style=\"background-image:url(%3)\">x</p>"
                                     "<link rel=\"stylesheet\" type=\"text/css\" href=\"%2\"></html>")
                          .arg(embedded, QUrl::fromLocalFile(fifo).toString(), fifo));
        editor->grab();
        QVERIFY(!watch.wasOpened());
        QCOMPARE(editor->document()->resource(QTextDocument::ImageResource, QUrl(embedded)).value<QPixmap>().size(),
                 QSize(3, 2));
    }
};

QTEST_MAIN(TestTypeEdit)
#include "tst_typeedit.moc"
