#ifndef TYPEEDIT_H
#define TYPEEDIT_H

#include <QDockWidget>

class HtmlEdit;
class QAction;
class QColor;
class QComboBox;
class QFont;
class QFontComboBox;
class QTextCharFormat;

// Dock that shows the current phrase as rich text. Its actions and combo boxes
// are public because the main window places them in its menus and toolbars.
class TypeEdit : public QDockWidget
{
    Q_OBJECT

public:
    // A phrase longer than this, or with a longer run of characters without a break,
    // is not laid out in the editor: that would freeze the window.
    static constexpr int editableLength = 1000000;
    static constexpr int unbrokenLength = 20000;

    explicit TypeEdit(QWidget *parent = nullptr);
    // A file the program cannot write: its phrases are shown, not edited.
    void setReadOnly(bool readOnly);

    void retranslate();
    void connectSignals();

    HtmlEdit *editor = nullptr;
    QAction *boldAction = nullptr;
    QAction *underlineAction = nullptr;
    QAction *italicAction = nullptr;
    QAction *colorAction = nullptr;
    QAction *alignLeftAction = nullptr;
    QAction *alignCenterAction = nullptr;
    QAction *alignRightAction = nullptr;
    QAction *justifyAction = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *cutAction = nullptr;
    QAction *copyAction = nullptr;
    QAction *pasteAction = nullptr;
    QFontComboBox *fontCombo = nullptr;
    QComboBox *comboSize = nullptr;

public slots:
    void setHtml(const QString &str);
    void clearEdit();
    void textBold();
    void textULine();
    void textItalic();
    void textFamily(const QString &f);
    void textSize(const QString &p);
    void enableChanged(bool editEnable);

private slots:
    void currentCharFormatChanged(const QTextCharFormat &format);
    void textAlign(QAction *a);
    void cursorPositionChanged();
    void textColor();

private:
    void focusEditor();
    void applyFormat(const QTextCharFormat &format);
    void updatePasteAction();
    void showFont(const QFont &font);
    void showColor(const QColor &color);
    void showAlignment(Qt::Alignment alignment);

    bool fileReadOnly = false;
};

#endif // TYPEEDIT_H
