#ifndef FILEIDENTITY_H
#define FILEIDENTITY_H

#include <QString>
#include <QtGlobal>

// Which file a path leads to, as the file system tells them apart: a file moved
// over the path, or the path's file removed and made anew, gives another identity.
struct FileIdentity
{
    quint64 device = 0;
    quint64 node = 0;
    // A removed file's node number may go at once to the next new file; its birth, where
    // the file system keeps one, still tells them apart.
    qint64 born = 0;
    bool exists = false;

    bool operator==(const FileIdentity &other) const
    {
        return exists == other.exists && device == other.device && node == other.node && born == other.born;
    }
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }
};

FileIdentity fileIdentity(const QString &path);

#endif // FILEIDENTITY_H
