#include "../common/testhome.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSqlDatabase>
#include <QSqlTableModel>
#include <QStatusBar>
#include <QToolBar>
#include <QWidgetAction>
#include <QtTest>

namespace {

QStringList names(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *name : list)
        result << QString::fromUtf8(name);
    return result;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commandSurface_data();
    void commandSurface();
    void windowActions_data();
    void windowActions();
    void statusFields_followStatusBarAndBrowser();
    void windowLayoutCommands_data();
    void windowLayoutCommands();
    void clipboardChange_recomputesDockActions_data();
    void clipboardChange_recomputesDockActions();

private:
    QString describe(QAction *action) const;
    QAction *windowAction(const QString &text) const;
    QLabel *statusField(int n) const;
    QToolBar *toolBarNamed(const QString &objectName) const;

    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
};

void TestCommands::initTestCase()
{
    Q_INIT_RESOURCE(images);
}

void TestCommands::init()
{
    home.reset(new TestHome);
    nameFileDB.clear();
    language.clear();
    window.reset(new Quillary);
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
}

void TestCommands::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    home.reset();
}

// Names an entry of a menu or toolbar the way the tables of commands do: the docks'
// objects by their field names, toggles by what they show, the window's own by text.
QString TestCommands::describe(QAction *action) const
{
    if (action->isSeparator())
        return QStringLiteral("-");
    if (action->menu())
        return QStringLiteral("menu ") + action->menu()->title();
    if (auto *widgetAction = qobject_cast<QWidgetAction *>(action)) {
        QWidget *widget = widgetAction->defaultWidget();
        if (widget == window->phraseEditor()->fontCombo)
            return QStringLiteral("fontCombo");
        if (widget == window->phraseEditor()->comboSize)
            return QStringLiteral("comboSize");
        return QStringLiteral("widget ") + QString::fromLatin1(widget->metaObject()->className());
    }

    TypeFind *find = window->browser();
    TypeEdit *edit = window->phraseEditor();
    const QList<QPair<QAction *, const char *>> fields = {
        {find->copyPhraseAction, "copyPhraseAction"},
        {find->copyCellsAction, "copyCellsAction"},
        {find->pastePhraseAction, "pastePhraseAction"},
        {find->deletePhraseAction, "deletePhraseAction"},
        {find->appendPhraseAction, "appendPhraseAction"},
        {edit->undoAction, "undoAction"},
        {edit->redoAction, "redoAction"},
        {edit->cutAction, "cutAction"},
        {edit->copyAction, "copyAction"},
        {edit->pasteAction, "pasteAction"},
        {edit->boldAction, "boldAction"},
        {edit->italicAction, "italicAction"},
        {edit->underlineAction, "underlineAction"},
        {edit->alignLeftAction, "alignLeftAction"},
        {edit->alignCenterAction, "alignCenterAction"},
        {edit->alignRightAction, "alignRightAction"},
        {edit->justifyAction, "justifyAction"},
        {edit->colorAction, "colorAction"},
    };
    for (const auto &field : fields) {
        if (field.first == action)
            return QString::fromLatin1(field.second);
    }

    QList<QWidget *> toggled = {find, edit};
    for (QToolBar *bar : window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly))
        toggled << bar;
    for (QWidget *target : toggled) {
        QAction *toggle = qobject_cast<QDockWidget *>(target) ? static_cast<QDockWidget *>(target)->toggleViewAction()
                                                              : static_cast<QToolBar *>(target)->toggleViewAction();
        if (toggle == action)
            return QStringLiteral("toggle ") + target->windowTitle();
    }

    return action->text();
}

QAction *TestCommands::windowAction(const QString &text) const
{
    QAction *found = nullptr;
    for (QAction *action : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (action->text() != text)
            continue;
        if (found)
            return nullptr; // two actions under one text cannot be told apart
        found = action;
    }
    return found;
}

QLabel *TestCommands::statusField(int n) const
{
    for (QFrame *frame : window->statusBar()->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly)) {
        QLayout *layout = frame->layout();
        if (layout && layout->count() == 2)
            return qobject_cast<QLabel *>(layout->itemAt(n - 1)->widget());
    }
    return nullptr;
}

QToolBar *TestCommands::toolBarNamed(const QString &objectName) const
{
    return window->findChild<QToolBar *>(objectName, Qt::FindDirectChildrenOnly);
}

