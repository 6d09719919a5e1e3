#include "app/databasecheckreason.h"
#include "app/foundphrases.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "app/serverdialog.h"
#include "browser/busyscope.h"
#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/databasefile.h"
#include "db/phraseconnection.h"
#include "db/serveraddress.h"
#include "db/settingskeys.h"
#include "db/tracecategories.h"
#include "db/typewatch.h"
#include "db/watchpause.h"
#include "editor/typeedit.h"
#include "exchange/databasereader.h"
#include "exchange/databasewriter.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/txtreader.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

// The window's database file: opening, creating and saving one, following the file when it is
// replaced or removed, and importing and exporting phrases.

void Quillary::showError(const QString &text)
{
    QMessageBox::warning(this, QObject::tr("Error"), text, QMessageBox::Ok);
}

bool Quillary::openDatabaseFile()
{
    QSqlDatabase db = phraseConnection(nameFileDB);
    if (!db.isValid()) {
        closeSplash();
        showError(QObject::tr("Unable to open the base - ") + shownLocation(nameFileDB) + QStringLiteral(": ") +
                  driverMissing(nameFileDB));
        return false;
    }
    // A password typed for another server is not handed to this one.
    db.setPassword(QString());
    QString error;
    DatabaseCheck check = DatabaseCheck::CannotOpen;
    do {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        check = openPhraseDatabase(db, nameFileDB, &error);
        QApplication::restoreOverrideCursor();
        if (check == DatabaseCheck::Ok)
            return true;
        closeSplash();
    } while (check == DatabaseCheck::PasswordNeeded && askPassword(db, error));
    // The file is named: a message at start-up or after a switch must say which one.
    const QString prefix = QObject::tr("Unable to open the base - ") + shownLocation(nameFileDB) + QStringLiteral(": ");
    const DatabaseCheckReason reason = describe(check, error);
    showError(prefix + (reason.noTable ? QObject::tr("table not found.") : reason.text));
    return false;
}

bool Quillary::askPassword(QSqlDatabase &db, const QString &refusal)
{
    bool given = false;
    // Kept by the connection alone, for its reconnects: never in the settings or a message.
    const QString password = QInputDialog::getText(
        this, QObject::tr("Password"),
        QObject::tr("%1\n\nThe password of %2 on %3:").arg(refusal.trimmed(), db.userName(), shownLocation(nameFileDB)),
        QLineEdit::Password, QString(), &given);
    if (!given)
        return false;
    db.setPassword(password);
    return true;
}

void Quillary::openRunFile(const QString &databaseFile)
{
    storedFile = nameFileDB;
    const bool server = ServerAddress::isServerAddress(databaseFile);
    runFile = server ? databaseFile : QFileInfo(databaseFile).absoluteFilePath();
    nameFileDB = runFile;
    // SQLite would make an empty database of a name that leads nowhere.
    if (server || QFileInfo(runFile).isFile()) {
        if (openDatabaseFile())
            return;
    } else {
        closeSplash();
        showError(QObject::tr("Unable to open the base - ") +
                  QObject::tr("there is no file %1.").arg(QDir::toNativeSeparators(runFile)));
    }
    nameFileDB = storedFile;
    openStoredDatabase();
}

void Quillary::openStoredDatabase()
{
    // A server that cannot be reached, or whose password was not given, leaves the user's own file.
    if (!openDatabaseFile() && ServerAddress::isServerAddress(nameFileDB)) {
        nameFileDB = startupDatabase(QString(), appPath);
        openDatabaseFile();
    }
}

void Quillary::closeDatabase()
{
    QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).close();
}

void Quillary::updateWindowTitle()
{
    QString title = applicationName;
    if (!nameFileDB.isEmpty())
        title += QStringLiteral(" - ") + withoutPassword(nameFileDB);
    // The browser has just probed the file; one probe an opening is enough.
    const QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (!nameFileDB.isEmpty() && db.isOpen() && typeFind->model->isReadOnly())
        title += QObject::tr(" [read-only]");
    setWindowTitle(title);
}

