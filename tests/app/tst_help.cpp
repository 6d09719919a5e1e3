#include "../common/testhome.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/quillary.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCodec>
#include <QTextDocument>
#include <QtTest>

namespace {

// A page that names its language and itself, with links to the other pages.
void writePage(const QString &folder, const QString &page, const QStringList &links)
{
    QString body = QStringLiteral("<p>%1:%2</p>").arg(folder.section(QLatin1Char('_'), -1), page);
    for (const QString &link : links)
        body += QStringLiteral("<p><a href=\"%1\">go %1</a></p>").arg(link);
    QFile file(folder + QLatin1Char('/') + page);
    QVERIFY(QDir().mkpath(folder) && file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                              "<title>%1</title></head><body>%2</body></html>")
                   .arg(page, body)
                   .toUtf8());
}

// Help folders for "en" and "ru" with the same four pages, and "xx" with a contents page only.
void writeHelpFolders(const QString &programFolder)
{
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("ru")}) {
        const QString folder = programFolder + QStringLiteral("/Help_") + language;
        writePage(folder, QStringLiteral("index.htm"),
                  {QStringLiteral("20.htm"), QStringLiteral("60.htm"), QStringLiteral("70.htm")});
        writePage(folder, QStringLiteral("20.htm"), {QStringLiteral("60.htm")});
        writePage(folder, QStringLiteral("60.htm"), {QStringLiteral("index.htm")});
        writePage(folder, QStringLiteral("70.htm"), {});
    }
    writePage(programFolder + QStringLiteral("/Help_xx"), QStringLiteral("index.htm"), {});
}

QString shownText(const Help &help)
{
    return help.textBrowser()->toPlainText();
}
#define QVERIFY_SHOWS(help, text) QVERIFY2(shownText(help).contains(text), qPrintable(shownText(help)))