void TestCommands::commandSurface_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("statusTip");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("menu bar") << "menubar" << -1 << QString() << QString() << QString()
                              << names({"menu &File", "menu Phrase", "menu Edit", "menu Window", "menu &Help"});
    QTest::newRow("File") << "menu" << 0 << QString() << "&File" << QString()
                          << names({"Open Database...", "Create a database...", "Save Database As...", "-", "Export...",
                                    "Import...", "-", "E&xit"});
    QTest::newRow("Phrase") << "menu" << 1 << QString() << "Phrase"
                            << "Phrase"
                            << names({"copyPhraseAction", "copyCellsAction", "pastePhraseAction", "appendPhraseAction",
                                      "deletePhraseAction"});
    QTest::newRow("Edit") << "menu" << 2 << QString() << "Edit"
                          << "Edit"
                          << names({"undoAction", "redoAction", "-", "cutAction", "copyAction", "pasteAction", "-",
                                    "boldAction", "italicAction", "underlineAction", "alignLeftAction",
                                    "alignCenterAction", "alignRightAction", "justifyAction", "colorAction"});
    // The test's program folder has no translations, so no Language submenu follows.
    QTest::newRow("Window") << "menu" << 3 << QString() << "Window"
                            << "Window"
                            << names({"Vertical Windows", "Horizontal Windows", "-", "toggle Search phrases",
                                      "toggle Editing phrase", "-", "toggle Toolbar", "toggle Edit toolbar",
                                      "toggle Font toolbar"});
    QTest::newRow("Help") << "menu" << 4 << QString() << "&Help" << QString()
                          << names({"Content", "-", "Getting Started", "Technical Support", "Ordering Information", "-",
                                    "&About Quillary"});
    QTest::newRow("main toolbar") << "toolbar" << 0 << "ToolBar"
                                  << "Toolbar" << QString()
                                  << names({"Open Database...", "Create a database...", "Save Database As...", "-",
                                            "appendPhraseAction", "deletePhraseAction", "copyPhraseAction",
                                            "copyCellsAction", "pastePhraseAction"});
    QTest::newRow("edit toolbar") << "toolbar" << 1 << "Edit Tool Bar"
                                  << "Edit toolbar" << QString()
                                  << names({"undoAction", "redoAction", "cutAction", "copyAction", "pasteAction",
                                            "boldAction", "italicAction", "underlineAction", "alignLeftAction",
                                            "alignCenterAction", "alignRightAction", "justifyAction", "colorAction"});
    QTest::newRow("font toolbar") << "toolbar" << 2 << "FontToolBar"
                                  << "Font toolbar" << QString() << names({"fontCombo", "comboSize"});
}

void TestCommands::commandSurface()
{
    QFETCH(QString, kind);
    QFETCH(int, position);
    QFETCH(QString, objectName);
    QFETCH(QString, title);
    QFETCH(QString, statusTip);
    QFETCH(QStringList, entries);

    QWidget *container = nullptr;
    if (kind == QLatin1String("menubar")) {
        container = window->menuBar();
    } else if (kind == QLatin1String("menu")) {
        const QList<QAction *> menus = window->menuBar()->actions();
        QVERIFY(position < menus.size());
        QMenu *menu = menus.at(position)->menu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), title);
        QCOMPARE(menu->statusTip(), statusTip);
        container = menu;
    } else {
        QToolBar *bar = toolBarNamed(objectName);
        QVERIFY2(bar, qPrintable(objectName));
        QCOMPARE(bar->windowTitle(), title);
        QCOMPARE(window->toolBarArea(bar), Qt::TopToolBarArea);
        QVERIFY(bar->isVisible());
        // Added one after the other into one line, so they stand left to right in that order.
        QList<QToolBar *> bars = window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly);
        std::sort(bars.begin(), bars.end(), [](QToolBar *a, QToolBar *b) { return a->x() < b->x(); });
        QCOMPARE(bars.indexOf(bar), position);
        container = bar;
    }

    QStringList found;
    for (QAction *action : container->actions())
        found << describe(action);
    QCOMPARE(found, entries);
}

