#ifndef BROWSERFIXTURE_H
#define BROWSERFIXTURE_H

#include "app/globals.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "../common/testhome.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// A phrase file of the real schema (a copy of the empty template) open on the
// default connection, and the browser dock in a window whose focus rests
// elsewhere, so that the watcher stays quiet unless a test gives the table focus.
class BrowserFixture
{
protected:
    void openPhraseFile()
    {
        home.reset(new TestHome);
        path = home->path() + QStringLiteral("/phrases.db");
        QVERIFY(QFile::copy(QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db"), path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        nameFileDB = path;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QApplication::clipboard()->clear();
    }

    void closePhraseFile()
    {
        window.reset();
        find = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::database().close();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        home.reset();
    }

    // The table is sorted by phrase and has no current cell.
    void showBrowser()
    {
        window.reset(new QMainWindow);
        find = new TypeFind(window.data());
        window->addDockWidget(Qt::TopDockWidgetArea, find);
        find->connectSignals();
        elsewhere = new QLineEdit(window.data());
        window->setCentralWidget(elsewhere);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        elsewhere->setFocus();
        QTRY_VERIFY(elsewhere->hasFocus());
        find->table->sortByColumn(TypeFind::ColStr, Qt::AscendingOrder);
        find->table->setCurrentIndex(QModelIndex());
    }

public:
    // One line per result row of the phrase file, fields joined by '|'.
    static QStringList rows(const QString &sql)
    {
        QStringList lines;
        QSqlQuery query(sql);
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
            lines << fields.join(QLatin1Char('|'));
        }
        return lines;
    }

protected:
    QScopedPointer<TestHome> home;
    QString path;
    QScopedPointer<QMainWindow> window;
    TypeFind *find = nullptr;
    QLineEdit *elsewhere = nullptr;
};

#endif // BROWSERFIXTURE_H