QPushButton *button(const Help &help, const QString &text)
{
    for (QPushButton *candidate : help.findChildren<QPushButton *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Clicks the link `href` in the shown page (written by writePage), as a user would.
bool clickLink(QTextBrowser *browser, const QString &href)
{
    QTextCursor cursor = browser->document()->find(QStringLiteral("go ") + href);
    cursor.setPosition(cursor.selectionStart() + 1);
    if (cursor.charFormat().anchorHref() != href)
        return false;
    browser->setTextCursor(cursor);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, browser->cursorRect(cursor).center());
    return true;
}

QString shippedFolder(const QString &language)
{
    return QStringLiteral(QUILLARY_PROGRAM_DIR "/Help_") + language;
}

QString readPage(const QString &language, const QString &page)
{
    QFile file(shippedFolder(language) + QLatin1Char('/') + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Link targets ("href") or link anchors ("name|id") of a page.
QSet<QString> attributes(const QString &html, const QString &names)
{
    QSet<QString> result;
    auto it = QRegularExpression(QStringLiteral("\\b(?:%1)\\s*=\\s*\"([^\"]*)\"").arg(names),
                                 QRegularExpression::CaseInsensitiveOption)
                  .globalMatch(html);
    while (it.hasNext())
        result.insert(it.next().captured(1));
    return result;
}

QStringList shippedPages(const QString &language)
{
    return QDir(shippedFolder(language)).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(images);
        // The main window reads its help beside the program, which for this test is a folder of its own.
        writeHelpFolders(QCoreApplication::applicationDirPath());
    }
    void cleanupTestCase()
    {
        for (const char *language : {"en", "ru", "xx"})
            QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/Help_") + QLatin1String(language))
                .removeRecursively();
    }
    void init()
    {
        programFolder.reset(new QTemporaryDir);
        QVERIFY(programFolder->isValid());
        writeHelpFolders(programFolder->path());
        language.clear();
        nameFileDB.clear();
    }
    void cleanup()
    {
        // The help window has no parent: it outlives the main window by design.
        Help *owned = window ? window->helpWindow() : nullptr;
        window.reset();
        delete owned;
        help.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        home.reset();
        programFolder.reset();
    }

    void setPage_showsPageOfLanguageFolder_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("Russian page") << "ru" << "20.htm" << "ru:20.htm";
        QTest::newRow("language with its own folder") << "xx" << "index.htm" << "xx:index.htm";
        QTest::newRow("language without a folder") << "de" << "60.htm" << "en:60.htm";
        QTest::newRow("built-in English (empty code)") << "" << "70.htm" << "en:70.htm";
        QTest::newRow("page missing from the language's folder") << "xx" << "20.htm" << "";
        // clang-format on
    }
    void setPage_showsPageOfLanguageFolder()
    {
        QFETCH(QString, code);
        QFETCH(QString, page);
        QFETCH(QString, shown);
        Help help(programFolder->path());
        help.setPage(code, page);
        if (shown.isEmpty())
            QVERIFY2(shownText(help).trimmed().isEmpty(), qPrintable(shownText(help)));
        else
            QVERIFY_SHOWS(help, shown);
    }
    void buttons_followHistory()
    {
        QVERIFY(makeHelp());
        QPushButton *back = button(*help, QStringLiteral("<<"));
        QPushButton *forward = button(*help, QStringLiteral(">>"));
        QVERIFY(back && forward);
        const auto expect = [&](const char *page, bool backOn, bool forwardOn) {
            QVERIFY_SHOWS(*help, QLatin1String(page));
            QCOMPARE(back->isEnabled(), backOn);
            QCOMPARE(forward->isEnabled(), forwardOn);
        };
        help->setPage(QStringLiteral("ru"), QStringLiteral("index.htm"));
        expect("ru:index.htm", false, false);
        QVERIFY(clickLink(help->textBrowser(), QStringLiteral("20.htm")));
        QTRY_VERIFY(shownText(*help).contains(QStringLiteral("ru:20.htm")));
        expect("ru:20.htm", true, false);
        QTest::mouseClick(back, Qt::LeftButton);
        expect("ru:index.htm", false, true);
        QTest::mouseClick(forward, Qt::LeftButton);
        expect("ru:20.htm", true, false);
        QTest::mouseClick(button(*help, QStringLiteral("Content")), Qt::LeftButton);
        expect("ru:index.htm", true, false);
    }
    void retranslate_reloadsSamePageFromNewFolder_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("followLink");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("page opened by name") << "en" << false << "ru" << "ru:index.htm";
        QTest::newRow("page reached by a link") << "en" << true << "ru" << "ru:20.htm";
        QTest::newRow("to a language without a folder") << "ru" << true << "de" << "en:20.htm";
        // clang-format on
    }
    void retranslate_reloadsSamePageFromNewFolder()
    {
        QFETCH(QString, from);
        QFETCH(bool, followLink);
        QFETCH(QString, to);
        QFETCH(QString, shown);
        QVERIFY(makeHelp());
        help->setPage(from, QStringLiteral("index.htm"));
        if (followLink) {
            QVERIFY(clickLink(help->textBrowser(), QStringLiteral("20.htm")));
            QTRY_VERIFY(shownText(*help).contains(from + QStringLiteral(":20.htm")));
        }
        help->retranslate(to);
        QVERIFY_SHOWS(*help, shown);
        // Switching the language is no step in the history.
        QCOMPARE(button(*help, QStringLiteral("<<"))->isEnabled(), followLink);
        if (followLink) {
            help->textBrowser()->backward();
            QVERIFY_SHOWS(*help, shown.section(QLatin1Char(':'), 0, 0) + QStringLiteral(":index.htm"));
        }
    }
    void helpCommands_openTheirPages_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("page");
        // clang-format off
        QTest::newRow("Content") << "helpIndex" << "en:index.htm";
        QTest::newRow("Getting Started") << "helpStarted" << "en:20.htm";
        QTest::newRow("Technical Support") << "helpSupport" << "en:60.htm";
        QTest::newRow("Ordering Information") << "helpOrder" << "en:70.htm";
        // clang-format on
    }
    void helpCommands_openTheirPages()
    {
        QFETCH(QString, command);
        QFETCH(QString, page);
        switchTo(QString());
        QVERIFY(!window->helpWindow());
        QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));
        QVERIFY(window->helpWindow());
        QVERIFY(window->helpWindow()->isVisible());
        QVERIFY(!window->helpWindow()->isModal());
        QVERIFY_SHOWS(*window->helpWindow(), page);
    }
    void secondHelpCommand_reusesWindowWithHistory()
    {
        switchTo(QString());
        window->helpIndex();
        Help *shown = window->helpWindow();
        QVERIFY(shown && QTest::qWaitForWindowExposed(shown));
        QVERIFY(clickLink(shown->textBrowser(), QStringLiteral("60.htm")));
        QTRY_VERIFY(shownText(*shown).contains(QStringLiteral("en:60.htm")));
        shown->close();

        window->helpStarted();
        QCOMPARE(window->helpWindow(), shown);
        QVERIFY(shown->isVisible());
        QVERIFY_SHOWS(*shown, QStringLiteral("en:20.htm"));
        shown->textBrowser()->backward();
        QVERIFY_SHOWS(*shown, QStringLiteral("en:60.htm"));
        shown->textBrowser()->backward();
        QVERIFY_SHOWS(*shown, QStringLiteral("en:index.htm"));
    }
    void languageSwitch_reloadsOpenHelpOnly()
    {
        // Without a help window the switch creates none; the next command opens in the new language.
        switchTo(QStringLiteral("ru"));
        QVERIFY(!window->helpWindow());
        window->helpSupport();
        Help *shown = window->helpWindow();
        QVERIFY(shown);
        QVERIFY_SHOWS(*shown, QStringLiteral("ru:60.htm"));
        shown->close();

        // A closed help window still follows the language.
        switchTo(QStringLiteral("en"));
        QVERIFY_SHOWS(*shown, QStringLiteral("en:60.htm"));
        window->helpOrder();
        QCOMPARE(window->helpWindow(), shown);
        QVERIFY_SHOWS(*shown, QStringLiteral("en:70.htm"));
    }
    void shippedPages_sameSetInBothLanguages()
    {
        const QStringList english = shippedPages(QStringLiteral("en"));
        for (const char *required : {"index.htm", "20.htm", "60.htm", "70.htm"})
            QVERIFY2(english.contains(QLatin1String(required)), required);
        QCOMPARE(shippedPages(QStringLiteral("ru")), english);
        for (const QString &language : {QStringLiteral("en"), QStringLiteral("ru")}) {
            // Every page is reachable from the contents.
            QSet<QString> unlinked = QSet<QString>(english.cbegin(), english.cend());
            unlinked.remove(QStringLiteral("index.htm"));
            unlinked.subtract(attributes(readPage(language, QStringLiteral("index.htm")), QStringLiteral("href")));
            QVERIFY2(unlinked.isEmpty(), qPrintable(unlinked.values().join(QStringLiteral(", "))));
        }
        // A translated page keeps every section that other pages may link to.
        for (const QString &page : english) {
            QVERIFY2(attributes(readPage(QStringLiteral("en"), page), QStringLiteral("name|id")) ==
                         attributes(readPage(QStringLiteral("ru"), page), QStringLiteral("name|id")),
                     qPrintable(page));
        }
    }
    void shippedPage_readableWithWorkingLinks_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        for (const QString &language : {QStringLiteral("en"), QStringLiteral("ru")}) {
            QVERIFY2(!shippedPages(language).isEmpty(), qPrintable(shippedFolder(language)));
            for (const QString &page : shippedPages(language))
                QTest::newRow(qPrintable(language + QLatin1Char('/') + page)) << language << page;
        }
    }
    void shippedPage_readableWithWorkingLinks()
    {
        QFETCH(QString, language);
        QFETCH(QString, page);
        const QString html = readPage(language, page);
        QStringList broken;
        for (const QString &href : attributes(html, QStringLiteral("href"))) {
            const QUrl url(href);
            if (!url.isRelative())
                continue; // web and mail addresses
            const QString target = url.path().isEmpty() ? page : url.path();
            const QString targetHtml = readPage(language, target);
            if (targetHtml.isEmpty() || target.contains(QLatin1Char('/')) ||
                (url.hasFragment() && !attributes(targetHtml, QStringLiteral("name|id")).contains(url.fragment())))
                broken << href;
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));

        // Without a declared encoding the browser would read the pages as Latin-1.
        const QTextCodec *codec = QTextCodec::codecForHtml(html.toUtf8(), QTextCodec::codecForName("ISO-8859-1"));
        QCOMPARE(codec->name(), QByteArray("UTF-8"));
        Help help(QStringLiteral(QUILLARY_PROGRAM_DIR));
        help.setPage(language, page);
        const QString title = help.textBrowser()->document()->metaInformation(QTextDocument::DocumentTitle);
        QVERIFY2(!title.isEmpty(), "the page has no title");
        QVERIFY2(shownText(help).size() > 200, "the page says next to nothing");
        QVERIFY2(!shownText(help).contains(QChar(QChar::ReplacementCharacter)), "the page is not valid UTF-8");
        // Each folder holds pages of its own language.
        const QRegularExpression cyrillic(QStringLiteral("[\\x{0410}-\\x{044F}]"));
        QCOMPARE(title.contains(cyrillic), language == QLatin1String("ru"));
        QCOMPARE(shownText(help).contains(cyrillic) || language == QLatin1String("en"), true);
    }

private:
    Help *makeHelp()
    {
        help.reset(new Help(programFolder->path()));
        help->show();
        return QTest::qWaitForWindowExposed(help.data()) ? help.data() : nullptr;
    }
    void switchTo(const QString &code)
    {
        if (!window) {
            home.reset(new TestHome);
            window.reset(new Quillary);
        }
        QAction action;
        action.setData(code);
        if (!code.isEmpty())
            window->switchLanguage(&action);
    }

    QScopedPointer<QTemporaryDir> programFolder;
    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
    QScopedPointer<Help> help;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
