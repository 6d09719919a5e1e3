#ifndef TYPEFIND_H
#define TYPEFIND_H

#include <QDockWidget>
#include <QModelIndex>
#include <QVariant>
#include <QVector>

#include "browser/phrasepayload.h"
#include "exchange/importreport.h"

class QAction;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSettings;
class QSqlTableModel;
class SQLTable;
class TypeWatch;

// The phrase browser: a table over the open database's phrases, the search bar
// under it, and the phrase actions the main window shows in its menus and toolbars.
class TypeFind : public QDockWidget
{
    Q_OBJECT

public:
    // Model columns, fixed by the order of the columns of the phrase table.
    enum Column
    {
        ColId = 0,
        ColStr = 3,
        ColLabels = 4,
        ColKeyWord = 5,
        ColHotKey = 6,
        ColHtml = 7,
        ColKeyLower = 8,
        ColStrLower = 9,
        ColLabelLower = 10,
        ColRating = 11,
        ColFrequency = 12,
    };

    explicit TypeFind(QWidget *parent = nullptr);
    ~TypeFind() override;

    void setupModel();
    void retranslate();
    void connectSignals();
    void showCurrent();
    bool stopWatching(const QString &path);
    void loadTableSettings(QSettings *settings, bool firstRun);
    void saveTableSettings(QSettings *settings);

    // Write the selected rows, or every phrase the browser lists when at most one
    // cell is selected, and report the count or the failure to the user.
    bool exportTxt(const QString &fileName, const ImportProgress &progress = {});
    bool exportIni(const QString &fileName, const ImportProgress &progress = {});

    SQLTable *table = nullptr;
    TypeWatch *watcher = nullptr;
    QMenu *contextMenu = nullptr;
    QAction *copyPhraseAction = nullptr;
    QAction *copyCellsAction = nullptr;
    QAction *pastePhraseAction = nullptr;
    QAction *deletePhraseAction = nullptr;
    QAction *appendPhraseAction = nullptr;
    QSqlTableModel *model = nullptr;

signals:
    void setHtml(const QString &str);
    void setMessage(const QString &str);
    void clearHtml();

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
    void enableChanged(bool tableFocus);
    void findStrEdit(const QString &str);

protected:
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    static bool askDelete(int n);
    PhraseRecord takePhrase(int row);
    void putOnClipboard(const QVector<PhraseRecord> &records, int row);
    void insertPhrase(int row, const PhraseRecord &record);
    QVariant cell(int row, int column) const;
    void createWidgets();
    void createActions();
    void setHeaderTexts();
    bool currentIsValid() const;
    int rowOfId(const QVariant &id, int fallbackRow);
    bool idMatchesFilter(const QVariant &id) const;
    int matchingCount() const;
    QVector<int> selectedRows() const;
    bool exportPhrases(const QString &fileName, bool ini, const ImportProgress &progress);

    QPushButton *clearButton = nullptr;
    QLineEdit *searchEdit = nullptr;
    QLabel *searchLabel = nullptr;
    QModelIndex htmlIndex;
    // The phrase last sent to the editor, so that its edit lands on that phrase
    // even after a sort, a search or a reload has moved the rows.
    QVariant htmlId;
};

#endif // TYPEFIND_H
