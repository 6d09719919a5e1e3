#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

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
        Count,
        Print,
        Add,
        Set,
        Delete,
        Import,
        Export,
        Init,
        Help,
        Version,
        UsageError,
    };
    enum class Format
    {
        ByName, // INI for a name holding .ini, else plain text
        Txt,
        Ini,
    };

    static CommandLine parse(const QStringList &arguments);

    bool isHeadless() const { return command >= List && command <= Init; }
    // Needs an application object, for the program's name.
    static QString helpText();
    // The one line a usage error prints, without its line break.
    static QString usageLine(const QString &error);
    // Stands for standard input or output in place of a text or a file.
    static QString stream() { return QStringLiteral("-"); }

    Command command = Window;
    QString file;     // FILE of the window, --import, --export or --init; "-" for a stream
    QString database; // --db
    QString text;     // the search text, or the phrase's new text
    bool hasText = false;
    bool textFromInput = false; // the phrase's text is standard input
    bool json = false;
    bool null = false; // --list ends its records with NUL
    bool noCount = false;
    int limit = -1;
    Format format = Format::ByName;
    qint64 id = 0;
    QVector<qint64> ids; // of --delete
    std::optional<QString> labels;
    std::optional<QString> comment;
    std::optional<int> rating;
    // The value the one field --set changes must still hold for the write to go ahead.
    std::optional<QString> ifUnchanged;
    QString error; // of a usage error
};

#endif // COMMANDLINE_H
