#include "../common/testhome.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/quillary.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCodec>
#include <QTextDocument>
#include <QtTest>

namespace {

const QStringList requiredPages{QStringLiteral("index.htm"), QStringLiteral("20.htm"), QStringLiteral("60.htm"),
                                QStringLiteral("70.htm")};
const QStringList shippedLanguages{QStringLiteral("en"), QStringLiteral("ru")};

// A page that names its language and itself, with links to the other pages.
void writePage(const QString &folder, const QString &language, const QString &page, const QStringList &links)
{
    QString body = QStringLiteral("<p>%1:%2</p>").arg(language, page);
    for (const QString &link : links)
        body += QStringLiteral("<p><a href=\"%1\">go %1</a></p>").arg(link);
    QFile file(folder + QLatin1Char('/') + page);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
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
        writePage(folder, language, QStringLiteral("index.htm"),
                  {QStringLiteral("20.htm"), QStringLiteral("60.htm"), QStringLiteral("70.htm")});
        writePage(folder, language, QStringLiteral("20.htm"), {QStringLiteral("60.htm")});
        writePage(folder, language, QStringLiteral("60.htm"), {QStringLiteral("index.htm")});
        writePage(folder, language, QStringLiteral("70.htm"), {});
    }
    writePage(programFolder + QStringLiteral("/Help_xx"), QStringLiteral("xx"), QStringLiteral("index.htm"), {});
}

QString shownText(const Help &help)
{
    return help.textBrowser()->toPlainText();
}

QPushButton *button(const Help &help, const QString &text)
{
    const QList<QPushButton *> buttons = help.findChildren<QPushButton *>();
    for (QPushButton *candidate : buttons) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Clicks the first link to `href` in the shown page, as a user would.
bool clickLink(QTextBrowser *browser, const QString &href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint point = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            return true;
        }
    }
    return false;
}

QString readPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList hrefsOf(const QString &html)
{
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList result;
    auto it = href.globalMatch(html);
    while (it.hasNext())
        result << it.next().captured(1);
    return result;
}

QSet<QString> anchorsOf(const QString &html)
{
    static const QRegularExpression anchor(QStringLiteral("\\b(?:name|id)\\s*=\\s*\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    QSet<QString> result;
    auto it = anchor.globalMatch(html);
    while (it.hasNext())
        result.insert(it.next().captured(1));
    return result;
}

bool hasCyrillic(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x0410 && c.unicode() <= 0x044F)
            return true;
    }
    return false;
}

QString shippedFolder(const QString &language)
{
    return QStringLiteral(QUILLARY_PROGRAM_DIR "/Help_") + language;
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
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void setPage_showsPageOfLanguageFolder_data();
    void setPage_showsPageOfLanguageFolder();
    void backAndForward_followHistory();
    void contentButton_showsIndex();
    void retranslate_reloadsSamePageFromNewFolder_data();
    void retranslate_reloadsSamePageFromNewFolder();

    void helpCommands_openTheirPages_data();
    void helpCommands_openTheirPages();
    void secondHelpCommand_reusesWindowWithHistory();
    void languageSwitch_reloadsOpenHelpPage();
    void languageSwitch_withoutHelp_createsNoWindow();

    void shippedPages_requiredPresent_data();
    void shippedPages_requiredPresent();
    void shippedPages_linksResolve_data();
    void shippedPages_linksResolve();
    void shippedPages_indexLinksEveryPage_data();
    void shippedPages_indexLinksEveryPage();
    void shippedPages_sameInBothLanguages();
    void shippedPages_renderInTheirLanguage_data();
    void shippedPages_renderInTheirLanguage();

private:
    void makeWindow();

    QScopedPointer<QTemporaryDir> programFolder;
    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
};

void TestHelp::initTestCase()
{
    Q_INIT_RESOURCE(images);
    // The main window reads its help beside the program, which for this test is a
    // folder of its own.
    writeHelpFolders(QCoreApplication::applicationDirPath());
}

void TestHelp::cleanupTestCase()
{
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("xx")})
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/Help_") + language).removeRecursively();
}

