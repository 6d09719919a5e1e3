#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Parsing needs no
// application object, so that main() can choose between a window and none.
class CommandLine
{
public:
    enum Command
    {
        Window, // the window, on the stored database or on `file`
        Find,   // the window with `text` searched, a running copy's if there is one
        List,
        Print,
        Add,
        Import,
        Export,
        Help,
        Version,
        UsageError,
    };

    static CommandLine parse(const QStringList &arguments);

    bool isHeadless() const { return command >= List && command <= Export; }
    // Needs an application object, for the program's name.
    static QString helpText();

    Command command = Window;
    QString file;     // FILE of the window, --import or --export
    QString database; // --db
    QString text;     // the search text, or the new phrase
    bool hasText = false;
    bool json = false;
    int limit = -1;
    qint64 id = 0;
    QString labels;
    QString comment;
    int rating = 0;
    QString error; // of a usage error
};

#endif // COMMANDLINE_H
