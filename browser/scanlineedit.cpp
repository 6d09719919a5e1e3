#include "browser/scanlineedit.h"

#include "browser/keylayouttable.h"

#include <QKeyEvent>

ScanLineEdit::ScanLineEdit(QWidget *parent)
    : QLineEdit(parent)
{}

void ScanLineEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.size() == 1) {
        const ushort character = text.at(0).unicode();
        const auto keyCode = static_cast<ushort>(event->nativeVirtualKey() & 0xFFFF);
        if (character != keyCode)
            recordKeyPair(character, keyCode);
    }
    QLineEdit::keyPressEvent(event);
}
