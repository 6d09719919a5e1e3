#ifndef TRANSLATIONLIST_H
#define TRANSLATIONLIST_H

#include <QString>
#include <QVector>

class QTranslator;

struct Translation
{
    QString code; // as in Quillary_<code>.qm
    QString name; // the language's name for itself, as the file gives it
};

// The program's translations in `folder`, in the order of their file names, case ignored.
QVector<Translation> translationList(const QString &folder);

// Whether the menu marks `translation` for the stored `language`; with none stored, English.
bool isStoredLanguage(const Translation &translation, const QString &language);

// The language the program runs in: the one marked, else the last of the list; without
// any translation, none, not even a stored one.
QString settledLanguage(const QVector<Translation> &translations, const QString &language);

// Loads the program's and Qt's own texts in `language` from `folder`.
void loadTranslators(QTranslator *program, QTranslator *qt, const QString &folder, const QString &language);

#endif // TRANSLATIONLIST_H