void TestCommands::windowActions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statusTip");
    QTest::addColumn<int>("standardKey");
    QTest::addColumn<bool>("lowPriority");
    QTest::addColumn<bool>("hasIcon");

    const int none = QKeySequence::UnknownKey;
    QTest::newRow("open") << "Open Database..."
                          << "Open Database..." << none << true << true;
    QTest::newRow("new") << "Create a database..."
                         << "Create a database..." << none << true << true;
    QTest::newRow("save as") << "Save Database As..."
                             << "Save Database As..." << none << true << true;
    QTest::newRow("export") << "Export..."
                            << "Save phrases to a text file" << none << false << false;
    QTest::newRow("import") << "Import..."
                            << "Loading phrases from a file and adding to current database" << none << false << false;
    QTest::newRow("exit") << "E&xit"
                          << "Exit the application" << int(QKeySequence::Quit) << false << false;
    QTest::newRow("vertical") << "Vertical Windows"
                              << "Vertical layout of the application windows" << none << false << false;
    QTest::newRow("horizontal") << "Horizontal Windows"
                                << "Horizontal layout of the application windows" << none << false << false;
    QTest::newRow("content") << "Content"
                             << "Displays content of Help" << int(QKeySequence::HelpContents) << false << false;
    QTest::newRow("started") << "Getting Started"
                             << "Getting Started" << none << false << false;
    QTest::newRow("support") << "Technical Support"
                             << "Technical Support" << none << false << false;
    QTest::newRow("order") << "Ordering Information"
                           << "Ordering Information" << none << false << false;
    QTest::newRow("about") << "&About Quillary"
                           << "Show the About box" << none << false << false;
}

void TestCommands::windowActions()
{
    QFETCH(QString, text);
    QFETCH(QString, statusTip);
    QFETCH(int, standardKey);
    QFETCH(bool, lowPriority);
    QFETCH(bool, hasIcon);

    QAction *action = windowAction(text);
    QVERIFY2(action, "no single action of the window with this text");
    QCOMPARE(action->statusTip(), statusTip);
    const QList<QKeySequence> shortcuts = standardKey == QKeySequence::UnknownKey
                                              ? QList<QKeySequence>()
                                              : QKeySequence::keyBindings(QKeySequence::StandardKey(standardKey));
    QCOMPARE(action->shortcuts(), shortcuts);
    QCOMPARE(action->priority(), lowPriority ? QAction::LowPriority : QAction::NormalPriority);
    QCOMPARE(!action->icon().isNull(), hasIcon);
    QVERIFY(!action->isCheckable());
    QVERIFY(action->isEnabled());

    // Hovering the entry shows its status tip, and field 1 repeats it.
    QLabel *field1 = statusField(1);
    QVERIFY(field1);
    field1->setText(QStringLiteral("stale"));
    QVERIFY(action->showStatusText(window->menuBar()));
    QCOMPARE(window->statusBar()->currentMessage(), statusTip);
    QCOMPARE(field1->text(), statusTip);
}

void TestCommands::statusFields_followStatusBarAndBrowser()
{
    QLabel *field1 = statusField(1);
    QLabel *field2 = statusField(2);
    QVERIFY(field1 && field2);
    QVERIFY(field1 != field2);

    window->statusBar()->showMessage(QStringLiteral("hovered"));
    QCOMPARE(field1->text(), QStringLiteral("hovered"));
    QVERIFY(field2->text() != field1->text());

    emit window->browser()->setMessage(QStringLiteral("3 phrases have been found."));
    QCOMPARE(field2->text(), QStringLiteral("3 phrases have been found."));
    QCOMPARE(field1->text(), QStringLiteral("hovered"));

    window->statusBar()->clearMessage();
    QVERIFY(field1->text().isEmpty());
    QCOMPARE(field2->text(), QStringLiteral("3 phrases have been found."));
}

void TestCommands::windowLayoutCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("sideBySide");

    QTest::newRow("as built") << QString() << "built" << false;
    const QStringList befores = names({"built", "browser floating", "editor floating", "both floating",
                                       "browser hidden", "editor hidden", "floating and hidden", "tabified"});
    for (const QString &before : befores) {
        QTest::newRow(qPrintable(QStringLiteral("vertical, ") + before)) << "Vertical Windows" << before << true;
        QTest::newRow(qPrintable(QStringLiteral("horizontal, ") + before)) << "Horizontal Windows" << before << false;
    }
}

