#include "../common/testhome.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QClipboard>
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

class TestCommands : public QObject
{
    Q_OBJECT

    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;

    // Names an entry by its text after the object name of its nearest named owner, so the docks'
    // commands must be their own actions, not look-alike copies made by the window.
    QString describe(QAction *action) const
    {
        if (action->isSeparator())
            return QStringLiteral("-");
        if (auto *widgetAction = qobject_cast<QWidgetAction *>(action)) {
            QWidget *widget = widgetAction->defaultWidget();
            TypeEdit *edit = window->phraseEditor();
            return widget == edit->fontCombo   ? QStringLiteral("fontCombo")
                   : widget == edit->comboSize ? QStringLiteral("comboSize")
                                               : QStringLiteral("widget");
        }
        for (QObject *owner = action->parent(); owner && owner != window.data(); owner = owner->parent()) {
            if (!owner->objectName().isEmpty())
                return owner->objectName() + QLatin1Char(':') + action->text();
        }
        return action->text();
    }

    QAction *windowAction(const QString &text) const
    {
        QList<QAction *> found;
        for (QAction *action : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
            if (action->text() == text)
                found << action;
        return found.size() == 1 ? found.first() : nullptr; // two under one text cannot be told apart
    }

    QLabel *statusField(int n) const
    {
        for (QFrame *frame : window->statusBar()->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (frame->layout() && frame->layout()->count() == 2)
                return qobject_cast<QLabel *>(frame->layout()->itemAt(n - 1)->widget());
        }
        return nullptr;
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(images); }

    void init()
    {
        home.reset(new TestHome);
        nameFileDB.clear();
        language.clear();
        window.reset(new Quillary);
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    }

    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        home.reset();
    }

