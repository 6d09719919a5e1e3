#ifndef COMMANDRUNNER_H
#define COMMANDRUNNER_H

#include "app/commandline.h"

#include <QString>

class QIODevice;

// Runs the commands that need no window on a phrase database: the one given with
// --db, or the one the settings name. The settings are only read. Results go to
// `out`, counts and failures to `err`, one line each; a text or file given as "-"
// comes from `in`. run() gives the exit code.
class CommandRunner
{
public:
    CommandRunner(QIODevice *out, QIODevice *err, QIODevice *in = nullptr)
        : out(out)
        , err(err)
        , in(in)
    {}

    int run(const CommandLine &line);

    // The database the window would open: the stored one, or the user's own org.db.
    static QString storedDatabase();

private:
    // Written and read a chunk at a time, so that no big file or list sits in memory whole.
    static constexpr int chunkSize = 1 << 20;

    // Each kind of command has a file of its own: readingcommands.cpp, writingcommands.cpp
    // and exchangecommands.cpp.
    int list(const CommandLine &line);
    int count(const CommandLine &line);
    int print(const CommandLine &line);
    int add(const CommandLine &line);
    int set(const CommandLine &line);
    int remove(const QVector<qint64> &ids);
    int import(const CommandLine &line);
    int exportTo(const CommandLine &line);
    int init(const QString &file);
    // Standard input whole, as UTF-8 text; false after saying why it could not be had.
    bool readInput(QString *text);
    bool copyInput(QIODevice *to);
    bool write(const QByteArray &bytes);
    int fail(const QString &why);
    int usage(const QString &why);
    void note(const QString &text);
    static QString noSuchPhrase(qint64 id);
    static QString unreadable(const QString &path, const QString &error);

    QIODevice *out;
    QIODevice *err;
    QIODevice *in;
    QString path;
};

#endif // COMMANDRUNNER_H
