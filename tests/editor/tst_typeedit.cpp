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
#include <QtTest>

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
        QTest::addColumn<QString>("leaveBy");
        QTest::addColumn<int>("writes");
        QTest::newRow("unchanged") << "<HTML><BODY>hello</BODY></HTML>" << false << "focus" << 0;
        QTest::newRow("changed, left twice") << "<HTML><BODY>hello</BODY></HTML>" << true << "focus focus" << 2;
        QTest::newRow("plain, changed, Tab") << "hello" << true << "tab" << 1;
        QTest::newRow("plain, changed, cleared") << "hello" << true << "clear" << 1;
        QTest::newRow("plain, changed, dock hidden") << "hello" << true << "hide" << 1;
    }

    // A phrase is written back whenever the editor loses the focus after a change.
    void leaving()
    {
        QFETCH(QString, phrase);
        QFETCH(bool, change);
        QFETCH(QString, leaveBy);
        QFETCH(int, writes);
        dock->setHtml(phrase);
        // Shown with nothing to undo; plain text in Calibri.
        QVERIFY(editor->toPlainText() == QLatin1String("hello") && !dock->undoAction->isEnabled());
        QCOMPARE(editor->font().family() == QLatin1String("Calibri"), phrase == QLatin1String("hello"));
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        QSignalSpy spy(editor, &HtmlEdit::writeHtml);
        for (const QString &step : leaveBy.split(QLatin1Char(' '))) {
            QVERIFY(focus(editor));
            QVERIFY(dock->italicAction->isEnabled() && dock->pasteAction->isEnabled() && !dock->cutAction->isEnabled());
            QTest::keyClicks(editor, change && spy.isEmpty() ? QStringLiteral("x") : QString());
            if (step == QLatin1String("tab"))
                QTest::keyClick(editor, Qt::Key_Tab);
            else if (step == QLatin1String("clear"))
                dock->clearEdit();
            else if (step == QLatin1String("hide"))
                dock->hide();
            else
                QVERIFY(focus(other));
            QVERIFY(!editor->hasFocus());
        }
        QCOMPARE(spy.count(), writes);
        for (const QList<QVariant> &args : qAsConst(spy))
            QVERIFY(args.at(0).toString().startsWith(QLatin1Char('<')) && args.at(1) == QStringLiteral("xhello") &&
                    !args.at(0).toString().contains(QLatin1String("font-weight:600")));
        // Clearing empties the editor and hiding the dock leaves it, both without formatting or pasting.
        const bool on = leaveBy != QLatin1String("clear") && leaveBy != QLatin1String("hide");
        QCOMPARE(editor->document()->isEmpty(), leaveBy == QLatin1String("clear"));
        QCOMPARE(dock->fontCombo->isEnabled(), on);
        QCOMPARE(dock->boldAction->isEnabled() && !dock->pasteAction->isEnabled(), on);
    }

    void format_data()
    {
        QTest::addColumn<QString>("size"); // chosen in the size box; bold when empty
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("applied"); // over "hello world " once a Z is typed at the position
        QTest::newRow("bold inside a word") << QString() << 2 << "1111110000000";
        QTest::newRow("bold after the last space") << QString() << 12 << "0000000000001";
        QTest::newRow("size at the start of a word") << QStringLiteral("10.5") << 6 << "0000001111110";
        QTest::newRow("size that cannot be shown") << QStringLiteral("inf") << 2 << "0000000000000";
    }

    void format()
    {
        QFETCH(QString, size);
        QFETCH(int, position);
        QFETCH(QString, applied);
        dock->setHtml(QStringLiteral("hello world "));
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        editor->setTextCursor(cursor);
        size.isEmpty() ? dock->boldAction->trigger() : dock->comboSize->textActivated(size); // as typed or picked
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("Z"));
        QString found;
        for (int i = 1; i <= 13; ++i) {
            cursor.setPosition(i);
            const QTextCharFormat f = cursor.charFormat();
            found += QString::number(f.fontWeight() == QFont::Bold || f.hasProperty(QTextFormat::FontPointSize));
        }
        QCOMPARE(found, applied);
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
            QVERIFY(focus(editor) && editor->isReadOnly() && editor->toPlainText().contains(shown));
            QTest::keyClicks(editor, QStringLiteral("x"));
            QVERIFY(focus(other) && spy.isEmpty());
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
        QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
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
