#include "../common/testhome.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QToolBar>
#include <QtTest>

#include <functional>

namespace {

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

const QString builtTranslations = QStringLiteral(QUILLARY_TRANSLATIONS_DIR);

QString translationsFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(images);
        if (!QFile::exists(builtTranslations + QStringLiteral("/Quillary_ru.qm")))
            QSKIP("no compiled translations: the build found no lrelease");
    }
    void init()
    {
        home.reset(new TestHome);
        nameFileDB.clear();
        language.clear();
        QDir(translationsFolder()).removeRecursively();
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QDir(translationsFolder()).removeRecursively();
        home.reset();
    }
    void startUp_buildsMenuFromFiles_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("checked");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("fileMenu");

        const QStringList both = strings({"Quillary_en.qm=Quillary_en.qm", "Quillary_ru.qm=Quillary_ru.qm"});
        const QStringList listed = strings({"&1 English", "&2 Русский"});
        const QStringList russianFirst = strings({"&1 Русский", "&2 English"});
        const QString file = QStringLiteral("&File");
        const QString fileRu = QStringLiteral("&Файл");

        QTest::newRow("first start picks English")
            << both << QString() << listed << strings({"en", "ru"}) << 0 << "en" << file;
        QTest::newRow("English sorting last")
            << strings({"Quillary_aa.qm=Quillary_ru.qm", "Quillary_zz.qm=Quillary_en.qm"}) << QString() << russianFirst
            << strings({"aa", "zz"}) << 1 << "zz" << file;
        QTest::newRow("order ignores case") << strings({"Quillary_B.qm=Quillary_en.qm", "Quillary_a.qm=Quillary_ru.qm"})
                                            << QString() << russianFirst << strings({"a", "B"}) << 1 << "B" << file;
        QTest::newRow("stored language") << both << "ru" << listed << strings({"en", "ru"}) << 1 << "ru" << fileRu;
        QTest::newRow("stored code is case-sensitive")
            << both << "RU" << listed << strings({"en", "ru"}) << -1 << "ru" << fileRu;
        QTest::newRow("code keeps inner underscores")
            << strings({"Quillary_en.qm=Quillary_en.qm", "Quillary_pt_BR.qm=Quillary_ru.qm"}) << "pt_BR" << listed
            << strings({"en", "pt_BR"}) << 1 << "pt_BR" << fileRu;
        QTest::newRow("unreadable file has no name")
            << strings({"Quillary_en.qm=Quillary_en.qm", "Quillary_xx.qm=broken"}) << QString()
            << strings({"&1 English", "&2 "}) << strings({"en", "xx"}) << 0 << "en" << file;
        QTest::newRow("no file") << QStringList() << "de" << QStringList() << QStringList() << -1 << QString() << file;
        QTest::newRow("only program files count")
            << strings({"Quillary_ru.qm=Quillary_ru.qm", "QtBase_en.qm=Quillary_en.qm", "Quillary.qm=Quillary_en.qm"})
            << QString() << strings({"&1 Русский"}) << strings({"ru"}) << -1 << "ru" << fileRu;
    }

    void startUp_buildsMenuFromFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, codes);
        QFETCH(int, checked);
        QFETCH(QString, chosen);
        QFETCH(QString, fileMenu);

        installFiles(files);
        start(stored);

        QMenu *menu = languageMenu();
        QVERIFY(menu);
        QStringList texts;
        QStringList data;
        int checkedAt = -1;
        const QList<QAction *> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i) {
            texts << actions[i]->text();
            data << actions[i]->data().toString();
            QVERIFY(actions[i]->isCheckable());
            if (actions[i]->isChecked()) {
                QCOMPARE(checkedAt, -1);
                checkedAt = i;
            }
        }
        QCOMPARE(texts, entries);
        QCOMPARE(data, codes);
        QCOMPARE(checkedAt, checked);
        QCOMPARE(language, chosen);
        // The start-up loads the language it settled on.
        QCOMPARE(menuAt(0)->title(), fileMenu);

        // Fewer than two languages leave the Window menu ending with the toolbar toggles.
        const QList<QAction *> windowMenu = menuAt(3)->actions();
        const bool shown = entries.size() > 1;
        QCOMPARE(windowMenu.last()->menu() == menu, shown);
        QCOMPARE(windowMenu.value(windowMenu.size() - 2)->isSeparator(), shown);
        QVERIFY(!windowMenu.last()->isSeparator());
        QCOMPARE(menu->isEnabled(), shown);
    }

    void switchLanguage_retranslatesEverythingAtOnce()
    {
        installFiles(
            {QStringLiteral("Quillary_en.qm=Quillary_en.qm"), QStringLiteral("Quillary_ru.qm=Quillary_ru.qm")});
        start();
        const QMap<QString, QString> english = visibleTexts();
        QVERIFY(english.size() > 60);

        QMenu *menu = languageMenu();
        QVERIFY(menu);
        menu->actions().at(1)->trigger();
        QCOMPARE(language, QStringLiteral("ru"));
        QVERIFY(menu->actions().at(1)->isChecked());
        const QMap<QString, QString> russian = visibleTexts();
        QCOMPARE(russian.keys(), english.keys());

        // Everything changes but the language names, which come from their files.
        QStringList wrong;
        int names = 0;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            const bool name =
                it.value() == menu->actions().at(0)->text() || it.value() == menu->actions().at(1)->text();
            names += name;
            if ((russian.value(it.key()) == it.value()) != name)
                wrong << it.key() + QStringLiteral(": ") + russian.value(it.key());
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(" | "))));
        QCOMPARE(names, 2);
        QCOMPARE(menuAt(0)->actions().at(2)->text(), QStringLiteral("Сохранить базу данных как..."));

        menu->actions().at(0)->trigger();
        QCOMPARE(language, QStringLiteral("en"));
        QCOMPARE(visibleTexts(), english);
    }

    void switchLanguage_qtTextsNeedTheirOwnFile_data()
    {
        QTest::addColumn<bool>("qtFile");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("with Qt's file") << true << QStringLiteral("Отмена");
        QTest::newRow("without Qt's file") << false << QStringLiteral("Cancel");
    }

    void switchLanguage_qtTextsNeedTheirOwnFile()
    {
        QFETCH(bool, qtFile);
        QFETCH(QString, cancel);

        if (qtFile && !QFile::exists(builtTranslations + QStringLiteral("/QtBase_ru.qm")))
            QSKIP("Qt's own Russian texts were not found at build time (qttranslations5-l10n)");
        QStringList files{QStringLiteral("Quillary_en.qm=Quillary_en.qm"),
                          QStringLiteral("Quillary_ru.qm=Quillary_ru.qm")};
        if (qtFile)
            files << QStringLiteral("QtBase_ru.qm=QtBase_ru.qm");
        installFiles(files);
        start();
        languageMenu()->actions().at(1)->trigger();

        QCOMPARE(menuAt(0)->title(), QStringLiteral("&Файл"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), cancel);
    }

    void chosenLanguage_storedOnlyWhenClosed_data()
    {
        QTest::addColumn<bool>("close");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("fileMenu");
        QTest::newRow("closed") << true << QVariant(QStringLiteral("ru")) << QStringLiteral("&Файл");
        QTest::newRow("left without closing") << false << QVariant() << QStringLiteral("&File");
    }

    void chosenLanguage_storedOnlyWhenClosed()
    {
        QFETCH(bool, close);
        QFETCH(QVariant, stored);
        QFETCH(QString, fileMenu);

        installFiles(
            {QStringLiteral("Quillary_en.qm=Quillary_en.qm"), QStringLiteral("Quillary_ru.qm=Quillary_ru.qm")});
        start();
        languageMenu()->actions().at(1)->trigger();
        if (close)
            QVERIFY(window->close());
        window.reset();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QCOMPARE(QSettings(organizationName, applicationName).value(QStringLiteral("Settings/Language")), stored);

        language.clear();
        start();
        QCOMPARE(menuAt(0)->title(), fileMenu);
        QCOMPARE(languageMenu()->actions().at(1)->isChecked(), close);
    }

