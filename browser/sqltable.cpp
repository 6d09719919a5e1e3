#include "browser/sqltable.h"

#include <QKeyEvent>

SQLTable::SQLTable(QWidget *parent)
    : QTableView(parent)
{}

void SQLTable::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool alt = modifiers & Qt::AltModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;

    // Keys handled here are never passed on: a swallowed key must not reach
    // the parent either, where it could trigger something else.
    switch (event->key()) {
    case Qt::Key_Backspace:
        if (alt)
            emit keyUndo();
        return;
    case Qt::Key_Delete:
        if (shift) {
            emit keyCopy();
            emit keyDelete();
        } else if (!alt && !ctrl) {
            emit keyDelete();
        }
        return;
    case Qt::Key_Insert:
        if (ctrl)
            emit keyCopy();
        else if (shift)
            emit keyPaste();
        else if (!alt)
            emit keyInsert();
        return;
    case Qt::Key_F13:
        if (!alt && !shift && !ctrl)
            emit keyInsert();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Skipping QAbstractItemView leaves the key unhandled, so the focus moves
        // on to the next widget instead of the next cell.
        if (!alt && !shift && !ctrl)
            QAbstractScrollArea::keyPressEvent(event);
        return;
    case Qt::Key_Space:
        if (!alt && !ctrl)
            emit keyCopy();
        return;
    default:
        QAbstractItemView::keyPressEvent(event);
    }
}

void SQLTable::focusInEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    QAbstractItemView::focusInEvent(event);
}

void SQLTable::focusOutEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    QAbstractItemView::focusOutEvent(event);
}
