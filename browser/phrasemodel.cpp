#include "browser/phrasemodel.h"

#include "db/serverdatabase.h"
#include "db/sqldialect.h"

#include <QSqlRecord>

PhraseModel::PhraseModel(QObject *parent, const QSqlDatabase &db)
    : QSqlTableModel(parent, db)
    // The model resolves an invalid db to the default connection; the store writes where the model reads.
    , phraseStore(database().connectionName())
{}

QVariant PhraseModel::data(const QModelIndex &index, int role) const
{
    if (!counts.isEmpty() && (role == Qt::DisplayRole || role == Qt::EditRole) &&
        index.column() == column(PhraseStore::Frequency)) {
        const QVariant id = QSqlTableModel::data(this->index(index.row(), column(PhraseStore::Id)));
        const auto counted = counts.constFind(id.toLongLong());
        if (!id.isNull() && counted != counts.cend())
            return *counted;
    }
    const QVariant value = QSqlTableModel::data(index, role);
    if (role == Qt::DisplayRole && value.type() == QVariant::String) {
        const QString text = value.toString();
        if (text.size() > shownLength)
            return QVariant(text.left(shownLength) + QChar(0x2026));
    }
    return value;
}

Qt::ItemFlags PhraseModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QSqlTableModel::flags(index);
    if (fileReadOnly || QSqlTableModel::data(index, Qt::EditRole).toString().size() > editableLength)
        return flags & ~Qt::ItemIsEditable;
    return flags;
}

void PhraseModel::setTable(const QString &tableName)
{
    QSqlTableModel::setTable(SqlDialect(database()).modelTable(tableName));
    const QSqlRecord fields = record();
    columns.clear();
    for (int f = 0; f < PhraseStore::fieldCount; ++f)
        columns << PhraseStore::column(fields, PhraseStore::Field(f));
}

bool PhraseModel::reachable()
{
    QSqlDatabase db = database();
    if (!isServerConnection(db))
        return true;
    bool again = false;
    QString error;
    if (!serverReachable(db, &again, &error)) {
        emit notice(QObject::tr("The connection to the server is lost; the phrases shown are kept, and the next "
                                "action connects again. The server said: %1")
                        .arg(error.simplified()));
        return false;
    }
    if (again)
        emit notice(QObject::tr("Connected to the server again."));
    return true;
}

bool PhraseModel::select()
{
    // A reload on a dropped connection would empty the table.
    if (!reachable())
        return false;
    pending = -1;
    counts.clear();
    if (!QSqlTableModel::select())
        return false;
    // Reading the whole result into the query's cache in one pass finishes the
    // statement; the model then hands the view its rows from memory.
    QSqlQuery all = query();
    all.last();
    while (canFetchMore())
        fetchMore();
    return true;
}

QString PhraseModel::orderByClause() const
{
    return SqlDialect(database()).orderBy(QSqlTableModel::orderByClause(), PhraseStore::fieldName(PhraseStore::Id));
}

bool PhraseModel::selectRow(int row)
{
    // Read from the file, the row holds its count too.
    counts.remove(QSqlTableModel::data(index(row, column(PhraseStore::Id))).toLongLong());
    return QSqlTableModel::selectRow(row);
}

bool PhraseModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (!QSqlTableModel::insertRows(row, count, parent))
        return false;
    pending = row;
    return true;
}

int PhraseModel::column(PhraseStore::Field field) const
{
    return columns.value(field, -1);
}

QVariant PhraseModel::value(int row, PhraseStore::Field field) const
{
    return data(index(row, column(field)), Qt::EditRole);
}

int PhraseModel::rowOfId(const QVariant &id) const
{
    if (id.isNull())
        return -1;
    const int idColumn = column(PhraseStore::Id);
    for (int row = 0; row < rowCount(); ++row) {
        if (data(index(row, idColumn)) == id)
            return row;
    }
    return -1;
}

PhraseRecord PhraseModel::phrase(int row) const
{
    PhraseRecord record;
    record.str = value(row, PhraseStore::Str).toString();
    record.labels = value(row, PhraseStore::Labels).toString();
    record.keyWord = value(row, PhraseStore::KeyWord).toString();
    record.hotKey = value(row, PhraseStore::HotKey).toString();
    record.html = value(row, PhraseStore::Html).toString();
    record.rating = value(row, PhraseStore::Rating).toInt();
    record.frequency = value(row, PhraseStore::Frequency).toInt();
    return record;
}

PhraseRowSource PhraseModel::phraseSource(const QVector<int> &rows, const Progress &progress) const
{
    return [this, rows, progress, done = 0](PhraseRecord *row) mutable {
        if (done >= rows.size())
            return false;
        *row = phrase(rows.at(done++));
        if (progress && done % 512 == 0)
            progress(done, rows.size());
        return true;
    };
}

bool PhraseModel::dropPendingRow()
{
    if (pending < 0)
        return false;
    revertAll();
    pending = -1;
    return true;
}

bool PhraseModel::finishWrite(int row, bool stored, const QString &error)
{
    // A stored row is read back: the file may hold more than this write, such as
    // another copy's uses. A refused write left the row as it was read.
    if (stored)
        selectRow(row);
    return reported(stored, error);
}