    // One line per menu and toolbar, left to right: title, status tip, entries.
    void commandSurface()
    {
        QStringList lines;
        const auto dump = [&](const QString &head, QWidget *container) {
            QStringList entries;
            for (QAction *action : container->actions())
                entries << describe(action);
            lines << head + QStringLiteral(": ") + entries.join(QLatin1Char('|'));
        };
        for (QAction *item : window->menuBar()->actions()) {
            QVERIFY2(item->menu(), qPrintable(item->text()));
            dump(item->menu()->title() + QLatin1Char('/') + item->menu()->statusTip(), item->menu());
        }
        // Added one after the other into one line at the top.
        QList<QToolBar *> bars = window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly);
        std::sort(bars.begin(), bars.end(), [](QToolBar *a, QToolBar *b) { return a->x() < b->x(); });
        for (QToolBar *bar : bars) {
            QCOMPARE(window->toolBarArea(bar), Qt::TopToolBarArea);
            QVERIFY(bar->isVisible());
            dump(bar->objectName() + QLatin1Char('/') + bar->windowTitle(), bar);
        }
        // The test's program folder has no translations, so no Language submenu follows.
        const QStringList expected =
            QStringLiteral(
                "&File/: Open Database...|Create a database...|Save Database As...|-|Export...|Import...|-|E&xit\n"
                "Phrase/Phrase: TypeFind:Copy Phrase|TypeFind:Copy text from cells|TypeFind:Paste Phrase|"
                "TypeFind:Append Phrase|TypeFind:Delete Phrase\n"
                "Edit/Edit: TypeEdit:Undo|TypeEdit:Redo|-|TypeEdit:Cut|TypeEdit:Copy|TypeEdit:Paste|-|TypeEdit:Bold|"
                "TypeEdit:Italic|TypeEdit:Underline|TypeEdit:Align Left|TypeEdit:Center|TypeEdit:Align Right|"
                "TypeEdit:Justify|TypeEdit:Text Color\n"
                "Window/Window: Vertical Windows|Horizontal Windows|-|TypeFind:Search phrases|TypeEdit:Editing "
                "phrase|-|"
                "ToolBar:Toolbar|Edit Tool Bar:Edit toolbar|FontToolBar:Font toolbar\n"
                "&Help/: Content|-|Getting Started|Technical Support|Ordering Information|-|&About Quillary\n"
                "ToolBar/Toolbar: Open Database...|Create a database...|Save Database As...|-|TypeFind:Append Phrase|"
                "TypeFind:Delete Phrase|TypeFind:Copy Phrase|TypeFind:Copy text from cells|TypeFind:Paste Phrase\n"
                "Edit Tool Bar/Edit toolbar: TypeEdit:Undo|TypeEdit:Redo|TypeEdit:Cut|TypeEdit:Copy|TypeEdit:Paste|"
                "TypeEdit:Bold|TypeEdit:Italic|TypeEdit:Underline|TypeEdit:Align Left|TypeEdit:Center|"
                "TypeEdit:Align Right|TypeEdit:Justify|TypeEdit:Text Color\n"
                "FontToolBar/Font toolbar: fontCombo|comboSize")
                .split(QLatin1Char('\n'));
        QCOMPARE(lines, expected);
    }

    // Hovering an entry shows its status tip in field 1; field 2 keeps the browser's message.
    void statusFields()
    {
        QLabel *field1 = statusField(1);
        QLabel *field2 = statusField(2);
        QVERIFY(field1 && field2 && field1 != field2);
        QAction *exportAction = windowAction(QStringLiteral("Export..."));
        QVERIFY(exportAction);
        QVERIFY(exportAction->showStatusText(window->menuBar()));
        QCOMPARE(field1->text(), QStringLiteral("Save phrases to a text file"));
        QVERIFY(field2->text() != field1->text());

        const QString found = QStringLiteral("3 phrases have been found.");
        emit window->browser()->setMessage(found);
        QCOMPARE(field2->text(), found);
        QCOMPARE(field1->text(), QStringLiteral("Save phrases to a text file"));
        window->statusBar()->clearMessage();
        QVERIFY(field1->text().isEmpty());
        QCOMPARE(field2->text(), found);
    }

    void windowLayoutCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("sideBySide");

        QTest::newRow("as built") << QString() << QString() << false;
        for (const char *before : {"built", "find:float edit:float", "find:hide", "edit:float edit:hide", "tabified"}) {
            QTest::addRow("vertical, %s", before) << "Vertical Windows" << before << true;
            QTest::addRow("horizontal, %s", before) << "Horizontal Windows" << before << false;
        }
    }

    void windowLayoutCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, before);
        QFETCH(bool, sideBySide);

        TypeFind *find = window->browser();
        TypeEdit *edit = window->phraseEditor();
        for (QDockWidget *dock : {static_cast<QDockWidget *>(find), static_cast<QDockWidget *>(edit)}) {
            const QString prefix = dock == find ? QStringLiteral("find:") : QStringLiteral("edit:");
            dock->setFloating(before.contains(prefix + QStringLiteral("float")));
            if (before.contains(prefix + QStringLiteral("hide")))
                dock->toggleViewAction()->trigger();
        }
        if (before == QLatin1String("tabified"))
            window->tabifyDockWidget(find, edit);
        QCoreApplication::processEvents();
        if (!command.isEmpty()) {
            QAction *action = windowAction(command);
            QVERIFY(action);
            action->trigger();
        }

        QTRY_VERIFY(find->isVisible() && edit->isVisible());
        QVERIFY(!find->isFloating() && !edit->isFloating());
        QVERIFY(window->tabifiedDockWidgets(find).isEmpty());
        // Splitting puts the editor into the browser's area; as built they stand in two.
        if (!command.isEmpty())
            QCOMPARE(window->dockWidgetArea(edit), window->dockWidgetArea(find));
        QTRY_VERIFY([&] {
            const QRect a = find->geometry();
            const QRect b = edit->geometry();
            return sideBySide ? b.left() > a.right() && b.top() < a.bottom() && a.top() < b.bottom()
                              : b.top() > a.bottom() && b.left() < a.right() && a.left() < b.right();
        }());
    }

    void clipboardChange_recomputesDockActions_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("clipboardText");
        QTest::addColumn<QString>("enabled"); // the recomputed actions that end up enabled, in order

        QTest::newRow("table, text") << "table" << true << "pastePhrase copyPhrase deletePhrase";
        QTest::newRow("table, no text") << "table" << false << "copyPhrase deletePhrase";
        QTest::newRow("editor, text") << "editor" << true << "paste bold fontCombo";
        QTest::newRow("editor, no text") << "editor" << false << "bold fontCombo";
        QTest::newRow("search line, text") << "search" << true << QString();
    }

    void clipboardChange_recomputesDockActions()
    {
        QFETCH(QString, focus);
        QFETCH(bool, clipboardText);
        QFETCH(QString, enabled);

        TypeFind *find = window->browser();
        TypeEdit *edit = window->phraseEditor();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        QWidget *target = find->findChild<QLineEdit *>();
        if (focus == QLatin1String("table")) {
            QVERIFY(find->model->rowCount() > 0);
            find->table->selectionModel()->setCurrentIndex(find->model->index(0, TypeFind::ColStr),
                                                           QItemSelectionModel::ClearAndSelect);
            target = find->table;
        } else if (focus == QLatin1String("editor")) {
            edit->setHtml(QStringLiteral("a phrase to edit"));
            target = edit->editor;
        }
        QVERIFY(target);
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());

        // Put every action into the wrong state, so only a recomputation can set it right.
        const QList<QPair<QObject *, const char *>> recomputed = {{find->pastePhraseAction, "pastePhrase"},
                                                                  {find->copyPhraseAction, "copyPhrase"},
                                                                  {find->deletePhraseAction, "deletePhrase"},
                                                                  {edit->pasteAction, "paste"},
                                                                  {edit->boldAction, "bold"},
                                                                  {edit->fontCombo, "fontCombo"}};
        const QStringList on = enabled.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const auto &entry : recomputed)
            entry.first->setProperty("enabled", !on.contains(QLatin1String(entry.second)));
        find->setWindowTitle(QStringLiteral("stale"));
        find->copyPhraseAction->setText(QStringLiteral("stale"));
        const auto nowEnabled = [&] {
            QStringList names;
            for (const auto &entry : recomputed)
                if (entry.first->property("enabled").toBool())
                    names << QLatin1String(entry.second);
            return names;
        };

        auto *mime = new QMimeData;
        if (clipboardText)
            mime->setText(QStringLiteral("from another program"));
        else
            mime->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
        QApplication::clipboard()->setMimeData(mime);

        QTRY_COMPARE(nowEnabled(), on);
        QVERIFY(find->appendPhraseAction->isEnabled());
        QCOMPARE(find->windowTitle(), QStringLiteral("Search phrases"));
        QCOMPARE(find->copyPhraseAction->text(), QStringLiteral("Copy Phrase"));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
