#include "app/translationlist.h"

#include <QDir>
#include <QTranslator>

QVector<Translation> translationList(const QString &folder)
{
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("Quillary_*.qm")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QVector<Translation> translations;
    for (const QString &file : files) {
        const int first = file.indexOf(QLatin1Char('_'));
        const int last = file.lastIndexOf(QLatin1Char('.'));
        QTranslator translator;
        translator.load(file, folder);
        translations.append({file.mid(first + 1, last - first - 1), translator.translate("QObject", "WorkLanguage")});
    }
    return translations;
}

bool isStoredLanguage(const Translation &translation, const QString &language)
{
    return (language.isEmpty() && translation.name == QStringLiteral("English")) || language == translation.code;
}

QString settledLanguage(const QVector<Translation> &translations, const QString &language)
{
    QString chosen;
    for (const Translation &translation : translations) {
        if (isStoredLanguage(translation, language))
            chosen = translation.code;
    }
    if (!chosen.isEmpty() || translations.isEmpty())
        return chosen;
    return translations.last().code;
}

void loadTranslators(QTranslator *program, QTranslator *qt, const QString &folder, const QString &language)
{
    program->load(QStringLiteral("Quillary_") + language, folder, QString(), QString());
    qt->load(QStringLiteral("QtBase_") + language, folder, QString(), QString());
}
