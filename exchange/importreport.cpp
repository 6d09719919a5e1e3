#include "exchange/importreport.h"

#include "db/databasefile.h"

#include <QDir>
#include <QFile>
#include <QObject>

QString emptyIfNull(const QString &value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

bool openPhraseFile(QFile &file, ImportReport *report)
{
    // Opening a FIFO would wait for a writer, and a device need never end.
    QString reason = notRegularFileReason(file.fileName());
    if (reason.isEmpty() && file.open(QIODevice::ReadOnly))
        return true;
    if (reason.isEmpty())
        reason = file.errorString();
    if (report) {
        *report = ImportReport();
        report->error = QObject::tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(file.fileName()), reason);
    }
    return false;
}
