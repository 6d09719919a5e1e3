#include "editor/typeedit.h"

#include "editor/htmledit.h"
#include "exchange/htmlsanitizer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMimeData>
#include <QPixmap>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

QAction *createAction(const QString &iconPath, bool checkable, QObject *parent)
{
    auto *action = new QAction(QIcon(iconPath), QString(), parent);
    action->setCheckable(checkable);
    action->setPriority(QAction::LowPriority);
    return action;
}

QPixmap colorSwatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return pixmap;
}

} // namespace

TypeEdit::TypeEdit(QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("TypeEdit"));
    editor = new HtmlEdit(this);
    editor->setCursorWidth(2);
    setWidget(editor);
    editor->setEnabled(false);

    undoAction = createAction(QStringLiteral(":/images/editundo.png"), false, this);
    undoAction->setShortcuts(QKeySequence::Undo);
    undoAction->setEnabled(false);
    redoAction = createAction(QStringLiteral(":/images/editredo.png"), false, this);
    redoAction->setShortcuts(QKeySequence::Redo);
    redoAction->setEnabled(false);
    cutAction = createAction(QStringLiteral(":/images/editcut.png"), false, this);
    cutAction->setShortcuts(QKeySequence::Cut);
    copyAction = createAction(QStringLiteral(":/images/editcopy.png"), false, this);
    copyAction->setShortcuts(QKeySequence::Copy);
    pasteAction = createAction(QStringLiteral(":/images/editpaste.png"), false, this);
    pasteAction->setShortcuts(QKeySequence::Paste);
    pasteAction->setEnabled(false);
    // The browser's phrase actions share these keys; each dock's keys act where the focus is.
    for (QAction *action : {undoAction, redoAction, cutAction, copyAction, pasteAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }

    boldAction = createAction(QStringLiteral(":/images/textbold.png"), true, this);
    boldAction->setShortcut(Qt::CTRL | Qt::Key_B);
    italicAction = createAction(QStringLiteral(":/images/textitalic.png"), true, this);
    italicAction->setShortcut(Qt::CTRL | Qt::Key_I);
    underlineAction = createAction(QStringLiteral(":/images/textunder.png"), true, this);
    underlineAction->setShortcut(Qt::CTRL | Qt::Key_U);

    // Actions created with the group as parent join it at once. Justify ends up checked
    // until the cursor first reports an alignment.
    auto *alignGroup = new QActionGroup(this);
    alignGroup->setExclusive(true);
    connect(alignGroup, &QActionGroup::triggered, this, &TypeEdit::textAlign);
    alignLeftAction = createAction(QStringLiteral(":/images/textleft.png"), true, alignGroup);
    alignLeftAction->setShortcut(Qt::CTRL | Qt::Key_L);
    alignLeftAction->setChecked(true);
    alignCenterAction = createAction(QStringLiteral(":/images/textcenter.png"), true, alignGroup);
    alignCenterAction->setShortcut(Qt::CTRL | Qt::Key_E);
    alignCenterAction->setChecked(true);
    alignRightAction = createAction(QStringLiteral(":/images/textright.png"), true, alignGroup);
    alignRightAction->setShortcut(Qt::CTRL | Qt::Key_R);
    justifyAction = createAction(QStringLiteral(":/images/textjustify.png"), true, alignGroup);
    justifyAction->setShortcut(Qt::CTRL | Qt::Key_J);
    justifyAction->setChecked(true);

    colorAction = new QAction(colorSwatch(Qt::black), tr("&Color..."), this);

    fontCombo = new QFontComboBox(this);
    comboSize = new QComboBox(this);
    comboSize->setObjectName(QStringLiteral("comboSize"));
    comboSize->setEditable(true);
    const QList<int> sizes = QFontDatabase::standardSizes();
    for (const int size : sizes)
        comboSize->addItem(QString::number(size));
    comboSize->setCurrentIndex(comboSize->findText(QString::number(QApplication::font().pointSize())));

    retranslate();
    enableChanged(false);
}

