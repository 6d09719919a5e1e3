#include "editor/htmledit.h"

#include <QKeyEvent>

HtmlEdit::HtmlEdit(QWidget *parent)
    : QTextEdit(parent)
{}

void HtmlEdit::keyPressEvent(QKeyEvent *event)
{
    // A phrase never holds a tab character: Tab is left unhandled so that it
    // travels up to the parents, which move the focus along the focus chain.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void HtmlEdit::markLoaded()
{
    baseHtml = toHtml();
    sentHtml.clear();
}

void HtmlEdit::writeResult(bool stored)
{
    if (stored)
        baseHtml = sentHtml;
}

void HtmlEdit::focusInEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    if (isEnabled() && !holdsUnsavedText())
        emit enteredUnchanged();
    QTextEdit::focusInEvent(event);
}

void HtmlEdit::focusOutEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    // The modified flag stays set, but only text that differs from what the file was
    // last known to hold is written: leaving without typing must not undo another's edit.
    if (holdsUnsavedText()) {
        sentHtml = toHtml();
        emit writeHtml(sentHtml, toPlainText());
    }
    QTextEdit::focusOutEvent(event);
}