void Quillary::followReplacedFile()
{
    // Checked on a connection of its own first: a file that cannot be used must not take
    // the place of the phrases shown.
    QString error;
    const DatabaseCheck check = checkPhraseDatabase(nameFileDB, &error);
    if (check != DatabaseCheck::Ok) {
        databaseRemoved();
        return;
    }
    const QString path = nameFileDB;
    const QModelIndex current = typeFind->table->currentIndex();
    switchTo(path);
    if (!openDatabaseFile())
        return;
    bindBrowser();
    // The cursor stays where it was, so that Space and the editor go on working at once.
    const int rows = typeFind->model->rowCount();
    if (current.isValid() && rows > 0)
        typeFind->table->setCurrentIndex(typeFind->model->index(qMin(current.row(), rows - 1), current.column()));
    // The table that noticed the change has the focus still: it goes on watching.
    if (typeFind->table->hasFocus())
        typeFind->watcher->start(true);
}

void Quillary::databaseRemoved()
{
    if (databaseGone)
        return;
    databaseGone = true;
    // Writes would fail on a file no longer at its path; the phrases shown stay readable.
    typeFind->setReadOnly();
    typeEdit->setReadOnly(true);
    updateWindowTitle();
    QMessageBox::warning(this, QObject::tr("Warning"),
                         QObject::tr("The database file %1 is no longer there: it was removed, renamed or replaced "
                                     "by a file that cannot be used.\nThe phrases shown are kept; File > Save "
                                     "Database As writes them to a new file.")
                             .arg(shownLocation(nameFileDB)));
}

void Quillary::switchTo(const QString &path)
{
    closeDatabase();
    typeFind->stopWatching(nameFileDB);
    nameFileDB = path;
}

void Quillary::open()
{
    const QString name =
        QFileDialog::getOpenFileName(this, QObject::tr("Select Database File"), fileFolder(), QStringLiteral("*.db"));
    if (!name.isEmpty())
        openInstead(name);
}

void Quillary::connectServer()
{
    const QString last = settings->value(SettingsKeys::lastServer()).toString();
    ServerDialog dialog(ServerAddress::isServerAddress(nameFileDB) ? nameFileDB : last, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (openInstead(dialog.address()))
        settings->setValue(SettingsKeys::lastServer(), withoutPassword(nameFileDB));
}

QString Quillary::fileFolder() const
{
    if (ServerAddress::isServerAddress(nameFileDB))
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(nameFileDB).path();
}

bool Quillary::openInstead(const QString &name)
{
    const QString oldPath = nameFileDB;
    switchTo(name);
    if (openDatabaseFile()) {
        bindBrowser();
        return true;
    }
    nameFileDB = oldPath;
    if (openDatabaseFile())
        bindBrowser();
    return false;
}

bool Quillary::newDB()
{
    const QString oldPath = nameFileDB;
    QString name =
        QFileDialog::getSaveFileName(this, QObject::tr("Save As A New Database"), fileFolder(), QStringLiteral("*.db"));
    if (name.isEmpty())
        return false;
    name = withDbSuffix(name);

    // The open file is released first, so that it can be moved aside when it is the one replaced.
    const bool replacesOpenFile = isSameFile(name, oldPath);
    if (replacesOpenFile)
        switchTo(oldPath);
    if (!copyReplacing(appPath + QStringLiteral("/new.db"), name)) {
        if (replacesOpenFile && openDatabaseFile())
            bindBrowser();
        return false;
    }
    switchTo(name);
    if (openDatabaseFile()) {
        bindBrowser();
        return true;
    }
    // Never leave the program without a database: go back to the file that was open.
    switchTo(oldPath);
    if (openDatabaseFile())
        bindBrowser();
    return false;
}

void Quillary::saveAs()
{
    QString name =
        QFileDialog::getSaveFileName(this, QObject::tr("Save Database As"), fileFolder(), QStringLiteral("*.db"));
    if (name.isEmpty())
        return;
    name = withDbSuffix(name);

    const QString oldPath = nameFileDB;
    QString reason;
    bool copied = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (ServerAddress::isServerAddress(oldPath)) {
        // A server's phrases go into a new file made from the template; the window then works on it.
        QSqlQuery query;
        copied = selectFound(query, foundFields(PhraseFormat::Database), QString(), -1, &reason) &&
                 writePhraseDatabase(name, appPath + QStringLiteral("/new.db"),
                                     foundRows(query, PhraseFormat::Database), nullptr, &reason);
        query.finish();
        if (copied)
            switchTo(oldPath);
    } else if (databaseGone) {
        // Only the open connection still holds these phrases: they are written from it.
        copied = copyOpenDatabase(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false), name,
                                  &reason);
        switchTo(oldPath);
    } else {
        switchTo(oldPath);
        // Saving the open file onto itself has nothing to copy.
        copied = isSameFile(name, oldPath) || copyReplacing(oldPath, name, &reason);
    }
    QApplication::restoreOverrideCursor();
    if (!copied) {
        // Reopen the file that was open rather than anything else under the new name.
        showError(QObject::tr("Unable to save the base - ") + QDir::toNativeSeparators(name) + QStringLiteral("\n") +
                  reason);
        if (openDatabaseFile())
            bindBrowser();
        return;
    }
    nameFileDB = name;
    if (openDatabaseFile())
        bindBrowser();
}

