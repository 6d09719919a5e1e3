#include "app/commandline.h"

#include <QCommandLineParser>
#include <QObject>
#include <QPair>
#include <QVector>

#include <algorithm>
#include <climits>

namespace {

bool toNumber(const QString &value, qint64 *number)
{
    bool ok = false;
    *number = value.toLongLong(&ok, 10);
    return ok;
}

// Every option the program takes, with its help line.
struct Options
{
    explicit Options(QCommandLineParser &parser);
    QList<QCommandLineOption> all() const
    {
        return {help, version, find, list, json, limit, print, add, labels, comment, rating, import, exportTo, db};
    }

    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption find;
    const QCommandLineOption list;
    const QCommandLineOption json;
    const QCommandLineOption limit;
    const QCommandLineOption print;
    const QCommandLineOption add;
    const QCommandLineOption labels;
    const QCommandLineOption comment;
    const QCommandLineOption rating;
    const QCommandLineOption import;
    const QCommandLineOption exportTo;
    const QCommandLineOption db;
};

Options::Options(QCommandLineParser &parser)
    : help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."))
    , version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version."))
    , find(QStringLiteral("find"),
           QStringLiteral("Bring up the window, a running copy's if any, with TEXT searched; "
                          "with --export, write only the phrases TEXT finds."),
           QStringLiteral("TEXT"))
    , list(QStringLiteral("list"), QStringLiteral("Print the phrases a search for TEXT finds, all without TEXT."))
    , json(QStringLiteral("json"), QStringLiteral("With --list, print a JSON array."))
    , limit(QStringLiteral("limit"), QStringLiteral("With --list, print at most N phrases."), QStringLiteral("N"))
    , print(QStringLiteral("print"), QStringLiteral("Write phrase ID's text to standard output and count a use."),
            QStringLiteral("ID"))
    , add(QStringLiteral("add"), QStringLiteral("Store TEXT as a new phrase, print its id."), QStringLiteral("TEXT"))
    , labels(QStringLiteral("labels"), QStringLiteral("With --add, the labels."), QStringLiteral("L"))
    , comment(QStringLiteral("comment"), QStringLiteral("With --add, the comment."), QStringLiteral("C"))
    , rating(QStringLiteral("rating"), QStringLiteral("With --add, the rating."), QStringLiteral("R"))
    , import(QStringLiteral("import"), QStringLiteral("Import a TXT or INI phrase file."), QStringLiteral("FILE"))
    , exportTo(QStringLiteral("export"),
               QStringLiteral("Export phrases to a TXT file, or INI for a name ending in .ini."),
               QStringLiteral("FILE"))
    , db(QStringLiteral("db"), QStringLiteral("The database of the commands above; the stored one without it."),
         QStringLiteral("FILE"))
{
    parser.setApplicationDescription(QStringLiteral("Quillary keeps reusable phrases in one SQLite file.\n"
                                                    "Without a command it opens its window, on FILE if given."));
    parser.addOptions(all());
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The database to open in the window."),
                                 QStringLiteral("[FILE]"));
}

} // namespace

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    const Options options(parser);
    return parser.helpText();
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QCommandLineParser parser;
    const Options options(parser);
    const auto &[help, version, find, list, json, limit, print, add, labels, comment, rating, import, exportTo, db] =
        options;
    const auto fail = [&line](const QString &error) {
        line.command = UsageError;
        line.error = error;
        return line;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    // The parser keeps the last of repeated values: a second --add would drop the first phrase.
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption &option : options.all()) {
        const QStringList names = option.names();
        if (std::count_if(given.begin(), given.end(), [&](const QString &name) { return names.contains(name); }) > 1)
            return fail(QObject::tr("The option --%1 is given more than once.").arg(names.last()));
    }
    if (parser.isSet(help)) {
        line.command = Help;
        return line;
    }
    if (parser.isSet(version)) {
        line.command = Version;
        return line;
    }

    // One command at a time; --find is one too, unless it narrows an export.
    QVector<QPair<Command, const QCommandLineOption *>> commands;
    for (const auto &[command, option] : {qMakePair(List, &list), qMakePair(Print, &print), qMakePair(Add, &add),
                                          qMakePair(Import, &import), qMakePair(Export, &exportTo)})
        if (parser.isSet(*option))
            commands.append({command, option});
    if (parser.isSet(find) && commands.isEmpty())
        commands.append({Find, &find});
    if (commands.size() > 1)
        return fail(QStringLiteral("Give one command at a time."));
    line.command = commands.isEmpty() ? Window : commands.first().first;

    const QStringList positional = parser.positionalArguments();
    const int allowed = line.command == Window || line.command == List ? 1 : 0;
    if (positional.size() > allowed)
        return fail(QStringLiteral("Unexpected argument: ") + positional.value(allowed));
    const auto onlyWith = [&](const QCommandLineOption &option, std::initializer_list<Command> with) {
        return !parser.isSet(option) || std::find(with.begin(), with.end(), line.command) != with.end();
    };
    if (!onlyWith(json, {List}) || !onlyWith(limit, {List}) || !onlyWith(labels, {Add}) || !onlyWith(comment, {Add}) ||
        !onlyWith(rating, {Add}) || !onlyWith(db, {List, Print, Add, Import, Export}))
        return fail(QStringLiteral("An option does not go with this command; see --help."));

    qint64 number = 0;
    switch (line.command) {
    case Window:
        line.file = positional.value(0);
        break;
    case Find:
        line.text = parser.value(find);
        line.hasText = true;
        break;
    case List:
        line.hasText = !positional.isEmpty();
        line.text = positional.value(0);
        line.json = parser.isSet(json);
        if (parser.isSet(limit)) {
            if (!toNumber(parser.value(limit), &number) || number < 0 || number > INT_MAX)
                return fail(QStringLiteral("--limit wants a whole number of 0 or more."));
            line.limit = int(number);
        }
        break;
    case Print:
        if (!toNumber(parser.value(print), &line.id))
            return fail(QStringLiteral("--print wants the id of a phrase, a whole number."));
        break;
    case Add:
        line.text = parser.value(add);
        line.labels = parser.value(labels);
        line.comment = parser.value(comment);
        if (parser.isSet(rating)) {
            if (!toNumber(parser.value(rating), &number) || number < INT_MIN || number > INT_MAX)
                return fail(QStringLiteral("--rating wants a whole number."));
            line.rating = int(number);
        }
        break;
    case Import:
        line.file = parser.value(import);
        break;
    case Export:
        line.file = parser.value(exportTo);
        line.hasText = parser.isSet(find);
        line.text = parser.value(find);
        break;
    default:
        break;
    }
    if ((line.command == Import || line.command == Export) && line.file.isEmpty())
        return fail(QStringLiteral("The file name is empty."));
    line.database = parser.value(db);
    if (parser.isSet(db) && line.database.isEmpty())
        return fail(QStringLiteral("--db wants a file name."));
    return line;
}