void TypeEdit::retranslate()
{
    setWindowTitle(QObject::tr("Editing phrase"));

    undoAction->setText(QObject::tr("Undo"));
    undoAction->setStatusTip(QObject::tr("Undo the last command"));
    redoAction->setText(QObject::tr("Redo"));
    redoAction->setStatusTip(QObject::tr("Redo the last command"));
    cutAction->setText(QObject::tr("Cut"));
    cutAction->setStatusTip(QObject::tr("Cut selected content to the clipboard"));
    copyAction->setText(QObject::tr("Copy"));
    copyAction->setStatusTip(QObject::tr("Copy selected content to the clipboard"));
    pasteAction->setText(QObject::tr("Paste"));
    pasteAction->setStatusTip(QObject::tr("Paste the clipboard content into the current selection"));

    boldAction->setText(QObject::tr("Bold"));
    boldAction->setStatusTip(QObject::tr("Bold"));
    italicAction->setText(QObject::tr("Italic"));
    italicAction->setStatusTip(QObject::tr("Italic"));
    underlineAction->setText(QObject::tr("Underline"));
    underlineAction->setStatusTip(QObject::tr("Underline"));

    alignLeftAction->setText(QObject::tr("Align Left"));
    alignLeftAction->setStatusTip(QObject::tr("Align Left"));
    alignCenterAction->setText(QObject::tr("Center"));
    alignCenterAction->setStatusTip(QObject::tr("Center"));
    alignRightAction->setText(QObject::tr("Align Right"));
    alignRightAction->setStatusTip(QObject::tr("Align Right"));
    justifyAction->setText(QObject::tr("Justify"));
    justifyAction->setStatusTip(QObject::tr("Justify"));

    colorAction->setText(QObject::tr("Text Color"));
    colorAction->setStatusTip(QObject::tr("Text Color"));
}

void TypeEdit::connectSignals()
{
    connect(editor, &QTextEdit::currentCharFormatChanged, this, &TypeEdit::currentCharFormatChanged);
    connect(editor, &QTextEdit::cursorPositionChanged, this, &TypeEdit::cursorPositionChanged);

    connect(editor->document(), &QTextDocument::undoAvailable, undoAction, &QAction::setEnabled);
    connect(editor->document(), &QTextDocument::redoAvailable, redoAction, &QAction::setEnabled);
    connect(undoAction, &QAction::triggered, editor, &QTextEdit::undo);
    connect(redoAction, &QAction::triggered, editor, &QTextEdit::redo);

    cutAction->setEnabled(false);
    copyAction->setEnabled(false);
    connect(cutAction, &QAction::triggered, editor, &QTextEdit::cut);
    connect(copyAction, &QAction::triggered, editor, &QTextEdit::copy);
    connect(pasteAction, &QAction::triggered, editor, &QTextEdit::paste);
    connect(editor, &QTextEdit::copyAvailable, cutAction, &QAction::setEnabled);
    connect(editor, &QTextEdit::copyAvailable, copyAction, &QAction::setEnabled);

    connect(boldAction, &QAction::triggered, this, &TypeEdit::textBold);
    connect(italicAction, &QAction::triggered, this, &TypeEdit::textItalic);
    connect(underlineAction, &QAction::triggered, this, &TypeEdit::textULine);
    connect(colorAction, &QAction::triggered, this, &TypeEdit::textColor);

    // textActivated also fires for a size typed into the editable box and
    // confirmed with Enter, so typed sizes are checked by textSize as well.
    connect(fontCombo, &QComboBox::textActivated, this, &TypeEdit::textFamily);
    connect(comboSize, &QComboBox::textActivated, this, &TypeEdit::textSize);

    // Hiding the dock moves the focus out of the editor only after visibilityChanged(false),
    // so a focus change of a hidden editor must not enable the actions again.
    connect(editor, &HtmlEdit::changeFocus, this, [this](bool enabled) { enableChanged(enabled && isVisible()); });
    connect(this, &QDockWidget::visibilityChanged, this, &TypeEdit::enableChanged);
}