// Import and export ---------------------------------------------------------------

QString Quillary::exchangeFolder() const
{
    return QFileInfo(nameIni.isEmpty() ? nameFileDB : nameIni).path();
}

void Quillary::importDB()
{
    const QString chosen =
        QFileDialog::getOpenFileName(this, QObject::tr("Loading phrases from a file and adding to current database"),
                                     exchangeFolder(), QStringLiteral("Phrase files (*.txt *.ini *.db)"));
    if (chosen.isEmpty())
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(nullptr, QObject::tr("Warning"), QObject::tr("Create a new database for importing?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes && !newDB())
        return;

    const PhraseFormat format = importFormat(chosen);
    const bool ini = format == PhraseFormat::Ini;
    nameIni = format == PhraseFormat::Txt ? txtImportName(chosen) : chosen;
    ImportReport report;
    {
        // The import's own writes must never look like another program's change.
        const WatchPause pause(typeFind->watcher);
        if (ini)
            qCDebug(lcImport) << "import start";
        int n = -1;
        {
            const BusyScope busy(progressBar);
            if (format == PhraseFormat::Database)
                n = importDatabase(nameIni, &report, busy.progress());
            else
                n = ini ? importIni(nameIni, &report, busy.progress()) : importTxt(nameIni, &report, busy.progress());
        }
        if (n >= 0) {
            typeFind->findStart(false);
            statusLabel2->setText(QObject::tr("%n phrase(s) have been imported.", "", n));
        }
    }
    if (ini)
        qCDebug(lcImport) << "import stop";
    if (!report.error.isEmpty())
        showError(report.error);
}

void Quillary::exportDB()
{
    QString filter;
    const QString chosen =
        QFileDialog::getSaveFileName(nullptr, QObject::tr("Save phrases to a text file"), exchangeFolder(),
                                     QStringLiteral("*.txt ;; *.ini ;; *.db"), &filter);
    if (chosen.isEmpty())
        return;
    const PhraseFormat format = exportFormat(filter);
    const QString name = exportName(chosen, format);
    // The dialog asked about the name typed; a completed name may hit another file.
    if (name != chosen && QFileInfo::exists(name)) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            this, QObject::tr("Warning"),
            QObject::tr("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(name)),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    nameIni = name;
    const BusyScope busy(progressBar);
    if (format == PhraseFormat::Database)
        typeFind->exportDatabase(nameIni, appPath + QStringLiteral("/new.db"), busy.progress());
    else if (format == PhraseFormat::Ini)
        typeFind->exportIni(nameIni, busy.progress());
    else
        typeFind->exportTxt(nameIni, busy.progress());
}
