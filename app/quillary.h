#ifndef QUILLARY_H
#define QUILLARY_H

#include <QMainWindow>

#include <optional>

class QAction;
class QActionGroup;
class Help;
class QLabel;
class QMenu;
class QProgressBar;
class QSettings;
class QSqlDatabase;
class QToolBar;
class QTranslator;
class TypeEdit;
class TypeFind;

// The main window: two docks (the phrase browser above the phrase editor) with the
// menus, toolbars and status bar around them, and the commands that switch files.
// The file commands are in quillaryfiles.cpp, the language menu and the texts in
// quillarylanguage.cpp.
class Quillary : public QMainWindow
{
    Q_OBJECT

public:
    // `databaseFile`, when given, is opened for this run instead of the stored file.
    // With a `search`, the window comes up with it done, as summon() does.
    explicit Quillary(const QString &databaseFile = QString(), const std::optional<QString> &search = std::nullopt);
    ~Quillary() override;

    bool openDatabaseFile();
    // The database of the last session, or the user's own file when that was a server that cannot be opened.
    void openStoredDatabase();
    // Opens name in place of the database open now, which stays open when name cannot be.
    bool openInstead(const QString &name);
    // Where the file dialogs start: the open file's folder, or the documents for a server.
    QString fileFolder() const;
    // Asks for the server's password after its refusal; false when the user gives up.
    bool askPassword(QSqlDatabase &db, const QString &refusal);
    void closeDatabase();
    void updateWindowTitle();
    void retranslate();

    TypeFind *browser() const { return typeFind; }
    TypeEdit *phraseEditor() const { return typeEdit; }
    Help *helpWindow() const { return help; }

public slots:
    void about();
    void helpPage(const QString &page);
    void helpIndex();
    void helpStarted();
    void helpSupport();
    void helpOrder();
    bool newDB();
    void open();
    // Asks for a server database and opens it in place of the file or server open now.
    void connectServer();
    void exportDB();
    void importDB();
    void saveAs();
    void switchLanguage(QAction *action);
    void setStatusBar1(const QString &str);
    void setStatusBar2(const QString &str);
    void clipboardDataChanged();
    void verticalSplitWindows();
    void horizontalSplitWindows();
    // Brings the window up with `text` searched and the first phrase found current.
    void summon(const QString &text);

private slots:
    void exitProgram();
    // Another file now lies at the open file's path: it is opened in its place.
    void followReplacedFile();
    // The open file is gone from its path; the phrases shown can still be saved.
    void databaseRemoved();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void readSettings();
    void openRunFile(const QString &databaseFile);
    void storePendingEdit();
    void restoreWindow();
    void writeSettings();
    void createActions();
    void createDocks();
    void createToolBars();
    void createMenus();
    void createLanguageMenu();
    void createStatusBar();
    void makeConnections();
    void loadTranslators();
    void closeSplash();
    void switchTo(const QString &path);
    // Binds the browser to the open file; the editor follows whether it may be written.
    void bindBrowser();
    void showError(const QString &text);
    QString exchangeFolder() const;

    QAction *orderAction = nullptr;
    TypeFind *typeFind = nullptr;
    TypeEdit *typeEdit = nullptr;
    QTranslator *appTranslator = nullptr;
    QTranslator *qtTranslator = nullptr;
    int languageCount = 0;
    Help *help = nullptr;
    bool helpCreated = false;
    // The open file no longer lies at its path: Save As writes from the connection.
    bool databaseGone = false;
    QString translationsPath;
    QString appPath;
    QString nameIni;
    // The file named on the command line, and the stored one the settings keep meanwhile.
    QString runFile;
    QString storedFile;
    QSettings *settings = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *windowMenu = nullptr;
    QMenu *phraseMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QMenu *languageMenu = nullptr;
    QActionGroup *languageGroup = nullptr;
    QToolBar *toolBar = nullptr;
    QToolBar *editToolBar = nullptr;
    QToolBar *fontToolBar = nullptr;
    QLabel *statusLabel1 = nullptr;
    QLabel *statusLabel2 = nullptr;
    QProgressBar *progressBar = nullptr;
    QAction *verticalAction = nullptr;
    QAction *horizontalAction = nullptr;
    QAction *exitAction = nullptr;
    QAction *openAction = nullptr;
    QAction *newAction = nullptr;
    QAction *saveAsAction = nullptr;
    QAction *connectAction = nullptr;
    QAction *exportAction = nullptr;
    QAction *importAction = nullptr;
    QAction *contentAction = nullptr;
    QAction *startedAction = nullptr;
    QAction *supportAction = nullptr;
    QAction *aboutAction = nullptr;
};

#endif // QUILLARY_H
