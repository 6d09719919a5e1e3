#ifndef COMMANDRUNNER_H
#define COMMANDRUNNER_H

#include "app/commandline.h"

#include <QString>

class QIODevice;

// Runs the commands that need no window on a phrase database: the one given with
// --db, or the one the settings name. The settings are only read. Results go to
// `out`, counts and failures to `err`, one line each; run() gives the exit code.
class CommandRunner
{
public:
    CommandRunner(QIODevice *out, QIODevice *err)
        : out(out)
        , err(err)
    {}

    int run(const CommandLine &line);

    // The database the window would open: the stored one, or the user's own org.db.
    static QString storedDatabase();

private:
    int list(const CommandLine &line);
    int print(qint64 id);
    int add(const CommandLine &line);
    int import(const QString &file);
    int exportTo(const CommandLine &line);
    int fail(const QString &why);
    void note(const QString &text);

    QIODevice *out;
    QIODevice *err;
    QString path;
};

#endif // COMMANDRUNNER_H