private:
    // Each entry is "target file name=source", the source being a built file or "broken".
    void installFiles(const QStringList &files)
    {
        QVERIFY(QDir().mkpath(translationsFolder()));
        for (const QString &file : files) {
            const QString target = translationsFolder() + QLatin1Char('/') + file.section(QLatin1Char('='), 0, 0);
            const QString source = file.section(QLatin1Char('='), 1);
            if (source == QLatin1String("broken")) {
                QFile broken(target);
                QVERIFY(broken.open(QIODevice::WriteOnly));
                broken.write("not a translation file");
            } else {
                QVERIFY2(QFile::copy(builtTranslations + QLatin1Char('/') + source, target), qPrintable(source));
            }
        }
    }
    void start(const QString &storedLanguage = QString())
    {
        if (!storedLanguage.isNull()) {
            QSettings settings(organizationName, applicationName);
            settings.setValue(QStringLiteral("Settings/Language"), storedLanguage);
        }
        window.reset(new Quillary);
    }
    QMenu *menuAt(int index) const { return window->menuBar()->actions().value(index)->menu(); }
    // The submenu exists even when it is not hung into the Window menu.
    QMenu *languageMenu() const
    {
        const QList<QMenu *> menus = menuAt(3)->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
        return menus.size() == 1 ? menus.first() : nullptr;
    }

    // Every text a user reads in menus, toolbars, docks and table header, keyed by where it sits.
    QMap<QString, QString> visibleTexts() const
    {
        QMap<QString, QString> texts;
        const auto add = [&texts](const QString &key, const QString &text) {
            if (!text.isEmpty())
                texts.insert(key, text);
        };
        std::function<void(const QString &, QWidget *)> addBar = [&](const QString &key, QWidget *bar) {
            const QMenu *menu = qobject_cast<QMenu *>(bar);
            add(key + QStringLiteral(" title"), menu ? menu->title() : bar->windowTitle());
            add(key + QStringLiteral(" tip"), bar->statusTip());
            const QList<QAction *> actions = bar->actions();
            for (int i = 0; i < actions.size(); ++i) {
                const QString at = key + QLatin1Char('/') + QString::number(i);
                if (actions[i]->menu()) {
                    addBar(at, actions[i]->menu());
                    continue;
                }
                add(at + QStringLiteral(" text"), actions[i]->text());
                add(at + QStringLiteral(" tip"), actions[i]->statusTip());
            }
        };
        const QList<QAction *> menus = window->menuBar()->actions();
        for (int i = 0; i < menus.size(); ++i)
            addBar(QStringLiteral("menu ") + QString::number(i), menus[i]->menu());
        const QList<QToolBar *> toolBars = window->findChildren<QToolBar *>();
        for (int i = 0; i < toolBars.size(); ++i)
            addBar(QStringLiteral("toolbar ") + QString::number(i), toolBars[i]);
        const QList<QDockWidget *> docks = window->findChildren<QDockWidget *>();
        for (int i = 0; i < docks.size(); ++i) {
            const QString key = QStringLiteral("dock ") + QString::number(i);
            add(key + QStringLiteral(" title"), docks[i]->windowTitle());
            const QList<QLabel *> labels = docks[i]->findChildren<QLabel *>();
            for (int j = 0; j < labels.size(); ++j)
                add(key + QStringLiteral(" label ") + QString::number(j), labels[j]->text());
        }

        const SQLTable *table = window->browser()->table;
        for (int column = 0; column < table->model()->columnCount(); ++column) {
            if (!table->isColumnHidden(column))
                add(QStringLiteral("header ") + QString::number(column),
                    table->model()->headerData(column, Qt::Horizontal).toString());
        }
        return texts;
    }

    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