void TypeEdit::setReadOnly(bool readOnly)
{
    fileReadOnly = readOnly;
    editor->setReadOnly(readOnly);
}

namespace {

// Line breaking costs time with the square of the longest run it cannot break, so
// such a run freezes the window long before the text as a whole would. In rich text
// the sanitiser measures the runs, and not in attributes such as an embedded image.
bool tooLongToLayOut(const QString &str, bool rich = false)
{
    if (str.size() > TypeEdit::editableLength)
        return true;
    if (rich)
        return false;
    int run = 0;
    for (const QChar c : str) {
        run = c.isSpace() || c == QLatin1Char('<') || c == QLatin1Char('>') ? 0 : run + 1;
        if (run > TypeEdit::unbrokenLength)
            return true;
    }
    return false;
}

} // namespace

void TypeEdit::setHtml(const QString &str)
{
    const bool html = str.contains(QLatin1String("<html>"), Qt::CaseInsensitive);
    // The plain path lays out as rich text whatever looks like it, so that is checked too.
    const bool rich = html || Qt::mightBeRichText(str);
    bool tooLong = tooLongToLayOut(str, rich);
    const SafeHtml safe = !tooLong && rich ? sanitizeHtml(str) : SafeHtml{str, false};
    tooLong = tooLong || (safe.plain && tooLongToLayOut(safe.text));
    // Like a long phrase, one shown without its formatting is not edited here: writing it
    // back would store the note and lose the formatting.
    editor->setReadOnly(fileReadOnly || tooLong || safe.plain);
    editor->clear();
    if (tooLong) {
        // Laying out megabytes would freeze the window; such a phrase is copied and
        // exported whole, but not edited here, so nothing cut short is ever written back.
        editor->setCurrentCharFormat(QTextCharFormat());
        editor->setPlainText(QObject::tr("This phrase is too long to be shown here (%1 MB). It can still be copied "
                                         "and exported.")
                                 .arg(str.size() * 2 / 1048576.0, 0, 'f', 1));
    } else if (safe.plain) {
        editor->setCurrentCharFormat(QTextCharFormat());
        editor->setPlainText(QObject::tr("The formatting of this phrase is too complex to be shown here, so only its "
                                         "text follows. The phrase can still be copied and exported.") +
                             QStringLiteral("\n\n") + safe.text);
    } else if (html) {
        editor->setHtml(safe.text);
    } else {
        // A plain phrase must not take on the format the previous phrase ended in.
        editor->setCurrentCharFormat(QTextCharFormat());
        const QFont font(QStringLiteral("Calibri"), 12);
        editor->setFont(font);
        editor->setText(safe.text);
        showFont(font);
    }
    QTextCursor cursor = editor->textCursor();
    cursor.movePosition(QTextCursor::Start);
    editor->setTextCursor(cursor);
    editor->markLoaded();
    editor->setEnabled(true);
    enableChanged(true);
}

void TypeEdit::clearEdit()
{
    // Disabling a focused editor moves the focus away first, and that focus
    // loss writes a pending change back before the text goes.
    editor->setEnabled(false);
    editor->clear();
    editor->markLoaded();
    enableChanged(false);
}

void TypeEdit::textBold()
{
    focusEditor();
    QTextCharFormat format;
    format.setFontWeight(boldAction->isChecked() ? QFont::Bold : QFont::Normal);
    applyFormat(format);
}

void TypeEdit::textULine()
{
    focusEditor();
    QTextCharFormat format;
    format.setUnderlineStyle(underlineAction->isChecked() ? QTextCharFormat::SingleUnderline
                                                          : QTextCharFormat::NoUnderline);
    applyFormat(format);
}

void TypeEdit::textItalic()
{
    focusEditor();
    QTextCharFormat format;
    format.setFontItalic(italicAction->isChecked());
    applyFormat(format);
}