void TestCommands::windowLayoutCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(bool, sideBySide);

    TypeFind *find = window->browser();
    TypeEdit *edit = window->phraseEditor();
    if (before == QLatin1String("browser floating") || before == QLatin1String("both floating"))
        find->setFloating(true);
    if (before == QLatin1String("editor floating") || before == QLatin1String("both floating") ||
        before == QLatin1String("floating and hidden"))
        edit->setFloating(true);
    if (before == QLatin1String("browser hidden") || before == QLatin1String("floating and hidden"))
        find->toggleViewAction()->trigger();
    if (before == QLatin1String("editor hidden"))
        edit->toggleViewAction()->trigger();
    if (before == QLatin1String("tabified"))
        window->tabifyDockWidget(find, edit);
    QCoreApplication::processEvents();

    if (!command.isEmpty()) {
        QAction *action = windowAction(command);
        QVERIFY(action);
        action->trigger();
    }

    QTRY_VERIFY(find->isVisible() && edit->isVisible());
    QVERIFY(!find->isFloating());
    QVERIFY(!edit->isFloating());
    QVERIFY(window->tabifiedDockWidgets(find).isEmpty());
    // Splitting puts the editor into the browser's area; as built they stand in two.
    if (!command.isEmpty())
        QCOMPARE(window->dockWidgetArea(edit), window->dockWidgetArea(find));

    const auto placed = [&] {
        const QRect a = find->geometry();
        const QRect b = edit->geometry();
        if (sideBySide)
            return b.left() > a.right() && b.top() < a.bottom() && a.top() < b.bottom();
        return b.top() > a.bottom() && b.left() < a.right() && a.left() < b.right();
    };
    QTRY_VERIFY2(placed(), qPrintable(QStringLiteral("browser %1,%2 %3x%4; editor %5,%6 %7x%8")
                                          .arg(find->x())
                                          .arg(find->y())
                                          .arg(find->width())
                                          .arg(find->height())
                                          .arg(edit->x())
                                          .arg(edit->y())
                                          .arg(edit->width())
                                          .arg(edit->height())));
}

void TestCommands::clipboardChange_recomputesDockActions_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<bool>("browserPaste");
    QTest::addColumn<bool>("browserCopy");
    QTest::addColumn<bool>("editorPaste");
    QTest::addColumn<bool>("editorFormat");

    QTest::newRow("table, text") << "table" << true << true << true << false << false;
    QTest::newRow("table, no text") << "table" << false << false << true << false << false;
    QTest::newRow("editor, text") << "editor" << true << false << false << true << true;
    QTest::newRow("editor, no text") << "editor" << false << false << false << false << true;
    QTest::newRow("search line, text") << "search" << true << false << false << false << false;
    QTest::newRow("search line, no text") << "search" << false << false << false << false << false;
}

void TestCommands::clipboardChange_recomputesDockActions()
{
    QFETCH(QString, focus);
    QFETCH(bool, clipboardText);
    QFETCH(bool, browserPaste);
    QFETCH(bool, browserCopy);
    QFETCH(bool, editorPaste);
    QFETCH(bool, editorFormat);

    TypeFind *find = window->browser();
    TypeEdit *edit = window->phraseEditor();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));

    QWidget *target = nullptr;
    if (focus == QLatin1String("table")) {
        QVERIFY(find->model->rowCount() > 0);
        find->table->selectionModel()->setCurrentIndex(find->model->index(0, TypeFind::ColStr),
                                                       QItemSelectionModel::ClearAndSelect);
        target = find->table;
    } else if (focus == QLatin1String("editor")) {
        edit->setHtml(QStringLiteral("a phrase to edit"));
        target = edit->editor;
    } else {
        target = find->findChild<QLineEdit *>();
    }
    QVERIFY(target);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());

    // Put every action into the wrong state, so only a recomputation can set it right.
    find->pastePhraseAction->setEnabled(!browserPaste);
    find->copyPhraseAction->setEnabled(!browserCopy);
    find->deletePhraseAction->setEnabled(!browserCopy);
    edit->pasteAction->setEnabled(!editorPaste);
    edit->boldAction->setEnabled(!editorFormat);
    edit->fontCombo->setEnabled(!editorFormat);
    find->setWindowTitle(QStringLiteral("stale"));
    find->copyPhraseAction->setText(QStringLiteral("stale"));

    auto *mime = new QMimeData;
    if (clipboardText)
        mime->setText(QStringLiteral("from another program"));
    else
        mime->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
    QApplication::clipboard()->setMimeData(mime);

    QTRY_COMPARE(find->pastePhraseAction->isEnabled(), browserPaste);
    QCOMPARE(find->copyPhraseAction->isEnabled(), browserCopy);
    QCOMPARE(find->deletePhraseAction->isEnabled(), browserCopy);
    QVERIFY(find->appendPhraseAction->isEnabled());
    QCOMPARE(edit->pasteAction->isEnabled(), editorPaste);
    QCOMPARE(edit->boldAction->isEnabled(), editorFormat);
    QCOMPARE(edit->fontCombo->isEnabled(), editorFormat);
    QCOMPARE(find->windowTitle(), QStringLiteral("Search phrases"));
    QCOMPARE(find->copyPhraseAction->text(), QStringLiteral("Copy Phrase"));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
