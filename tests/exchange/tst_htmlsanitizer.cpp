#include "../common/fifowatch.h"
#include "exchange/htmlsanitizer.h"

#include <QtTest>

static QString nestedTables(int depth, const QString &table = QStringLiteral("table"))
{
    return QStringLiteral("<%1><tr><td>").arg(table).repeated(depth) + QStringLiteral("x") +
           QStringLiteral("</td></tr></table>").repeated(depth);
}

// Rich text is laid out only within caps that keep the window answering.
class HtmlSanitizerTest : public QObject
{
    Q_OBJECT

private slots:
    void sanitize_keepsLayoutWithinCaps_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("expected"); // the text to lay out, or past the caps the plain text
        const auto row = [](const char *name, const QString &html, bool plain, const QString &expected) {
            QTest::newRow(name) << html << plain << expected;
        };
        const auto same = [&row](const char *name, const QString &html) { row(name, html, false, html); };
        // Numbers in names, strings and urls are no lengths.
        same("table and style sheet",
             QStringLiteral("<style>p { font-family: \"Font 100000000\"; background: url(a100000000.png) }</style>"
                            "<table border=\"1\" cellpadding=\"4\" width=\"100%\"><tr><td style=\"padding:2px 4px; "
                            "color:#999999; font-size:12pt\">a</td><td width=50%>b</td></tr></table>"));
        same("tables at the cap", nestedTables(HtmlCaps::tableDepth));
        same("paragraphs close what they hold", QStringLiteral("<p><b>x").repeated(HtmlCaps::depth));

        row("entity, no quotes; percentage", QStringLiteral("<table cellspacing=&#49;e8 width=\"1e9%\">"), false,
            QStringLiteral("<table cellspacing=\"10000\" width=\"10000%\">"));
        row("escaped single quote", QStringLiteral("<td style='padding:0\\'; padding:1e8px'>"), false,
            QStringLiteral("<td style=\"padding:0\\'; padding:10000px\">"));
        row("infinite, negative, not a number",
            QStringLiteral("<p style=\"text-indent:-1e9px;margin:infpx;line-height:nan\">x</p>"), false,
            QStringLiteral("<p style=\"text-indent:-10000px;margin:10000px;line-height:0\">x</p>"));
        row("style element", QStringLiteral("<style>td { padding: &#49;00000000px }</style>"), false,
            QStringLiteral("<style>td { padding: 10000px }</style>"));

        const QString x = QStringLiteral("x");
        row("tables past the cap", nestedTables(HtmlCaps::tableDepth + 1), true, x);
        row("table named by an entity", nestedTables(HtmlCaps::tableDepth + 1, QStringLiteral("&#116;able")), true, x);
        row("cells make a table", QStringLiteral("<td>") + nestedTables(HtmlCaps::tableDepth), true, x);
        row("images", QStringLiteral("<img src=\"a.png\">").repeated(HtmlCaps::images + 1), true, QString());
        row("one long list", QStringLiteral("<ul>") + QStringLiteral("<li>w").repeated(HtmlCaps::listItems + 1), true,
            QStringLiteral("w\n").repeated(HtmlCaps::listItems + 1).chopped(1));
        row("elements left open", QStringLiteral("<b>").repeated(HtmlCaps::depth + 1) + QStringLiteral("&lt;x&gt;"),
            true, QStringLiteral("<x>"));
        row("a word across tags", QStringLiteral("<b>x</b>").repeated(30000), true, x.repeated(30000));
        row("many cells", QStringLiteral("<table><tr>") + QStringLiteral("<td>x</td>").repeated(20000), true,
            QStringLiteral("x\n").repeated(20000).chopped(1));
    }

    void sanitize_keepsLayoutWithinCaps()
    {
        QFETCH(QString, html);
        const SafeHtml safe = sanitizeHtml(html);
        QTEST(safe.plain, "plain");
        QTEST(safe.text, "expected");
    }

    // A paste takes the text of rich text from another program without loading what it names.
    void plainText_opensNoFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        FifoWatch watch(fifo);
        QVERIFY(watch.isMade());
        const QString html =
            QStringLiteral("<style>@import url(%1);</style><p style=\"background-image:url(%1)\">hi</p>"
                           "<table background=\"%1\"><tr><td>there</td></tr></table>"
                           "<link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">")
                .arg(fifo);
        QCOMPARE(htmlPlainText(html), QStringLiteral("hi\nthere\n"));
        QVERIFY(!watch.wasOpened());
    }
};

QTEST_MAIN(HtmlSanitizerTest)
#include "tst_htmlsanitizer.moc"