void TestHelp::init()
{
    programFolder.reset(new QTemporaryDir);
    QVERIFY(programFolder->isValid());
    writeHelpFolders(programFolder->path());
    language.clear();
    nameFileDB.clear();
}

void TestHelp::cleanup()
{
    // The help window has no parent: it outlives the main window by design.
    Help *help = window ? window->helpWindow() : nullptr;
    window.reset();
    delete help;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    home.reset();
    programFolder.reset();
}

void TestHelp::makeWindow()
{
    home.reset(new TestHome);
    window.reset(new Quillary);
}

// Help on its own ------------------------------------------------------------------

void TestHelp::setPage_showsPageOfLanguageFolder_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("English contents") << "en" << "index.htm" << "en:index.htm";
    QTest::newRow("Russian page") << "ru" << "20.htm" << "ru:20.htm";
    QTest::newRow("language with its own folder") << "xx" << "index.htm" << "xx:index.htm";
    QTest::newRow("language without a folder") << "de" << "60.htm" << "en:60.htm";
    QTest::newRow("built-in English (empty code)") << "" << "70.htm" << "en:70.htm";
    QTest::newRow("page missing from the language's folder") << "xx" << "20.htm" << "";
    // clang-format on
}

void TestHelp::setPage_showsPageOfLanguageFolder()
{
    QFETCH(QString, code);
    QFETCH(QString, page);
    QFETCH(QString, shown);

    Help help(programFolder->path());
    help.setPage(code, page);

    if (shown.isEmpty())
        QVERIFY2(shownText(help).trimmed().isEmpty(), qPrintable(shownText(help)));
    else
        QVERIFY2(shownText(help).contains(shown), qPrintable(shownText(help)));
}

void TestHelp::backAndForward_followHistory()
{
    Help help(programFolder->path());
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QPushButton *back = button(help, QStringLiteral("<<"));
    QPushButton *forward = button(help, QStringLiteral(">>"));
    QVERIFY(back && forward);

    help.setPage(QStringLiteral("en"), QStringLiteral("index.htm"));
    QVERIFY(!back->isEnabled());
    QVERIFY(!forward->isEnabled());

    QVERIFY(clickLink(help.textBrowser(), QStringLiteral("20.htm")));
    QTRY_VERIFY(shownText(help).contains(QStringLiteral("en:20.htm")));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    QVERIFY(shownText(help).contains(QStringLiteral("en:index.htm")));
    QVERIFY(!back->isEnabled());
    QVERIFY(forward->isEnabled());

    QTest::mouseClick(forward, Qt::LeftButton);
    QVERIFY(shownText(help).contains(QStringLiteral("en:20.htm")));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
}

void TestHelp::contentButton_showsIndex()
{
    Help help(programFolder->path());
    help.setPage(QStringLiteral("ru"), QStringLiteral("60.htm"));
    QPushButton *content = button(help, QStringLiteral("Content"));
    QVERIFY(content);

    QTest::mouseClick(content, Qt::LeftButton);

    QVERIFY2(shownText(help).contains(QStringLiteral("ru:index.htm")), qPrintable(shownText(help)));
    QVERIFY(button(help, QStringLiteral("<<"))->isEnabled());
}

void TestHelp::retranslate_reloadsSamePageFromNewFolder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("followLink");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("page opened by name, en to ru") << "en" << false << "ru" << "ru:index.htm";
    QTest::newRow("page reached by a link, en to ru") << "en" << true << "ru" << "ru:20.htm";
    QTest::newRow("page reached by a link, ru to en") << "ru" << true << "en" << "en:20.htm";
    QTest::newRow("to a language without a folder") << "ru" << true << "de" << "en:20.htm";
    // clang-format on
}

