#ifndef PHRASEMODEL_H
#define PHRASEMODEL_H

#include "browser/phraseconflict.h"
#include "db/phrasestore.h"
#include "exchange/phrasewriters.h"

#include <QHash>
#include <QSqlTableModel>
#include <QVector>

// The browser's table of phrases. Every select is read to its end at once: an
// unfinished statement would hold the file's shared lock and lock out every other
// copy's writes. Writes go through the phrase store by id; the rows then show what
// the file holds, also when the write was refused.
class PhraseModel : public QSqlTableModel
{
    Q_OBJECT

public:
    // Texts longer than this show only their start: laying out megabytes for a cell
    // would freeze the window.
    static constexpr int shownLength = 500;
    // A cell's line edit keeps at most this many characters; a longer text edited
    // there would come back cut short.
    static constexpr int editableLength = 32767;

    explicit PhraseModel(QObject *parent = nullptr, const QSqlDatabase &db = QSqlDatabase());

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void setTable(const QString &tableName) override;
    bool select() override;
    bool selectRow(int row) override;
    QString orderByClause() const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // A file the program cannot write is shown and copied from, never written.
    void setReadOnly(bool readOnly) { fileReadOnly = readOnly; }
    bool isReadOnly() const { return fileReadOnly; }

    // The model column of a field, found by name; -1 if the table lacks it.
    int column(PhraseStore::Field field) const;
    // The whole value, however long.
    QVariant value(int row, PhraseStore::Field field) const;
    int rowOfId(const QVariant &id) const;
    PhraseRecord phrase(int row) const;
    // The phrases of `rows`, in that order, for a writer to stream; progress now and then.
    PhraseRowSource phraseSource(const QVector<int> &rows, const Progress &progress = {}) const;

    // The empty row Insert or Append put in, until something is typed into it.
    int pendingRow() const { return pending; }
    // Drops that row, so that it holds up no other write; true if there was one.
    bool dropPendingRow();

    // A write into the pending row stores it as a new phrase and reloads the table.
    // Any other is based on the row as listed, as a cell editor began from it; one the
    // file no longer fits goes out as writeConflict and is not stored.
    bool writeText(int row, const QString &str, const QString &html);
    bool writeField(int row, PhraseStore::Field field, const QVariant &value);
    // The editor's write, based on the text it was given, whether or not the phrase is listed.
    bool writeText(qint64 id, const QString &str, const QString &html, const QVariant &baseStr,
                   const QVariant &baseHtml);
    // Carries out the user's answer and reloads the table; newId receives a phrase kept beside the other.
    bool resolve(const PhraseConflict &conflict, ConflictChoice choice, qint64 *newId);
    bool countUse(int row, int *count);
    bool insertPhrases(const QVector<PhraseRecord> &records, QVector<qint64> *ids, const Progress &progress = {});
    bool removePhrases(const QVector<int> &rows);

    PhraseStore &store() { return phraseStore; }

signals:
    // A write the file refused, with the driver's reason.
    void writeFailed(const QString &reason);
    void writeConflict(const PhraseConflict &conflict);
    // A phrase typed into the pending row is stored under this id, from a write into
    // this column; the table was reloaded.
    void phraseAdded(qint64 id, int column);
    // Something the user should know that is no failure of a write: the server connection
    // lost or made again.
    void notice(const QString &text);

private:
    bool storeNewPhrase(const PhraseRecord &record, PhraseStore::Field field);
    bool finishWrite(int row, bool stored, const QString &error);
    bool finishWrite(int row, PhraseStore::Outcome outcome, const QString &error, PhraseConflict conflict);
    bool reported(bool stored, const QString &error);
    // Whether the database can be worked on now; a server connection that dropped is made again.
    bool reachable();

    PhraseStore phraseStore;
    QVector<int> columns;
    int pending = -1;
    bool fileReadOnly = false;
    // Uses counted since the rows were read, by id: what the file holds, read back with the count.
    QHash<qint64, int> counts;
};

#endif // PHRASEMODEL_H