bool PhraseModel::finishWrite(int row, PhraseStore::Outcome outcome, const QString &error, PhraseConflict conflict)
{
    switch (outcome) {
    case PhraseStore::Outcome::Stored:
        if (row >= 0)
            selectRow(row);
        return true;
    case PhraseStore::Outcome::Unchanged:
        return true;
    case PhraseStore::Outcome::Conflict:
    case PhraseStore::Outcome::Gone:
        conflict.gone = outcome == PhraseStore::Outcome::Gone;
        emit writeConflict(conflict);
        return false;
    case PhraseStore::Outcome::Failed:
        break;
    }
    return reported(false, error);
}

bool PhraseModel::reported(bool stored, const QString &error)
{
    if (!stored)
        emit writeFailed(error);
    return stored;
}

bool PhraseModel::storeNewPhrase(const PhraseRecord &record, PhraseStore::Field field)
{
    if (!reachable())
        return false;
    dropPendingRow();
    QVector<qint64> ids;
    QString error;
    if (!reported(phraseStore.insert({record}, &ids, &error), error))
        return false;
    select();
    emit phraseAdded(ids.value(0), column(field));
    return true;
}

bool PhraseModel::writeText(int row, const QString &str, const QString &html)
{
    if (row == pending) {
        PhraseRecord record;
        record.str = str;
        record.html = html;
        return storeNewPhrase(record, PhraseStore::Str);
    }
    return writeText(value(row, PhraseStore::Id).toLongLong(), str, html, value(row, PhraseStore::Str),
                     value(row, PhraseStore::Html));
}

bool PhraseModel::writeText(qint64 id, const QString &str, const QString &html, const QVariant &baseStr,
                            const QVariant &baseHtml)
{
    if (!reachable())
        return false;
    QString error;
    const PhraseStore::Outcome outcome = phraseStore.setText(id, str, html, baseStr, baseHtml, &error);
    const int row = rowOfId(id);
    PhraseConflict conflict;
    if (outcome == PhraseStore::Outcome::Conflict || outcome == PhraseStore::Outcome::Gone) {
        conflict.id = id;
        conflict.value = str;
        conflict.html = html;
        // An unlisted phrase's other fields, for a copy of it to keep, come from the file.
        bool found = false;
        QString unread;
        if (row >= 0)
            conflict.mine = phrase(row);
        else
            phraseStore.read(id, &conflict.mine, &found, &unread);
        conflict.mine.str = str;
        conflict.mine.html = html;
    }
    return finishWrite(row, outcome, error, conflict);
}

namespace {

void setRecordField(PhraseRecord *record, PhraseStore::Field field, const QVariant &value)
{
    if (field == PhraseStore::Labels)
        record->labels = value.toString();
    else if (field == PhraseStore::KeyWord)
        record->keyWord = value.toString();
    else
        record->rating = value.toInt();
}

} // namespace

bool PhraseModel::writeField(int row, PhraseStore::Field field, const QVariant &newValue)
{
    if (!reachable())
        return false;
    if (row == pending) {
        PhraseRecord record;
        setRecordField(&record, field, newValue);
        return storeNewPhrase(record, field);
    }
    PhraseConflict conflict;
    conflict.id = value(row, PhraseStore::Id).toLongLong();
    conflict.field = field;
    conflict.value = newValue;
    conflict.mine = phrase(row);
    setRecordField(&conflict.mine, field, newValue);
    QString error;
    const PhraseStore::Outcome outcome = phraseStore.setField(conflict.id, field, newValue, value(row, field), &error);
    return finishWrite(row, outcome, error, conflict);
}

bool PhraseModel::resolve(const PhraseConflict &conflict, ConflictChoice choice, qint64 *newId)
{
    if (!reachable())
        return false;
    QString error;
    bool stored = true;
    if (choice == ConflictChoice::KeepBoth || (choice == ConflictChoice::Overwrite && conflict.gone)) {
        // A new phrase of its own: its uses are still to come.
        PhraseRecord record = conflict.mine;
        record.frequency = 0;
        QVector<qint64> ids;
        stored = phraseStore.insert({record}, &ids, &error);
        if (stored && newId)
            *newId = ids.value(0);
    } else if (choice == ConflictChoice::Overwrite) {
        stored = conflict.field == PhraseStore::Str
                     ? phraseStore.setText(conflict.id, conflict.value.toString(), conflict.html, &error)
                     : phraseStore.setField(conflict.id, conflict.field, conflict.value, &error);
    }
    // Whatever was chosen, the rows show what the file holds now.
    select();
    return reported(stored, error);
}

bool PhraseModel::countUse(int row, int *count)
{
    if (!reachable())
        return false;
    QString error;
    int stored = 0;
    if (!phraseStore.countUse(value(row, PhraseStore::Id).toLongLong(), &stored, &error))
        return reported(false, error);
    // The count the file holds now, shown without reading the row again: a long phrase
    // would be read, converted and held twice for the sake of one number.
    counts.insert(value(row, PhraseStore::Id).toLongLong(), stored);
    const QModelIndex cell = index(row, column(PhraseStore::Frequency));
    emit dataChanged(cell, cell);
    if (count)
        *count = stored;
    return true;
}

bool PhraseModel::insertPhrases(const QVector<PhraseRecord> &records, QVector<qint64> *ids, const Progress &progress)
{
    if (!reachable())
        return false;
    QString error;
    const bool stored = phraseStore.insert(records, ids, &error, progress);
    return reported(stored, error);
}

bool PhraseModel::removePhrases(const QVector<int> &rows)
{
    if (!reachable())
        return false;
    QVector<qint64> ids;
    for (const int row : rows) {
        if (row != pending)
            ids << value(row, PhraseStore::Id).toLongLong();
    }
    QString error;
    const bool stored = phraseStore.remove(ids, &error);
    return reported(stored, error);
}