void TypeEdit::textFamily(const QString &f)
{
    focusEditor();
    QTextCharFormat format;
    format.setFontFamily(f);
    applyFormat(format);
}

void TypeEdit::textSize(const QString &p)
{
    focusEditor();
    const double pointSize = p.toDouble();
    // "inf" reads as a positive number too, but text of that size is laid out with no height at all.
    if (!(pointSize > 0) || !std::isfinite(pointSize))
        return;
    QTextCharFormat format;
    format.setFontPointSize(pointSize);
    applyFormat(format);
}

void TypeEdit::enableChanged(bool editEnable)
{
    for (QAction *action : {boldAction, underlineAction, italicAction, colorAction, alignLeftAction, alignCenterAction,
                            alignRightAction, justifyAction})
        action->setEnabled(editEnable);

    const QTextDocument *document = editor->document();
    undoAction->setEnabled(document->isUndoAvailable() && editEnable);
    redoAction->setEnabled(document->isRedoAvailable() && editEnable);

    if (editEnable && editor->textCursor().hasSelection()) {
        cutAction->setEnabled(true);
        copyAction->setEnabled(true);
        updatePasteAction();
    } else {
        cutAction->setEnabled(false);
        copyAction->setEnabled(false);
        if (editEnable)
            updatePasteAction();
        else
            pasteAction->setEnabled(false);
    }

    fontCombo->setEnabled(editEnable);
    comboSize->setEnabled(editEnable);
}

void TypeEdit::currentCharFormatChanged(const QTextCharFormat &format)
{
    showFont(format.font());
    showColor(format.foreground().color());
}

void TypeEdit::textAlign(QAction *a)
{
    focusEditor();
    // The absolute flag keeps left on the left in right-to-left text too.
    if (a == alignLeftAction)
        editor->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    else if (a == alignCenterAction)
        editor->setAlignment(Qt::AlignHCenter);
    else if (a == alignRightAction)
        editor->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    else if (a == justifyAction)
        editor->setAlignment(Qt::AlignJustify);
}

void TypeEdit::cursorPositionChanged()
{
    showAlignment(editor->alignment());
}

void TypeEdit::textColor()
{
    focusEditor();
    const QColor color = QColorDialog::getColor(editor->textColor(), this, QString());
    if (!color.isValid())
        return;
    QTextCharFormat format;
    format.setForeground(color);
    applyFormat(format);
    showColor(color);
}

void TypeEdit::focusEditor()
{
    if (!hasFocus())
        editor->setFocus(Qt::OtherFocusReason);
}

void TypeEdit::applyFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = editor->textCursor();
    cursor.beginEditBlock();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    editor->mergeCurrentCharFormat(format);
    cursor.endEditBlock();
}

void TypeEdit::updatePasteAction()
{
    const QMimeData *mimeData = QApplication::clipboard()->mimeData();
    if (mimeData)
        pasteAction->setEnabled(mimeData->hasText() && editor->hasFocus());
}

void TypeEdit::showFont(const QFont &font)
{
    fontCombo->setCurrentIndex(
        fontCombo->findText(QFontInfo(font).family(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    comboSize->setCurrentIndex(
        comboSize->findText(QString::number(font.pointSizeF()), Qt::MatchExactly | Qt::MatchCaseSensitive));
    boldAction->setChecked(font.weight() > QFont::Medium);
    italicAction->setChecked(font.style() != QFont::StyleNormal);
    underlineAction->setChecked(font.underline());
}

void TypeEdit::showColor(const QColor &color)
{
    colorAction->setIcon(colorSwatch(color));
}

void TypeEdit::showAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        alignLeftAction->setChecked(true);
    else if (alignment & Qt::AlignHCenter)
        alignCenterAction->setChecked(true);
    else if (alignment & Qt::AlignRight)
        alignRightAction->setChecked(true);
    else if (alignment & Qt::AlignJustify)
        justifyAction->setChecked(true);
}