void TestHelp::retranslate_reloadsSamePageFromNewFolder()
{
    QFETCH(QString, from);
    QFETCH(bool, followLink);
    QFETCH(QString, to);
    QFETCH(QString, shown);

    Help help(programFolder->path());
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.setPage(from, QStringLiteral("index.htm"));
    if (followLink) {
        QVERIFY(clickLink(help.textBrowser(), QStringLiteral("20.htm")));
        QTRY_VERIFY(shownText(help).contains(from + QStringLiteral(":20.htm")));
    }
    const bool hadHistory = button(help, QStringLiteral("<<"))->isEnabled();

    help.retranslate(to);

    QVERIFY2(shownText(help).contains(shown), qPrintable(shownText(help)));
    QCOMPARE(button(help, QStringLiteral("Content"))->text(), QStringLiteral("Content"));
    // Switching the language is no step in the history.
    QCOMPARE(button(help, QStringLiteral("<<"))->isEnabled(), hadHistory);
    if (hadHistory) {
        help.textBrowser()->backward();
        QVERIFY2(shownText(help).contains(shown.section(QLatin1Char(':'), 0, 0) + QStringLiteral(":index.htm")),
                 qPrintable(shownText(help)));
    }
}

// Through the main window -------------------------------------------------------------

void TestHelp::helpCommands_openTheirPages_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("page");

    // clang-format off
    QTest::newRow("Content") << "helpIndex" << "index.htm";
    QTest::newRow("Getting Started") << "helpStarted" << "20.htm";
    QTest::newRow("Technical Support") << "helpSupport" << "60.htm";
    QTest::newRow("Ordering Information") << "helpOrder" << "70.htm";
    // clang-format on
}

void TestHelp::helpCommands_openTheirPages()
{
    QFETCH(QString, command);
    QFETCH(QString, page);

    makeWindow();
    QVERIFY(!window->helpWindow());
    QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));

    Help *help = window->helpWindow();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    QVERIFY2(shownText(*help).contains(QStringLiteral("en:") + page), qPrintable(shownText(*help)));
}

void TestHelp::secondHelpCommand_reusesWindowWithHistory()
{
    makeWindow();
    window->helpIndex();
    Help *help = window->helpWindow();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(clickLink(help->textBrowser(), QStringLiteral("60.htm")));
    QTRY_VERIFY(shownText(*help).contains(QStringLiteral("en:60.htm")));
    help->close();

    window->helpStarted();

    QCOMPARE(window->helpWindow(), help);
    QVERIFY(help->isVisible());
    QVERIFY(shownText(*help).contains(QStringLiteral("en:20.htm")));
    help->textBrowser()->backward();
    QVERIFY2(shownText(*help).contains(QStringLiteral("en:60.htm")), qPrintable(shownText(*help)));
    help->textBrowser()->backward();
    QVERIFY2(shownText(*help).contains(QStringLiteral("en:index.htm")), qPrintable(shownText(*help)));
}

void TestHelp::languageSwitch_reloadsOpenHelpPage()
{
    makeWindow();
    window->helpSupport();
    Help *help = window->helpWindow();
    QVERIFY(help);
    help->close();

    QAction russian;
    russian.setData(QStringLiteral("ru"));
    window->switchLanguage(&russian);
    QVERIFY2(shownText(*help).contains(QStringLiteral("ru:60.htm")), qPrintable(shownText(*help)));

    // The next command opens its page in the language now chosen.
    window->helpOrder();
    QCOMPARE(window->helpWindow(), help);
    QVERIFY2(shownText(*help).contains(QStringLiteral("ru:70.htm")), qPrintable(shownText(*help)));
}

void TestHelp::languageSwitch_withoutHelp_createsNoWindow()
{
    makeWindow();
    QAction russian;
    russian.setData(QStringLiteral("ru"));
    window->switchLanguage(&russian);
    QVERIFY(!window->helpWindow());

    window->helpIndex();
    QVERIFY(window->helpWindow());
    QVERIFY2(shownText(*window->helpWindow()).contains(QStringLiteral("ru:index.htm")),
             qPrintable(shownText(*window->helpWindow())));
}

// The pages the program ships ---------------------------------------------------------

void TestHelp::shippedPages_requiredPresent_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &language : shippedLanguages) {
        for (const QString &page : requiredPages) {
            const QString path = shippedFolder(language) + QLatin1Char('/') + page;
            QTest::newRow(qPrintable(language + QLatin1Char('/') + page)) << path;
        }
    }
}

void TestHelp::shippedPages_requiredPresent()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    QVERIFY2(QFileInfo(path).size() > 0, qPrintable(path));
}

