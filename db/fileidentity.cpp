#include "db/fileidentity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

FileIdentity fileIdentity(const QString &path)
{
    FileIdentity identity;
#ifdef Q_OS_WIN
    // Attributes only, shared every way: another program's open file is not disturbed.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return identity;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        identity.device = info.dwVolumeSerialNumber;
        identity.node = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        identity.exists = true;
    }
    CloseHandle(file);
#else
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        identity.device = quint64(info.st_dev);
        identity.node = quint64(info.st_ino);
        identity.exists = true;
    }
#endif
    if (identity.exists) {
        const QDateTime birth = QFileInfo(path).birthTime();
        identity.born = birth.isValid() ? birth.toMSecsSinceEpoch() : 0;
    }
    return identity;
}
