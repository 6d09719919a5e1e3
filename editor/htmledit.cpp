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

void HtmlEdit::focusInEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    QTextEdit::focusInEvent(event);
}

void HtmlEdit::focusOutEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    // The modified flag stays set on purpose: every later focus loss writes the
    // phrase again until another phrase is loaded.
    if (document()->isModified())
        emit writeHtml(toHtml(), toPlainText());
    QTextEdit::focusOutEvent(event);
}