void TestHelp::shippedPages_linksResolve_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("page");
    for (const QString &language : shippedLanguages) {
        const QStringList pages = shippedPages(language);
        QVERIFY2(!pages.isEmpty(), qPrintable(shippedFolder(language)));
        for (const QString &page : pages)
            QTest::newRow(qPrintable(language + QLatin1Char('/') + page)) << shippedFolder(language) << page;
    }
}

void TestHelp::shippedPages_linksResolve()
{
    QFETCH(QString, folder);
    QFETCH(QString, page);

    const QString html = readPage(folder + QLatin1Char('/') + page);
    QStringList broken;
    for (const QString &href : hrefsOf(html)) {
        const QUrl url(href);
        if (!url.isRelative())
            continue; // web and mail addresses
        const QString target = url.path().isEmpty() ? page : url.path();
        const QString targetHtml = readPage(folder + QLatin1Char('/') + target);
        if (targetHtml.isEmpty() || target.contains(QLatin1Char('/')))
            broken << href;
        else if (url.hasFragment() && !anchorsOf(targetHtml).contains(url.fragment()))
            broken << href;
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));
}

void TestHelp::shippedPages_indexLinksEveryPage_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : shippedLanguages)
        QTest::newRow(qPrintable(language)) << language;
}

void TestHelp::shippedPages_indexLinksEveryPage()
{
    QFETCH(QString, language);

    QSet<QString> linked{QStringLiteral("index.htm")};
    for (const QString &href : hrefsOf(readPage(shippedFolder(language) + QStringLiteral("/index.htm")))) {
        const QUrl url(href);
        if (url.isRelative() && !url.path().isEmpty())
            linked.insert(url.path());
    }
    const QStringList pages = shippedPages(language);
    QStringList unlinked;
    for (const QString &page : pages) {
        if (!linked.contains(page))
            unlinked << page;
    }
    QVERIFY2(unlinked.isEmpty(), qPrintable(unlinked.join(QStringLiteral(", "))));
}

void TestHelp::shippedPages_sameInBothLanguages()
{
    const QStringList english = shippedPages(QStringLiteral("en"));
    QVERIFY(!english.isEmpty());
    QCOMPARE(shippedPages(QStringLiteral("ru")), english);

    // A translated page keeps every section that other pages may link to.
    for (const QString &page : english) {
        const QSet<QString> en = anchorsOf(readPage(shippedFolder(QStringLiteral("en")) + QLatin1Char('/') + page));
        const QSet<QString> ru = anchorsOf(readPage(shippedFolder(QStringLiteral("ru")) + QLatin1Char('/') + page));
        QVERIFY2(en == ru, qPrintable(page));
    }
}

void TestHelp::shippedPages_renderInTheirLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("page");
    for (const QString &language : shippedLanguages) {
        for (const QString &page : shippedPages(language))
            QTest::newRow(qPrintable(language + QLatin1Char('/') + page)) << language << page;
    }
}

void TestHelp::shippedPages_renderInTheirLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, page);

    Help help(QStringLiteral(QUILLARY_PROGRAM_DIR));
    help.setPage(language, page);
    const QTextDocument *document = help.textBrowser()->document();

    // Without a declared encoding the browser would read the pages as Latin-1.
    QFile file(shippedFolder(language) + QLatin1Char('/') + page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QTextCodec *codec = QTextCodec::codecForHtml(file.readAll(), QTextCodec::codecForName("ISO-8859-1"));
    QCOMPARE(codec->name(), QByteArray("UTF-8"));

    const QString title = document->metaInformation(QTextDocument::DocumentTitle);
    QVERIFY2(!title.isEmpty(), "the page has no title");
    QVERIFY2(shownText(help).size() > 200, "the page says next to nothing");
    QVERIFY2(!shownText(help).contains(QChar(QChar::ReplacementCharacter)), "the page is not valid UTF-8");
    // Each folder holds pages of its own language.
    QCOMPARE(hasCyrillic(title), language == QLatin1String("ru"));
    if (language == QLatin1String("ru"))
        QVERIFY(hasCyrillic(shownText(help)));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
