#include "browser/phraseconflict.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

ConflictChoice askConflict(QWidget *parent, const PhraseConflict &conflict)
{
    QMessageBox box(QMessageBox::Warning, QObject::tr("Warning"),
                    conflict.gone
                        ? QObject::tr("Another window or program deleted this phrase after you began editing it.")
                        : QObject::tr("Another window or program changed this phrase after you began editing it."),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(QObject::tr("Keep both: your text is stored as a new phrase.\n"
                                       "Overwrite: your text replaces theirs.\n"
                                       "Discard mine: the file keeps theirs."));
    QPushButton *keepBoth = box.addButton(QObject::tr("&Keep both"), QMessageBox::AcceptRole);
    QPushButton *overwrite = box.addButton(QObject::tr("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton *discard = box.addButton(QObject::tr("&Discard mine"), QMessageBox::RejectRole);
    box.setDefaultButton(keepBoth);
    box.setEscapeButton(keepBoth);
    // A question must not wear the wait cursor of whatever work raised it.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    if (box.clickedButton() == overwrite)
        return ConflictChoice::Overwrite;
    if (box.clickedButton() == discard)
        return ConflictChoice::DiscardMine;
    return ConflictChoice::KeepBoth;
}
