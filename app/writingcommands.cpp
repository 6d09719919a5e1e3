#include "app/commandrunner.h"
#include "app/globals.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/sqldialect.h"
#include "db/sqlerrortext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The commands that change the database or make one: --add, --set, --delete and --init.

int CommandRunner::add(const CommandLine &line)
{
    PhraseRecord phrase;
    phrase.str = line.text;
    phrase.labels = line.labels.value_or(QString(QLatin1String("")));
    phrase.keyWord = line.comment.value_or(QString(QLatin1String("")));
    phrase.rating = line.rating.value_or(0);
    QVector<qint64> ids;
    QString error;
    if (!PhraseStore().insert({phrase}, &ids, &error) || ids.isEmpty())
        return fail(QObject::tr("Cannot store the phrase in %1: %2").arg(shownLocation(path), error));
    return write(QByteArray::number(ids.first()) + '\n') ? 0 : 1;
}

int CommandRunner::set(const CommandLine &line)
{
    const qint64 id = line.id;
    const auto cannot = [id](const QString &error) {
        return QObject::tr("Cannot change phrase %1: %2").arg(id).arg(error);
    };
    // Nothing may write the phrase between reading and writing it, and the fields go all or none.
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery begin(db);
    if (!begin.exec(SqlDialect(db).beginWrite()))
        return fail(cannot(sqlErrorText(begin.lastError())));
    struct Rollback
    {
        QSqlDatabase &db;
        bool open = true;
        ~Rollback()
        {
            if (open)
                db.rollback();
        }
    } transaction{db};

    PhraseStore store;
    PhraseRecord now;
    bool found = false;
    QString error;
    if (!store.read(id, &now, &found, &error))
        return fail(cannot(error));
    const QString deleted = QObject::tr("Another window or program deleted phrase %1: nothing was stored.").arg(id);
    const QString changed =
        QObject::tr("Another window or program changed phrase %1: it no longer holds the value of --if-unchanged, "
                    "and nothing was stored.")
            .arg(id);
    if (!found)
        return fail(line.ifUnchanged ? deleted : noSuchPhrase(id));

    struct Change
    {
        PhraseStore::Field field;
        QVariant value;
        QVariant held;
    };
    QVector<Change> changes;
    if (line.hasText)
        changes.append({PhraseStore::Str, line.text, now.str});
    if (line.labels)
        changes.append({PhraseStore::Labels, *line.labels, now.labels});
    if (line.comment)
        changes.append({PhraseStore::KeyWord, *line.comment, now.keyWord});
    if (line.rating)
        changes.append({PhraseStore::Rating, *line.rating, now.rating});
    if (line.ifUnchanged) {
        // It goes with one field. A file that holds the new value already needs no write.
        const Change &only = changes.first();
        const bool held = only.field == PhraseStore::Rating ? only.held.toLongLong() == line.ifUnchanged->toLongLong()
                                                            : only.held.toString() == *line.ifUnchanged;
        if (!held)
            return only.held == only.value ? 0 : fail(changed);
    }
    for (const Change &change : changes) {
        // As a cell edit: a text given as it was keeps its rich text.
        if (change.field == PhraseStore::Str && change.value == change.held)
            continue;
        const PhraseStore::Outcome outcome =
            change.field == PhraseStore::Str
                ? store.setText(id, change.value.toString(), QString(QLatin1String("")), change.held, now.html, &error)
                : store.setField(id, change.field, change.value, change.held, &error);
        if (outcome == PhraseStore::Outcome::Conflict || outcome == PhraseStore::Outcome::Gone)
            return fail(outcome == PhraseStore::Outcome::Gone ? deleted : changed);
        if (outcome == PhraseStore::Outcome::Failed)
            return fail(cannot(error));
    }
    if (!db.commit())
        return fail(cannot(sqlErrorText(db.lastError())));
    transaction.open = false;
    return 0;
}

int CommandRunner::remove(const QVector<qint64> &ids)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                      .arg(PhraseStore::tableName(), PhraseStore::fieldName(PhraseStore::Id)));
    for (const qint64 id : ids) {
        query.addBindValue(id);
        if (!query.exec())
            return fail(unreadable(path, sqlErrorText(query.lastError())));
        const bool found = query.next();
        query.finish();
        if (!found)
            return fail(QObject::tr("There is no phrase with the id %1: nothing was deleted.").arg(id));
    }
    QString error;
    if (!PhraseStore().remove(ids, &error))
        return fail(QObject::tr("Cannot delete the phrases: %1").arg(error));
    return 0;
}

int CommandRunner::init(const QString &file)
{
    const QString templateName = programDataFolder() + QStringLiteral("/new.db");
    const auto cannot = [&file](const QString &why) {
        return QObject::tr("Cannot create %1: %2").arg(QDir::toNativeSeparators(file), why);
    };
    QFile source(templateName);
    if (!source.open(QIODevice::ReadOnly))
        return fail(cannot(QObject::tr("the template %1 cannot be read: %2")
                               .arg(QDir::toNativeSeparators(templateName), source.errorString())));
    const QFileInfo info(file);
    if (info.exists() || info.isSymLink())
        return fail(cannot(QObject::tr("the file already exists")));
    // Made new or not at all, even when another program creates the name meanwhile.
    QFile target(file);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(cannot(target.errorString()));
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError || target.write(bytes) != bytes.size() || !target.flush()) {
        const QString why = source.error() != QFileDevice::NoError ? source.errorString() : target.errorString();
        target.remove();
        return fail(cannot(why));
    }
    return 0;
}
