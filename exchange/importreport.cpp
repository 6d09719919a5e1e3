#include "exchange/importreport.h"

#include <QDir>
#include <QFile>
#include <QObject>

QString emptyIfNull(const QString &value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

bool openPhraseFile(QFile &file, ImportReport *report)
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (report) {
        *report = ImportReport();
        report->error =
            QObject::tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    }
    return false;
}
