#ifndef TYPEFIND_H
#define TYPEFIND_H

#include "browser/phraseconflict.h"
#include "browser/phrasepayload.h"
#include "db/phrasestore.h"
#include "exchange/importreport.h"
#include "exchange/phrasefilenames.h"

#include <QDockWidget>
#include <QModelIndex>
#include <QVariant>
#include <QVector>

class QAction;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSettings;
class PhraseModel;
class SQLTable;
class TypeWatch;
class ServerNotices;
class QSqlDatabase;

// The phrase browser: a table over the open database's phrases, the search bar
// under it, and the phrase actions the main window shows in its menus and toolbars.
class TypeFind : public QDockWidget
{
    Q_OBJECT

public:
    explicit TypeFind(QWidget *parent = nullptr);
    ~TypeFind() override;

    void setupModel();
    // Keeps the phrases shown but takes no more edits, for a database that can no longer be written.
    void setReadOnly();
    void retranslate();
    void connectSignals();
    void showCurrent();
    // Searches `text` as Return in the search line does, then puts the table's
    // focus on the first phrase found.
    void findText(const QString &text);
    bool stopWatching(const QString &path);
    void loadTableSettings(QSettings *settings, bool firstRun);
    void saveTableSettings(QSettings *settings);

    // Write the selected rows, or every phrase the browser lists when at most one
    // cell is selected, and report the count or the failure to the user.
    bool exportTxt(const QString &fileName, const Progress &progress = {});
    bool exportIni(const QString &fileName, const Progress &progress = {});
    // A new phrase database made from the template file.
    bool exportDatabase(const QString &fileName, const QString &templateName, const Progress &progress = {});

    SQLTable *table = nullptr;
    TypeWatch *watcher = nullptr;
    // A server database's watcher: the server tells of each change.
    ServerNotices *notices = nullptr;
    QMenu *contextMenu = nullptr;
    QAction *copyPhraseAction = nullptr;
    QAction *copyCellsAction = nullptr;
    QAction *pastePhraseAction = nullptr;
    QAction *deletePhraseAction = nullptr;
    QAction *appendPhraseAction = nullptr;
    PhraseModel *model = nullptr;
    // The main window's progress bar, shown while a large paste is stored.
    QProgressBar *progressBar = nullptr;

signals:
    void setHtml(const QString &str);
    void setMessage(const QString &str);
    void clearHtml();
    // Whether the editor's last write-back is stored; if not, the editor still holds it unsaved.
    void htmlStored(bool stored);

public slots:
    void copyPhraseIndex(int r);
    void changedFile(const QString &nameDB);
    void findStart(bool actEnable);
    void findStart();
    void delFindStr();
    void copyPhrase();
    void copyCell();
    void pastePhrase();
    void deleteRow();
    void insertRow();
    void appendRow();
    void currentCh(const QModelIndex &current);
    void selectCh(const QItemSelection &selected);
    void writeHtml(const QString &htm, const QString &str);
    void nextHtml(const QString &str);
    // The editor, holding nothing unsaved, is entered: show its phrase as the file holds it now.
    void refreshEditor();
    // Puts every edit the file no longer fits to the user, one question each.
    void askConflicts();
    void enableChanged(bool tableFocus);
    void findStrEdit(const QString &str);

protected:
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    void reportFound();
    static bool askDelete(int n);
    static bool askPaste(int n);
    PhraseRecord takePhrase(int row);
    void putOnClipboard(const QVector<PhraseRecord> &records, int row);
    void insertPhrases(const QVector<PhraseRecord> &records);
    int column(PhraseStore::Field field) const;
    QVariant cell(int row, PhraseStore::Field field) const;
    void createWidgets();
    void connectModel();
    void connectSelection();
    void replaceModel(const QSqlDatabase &db);
    // Tells the user once the current action is done.
    void noteLater(const QString &note);
    void createActions();
    void setHeaderTexts();
    bool currentIsValid() const;
    // Drops the empty row Insert or Append left, so that it holds nothing up;
    // true if the cursor stood on it.
    bool dropPendingRow();
    int rowOfId(const QVariant &id, int fallbackRow) const;
    void showStoredPhrase(qint64 id, int column);
    void reportWriteFailure(const QString &reason);
    void queueConflict(const PhraseConflict &conflict);
    void setEditorBase(int row);
    // The row of each selected cell.
    QVector<int> selectedCellRows() const;
    void applyActionState(bool tableFocus, bool nothingSelected);
    bool exportPhrases(const QString &fileName, PhraseFormat format, const Progress &progress,
                       const QString &templateName = QString());

    QPushButton *clearButton = nullptr;
    QLineEdit *searchEdit = nullptr;
    QLabel *searchLabel = nullptr;
    QModelIndex htmlIndex;
    // The phrase last sent to the editor, so that its edit lands on that phrase
    // even after a sort, a search or a reload has moved the rows.
    QVariant htmlId;
    // What the editor's phrase held when the editor was given it: its write is based on that.
    QVariant editorBaseStr;
    QVariant editorBaseHtml;
    QVector<PhraseConflict> conflicts;
    // The phrase the cursor stood on when Insert or Append put in an empty row.
    QVariant phraseBeforeNewRow;
    // Whether the cell editor being committed still had the focus.
    bool cellWasEditing = false;
    bool signalsConnected = false;
    QString heldNote;
    bool readOnlyNoted = false;
};

#endif // TYPEFIND_H
