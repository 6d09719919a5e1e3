#include "app/commandline.h"

#include <QCommandLineParser>
#include <QObject>
#include <QPair>

#include <algorithm>
#include <climits>

namespace {

bool toNumber(const QString &value, qint64 *number)
{
    bool ok = false;
    *number = value.toLongLong(&ok, 10);
    return ok;
}

QString dashed(const QCommandLineOption &option)
{
    return QStringLiteral("--") + option.names().constLast();
}

// "--a", "--a or --b", "--a, --b or --c".
QString alternatives(const QStringList &names)
{
    if (names.size() < 2)
        return names.value(0);
    return QObject::tr("%1 or %2").arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.last());
}

// Every option the program takes, with its help line.
struct Options
{
    explicit Options(QCommandLineParser &parser);
    QList<QCommandLineOption> all() const
    {
        return {help, version, find,    list,   count,  json,     null,   limit,   print,  noCount, add, set,
                text, labels,  comment, rating, ifSame, deletion, import, export_, format, init,    db};
    }

    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption find;
    const QCommandLineOption list;
    const QCommandLineOption count;
    const QCommandLineOption json;
    const QCommandLineOption null;
    const QCommandLineOption limit;
    const QCommandLineOption print;
    const QCommandLineOption noCount;
    const QCommandLineOption add;
    const QCommandLineOption set;
    const QCommandLineOption text;
    const QCommandLineOption labels;
    const QCommandLineOption comment;
    const QCommandLineOption rating;
    const QCommandLineOption ifSame;
    const QCommandLineOption deletion;
    const QCommandLineOption import;
    const QCommandLineOption export_;
    const QCommandLineOption format;
    const QCommandLineOption init;
    const QCommandLineOption db;
};

Options::Options(QCommandLineParser &parser)
    : help({QStringLiteral("h"), QStringLiteral("help")}, QObject::tr("Show this help."))
    , version({QStringLiteral("v"), QStringLiteral("version")}, QObject::tr("Show the version."))
    , find(QStringLiteral("find"),
           QObject::tr("Bring up the window, a running copy's if any, with TEXT searched; "
                       "with --export, write only the phrases TEXT finds."),
           QStringLiteral("TEXT"))
    , list(QStringLiteral("list"),
           QObject::tr("Print the phrases a search for TEXT finds, all without TEXT, one line each: id, phrase, "
                       "labels, comment, rating and count, separated by TABs."))
    , count(QStringLiteral("count"), QObject::tr("Print how many phrases a search for TEXT finds, all without TEXT."))
    , json(QStringLiteral("json"), QObject::tr("With --list, print a JSON array."))
    , null(QStringLiteral("null"), QObject::tr("With --list, end each line with a NUL character, for xargs -0."))
    , limit(QStringLiteral("limit"), QObject::tr("With --list, print at most N phrases."), QStringLiteral("N"))
    , print(QStringLiteral("print"), QObject::tr("Write phrase ID's text to standard output and count a use."),
            QStringLiteral("ID"))
    , noCount(QStringLiteral("no-count"), QObject::tr("With --print, count no use."))
    , add(QStringLiteral("add"), QObject::tr("Store TEXT as a new phrase, print its id; - reads standard input."),
          QStringLiteral("TEXT"))
    , set(QStringLiteral("set"), QObject::tr("Change phrase ID: one or more of the four fields below."),
          QStringLiteral("ID"))
    , text(QStringLiteral("text"),
           QObject::tr("With --set, the new text; - reads standard input. The rich text is dropped, as when the "
                       "phrase is edited in its cell."),
           QStringLiteral("T"))
    , labels(QStringLiteral("labels"), QObject::tr("With --add or --set, the labels."), QStringLiteral("L"))
    , comment(QStringLiteral("comment"), QObject::tr("With --add or --set, the comment."), QStringLiteral("C"))
    , rating(QStringLiteral("rating"), QObject::tr("With --add or --set, the rating, a whole number from 0 to 100."),
             QStringLiteral("R"))
    , ifSame(QStringLiteral("if-unchanged"),
             QObject::tr("With --set and one field only: store it only while the phrase still holds VALUE "
                         "there, else store nothing and exit with status 1; for several fields, give one --set each."),
             QStringLiteral("VALUE"))
    , deletion(QStringLiteral("delete"),
               QObject::tr("Delete phrase ID and the phrases of any further ids; one unknown id deletes none."),
               QStringLiteral("ID"))
    , import(QStringLiteral("import"),
             QObject::tr("Import a TXT, INI or phrase database (.db) file; - reads standard input."),
             QStringLiteral("FILE"))
    , export_(QStringLiteral("export"),
              QObject::tr("Export phrases to a TXT file, INI for a name ending in .ini, a new phrase database for "
                          ".db; - writes standard output."),
              QStringLiteral("FILE"))
    , format(QStringLiteral("format"),
             QObject::tr("With --import or --export, txt or ini whatever the name; --import - needs it, "
                         "--export - writes txt without it."),
             QStringLiteral("F"))
    , init(QStringLiteral("init"), QObject::tr("Create FILE as a new phrase database, with no phrases."),
           QStringLiteral("FILE"))
    , db(QStringLiteral("db"), QObject::tr("The database of the commands above; the stored one without it."),
         QStringLiteral("FILE"))
{
    parser.setApplicationDescription(QObject::tr("Quillary keeps reusable phrases in one SQLite file.\n"
                                                 "Without a command it opens its window, on FILE if given."));
    parser.addOptions(all());
    parser.addPositionalArgument(QStringLiteral("FILE"), QObject::tr("The database to open in the window."),
                                 QStringLiteral("[FILE]"));
}

// What the parser would report in its own words, said in ours: the option as it was
// typed, with its dashes. Values are taken as the parser takes them, dashes and all.
QString misusedOption(const QList<QCommandLineOption> &options, const QStringList &arguments)
{
    const auto named = [&options](const QString &name) -> const QCommandLineOption * {
        for (const QCommandLineOption &option : options) {
            if (option.names().contains(name))
                return &option;
        }
        return nullptr;
    };
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(QLatin1Char('-')) || argument == CommandLine::stream())
            continue;
        const QString typed = argument.section(QLatin1Char('='), 0, 0);
        const bool hasValue = typed.size() < argument.size();
        if (typed.startsWith(QLatin1String("--"))) {
            const QCommandLineOption *option = named(typed.mid(2));
            if (!option)
                return QObject::tr("Unknown option %1.").arg(typed);
            if (option->valueName().isEmpty() && hasValue)
                return QObject::tr("%1 takes no value.").arg(typed);
            if (!option->valueName().isEmpty() && !hasValue && ++i == arguments.size())
                return QObject::tr("The value %1 is missing after %2.").arg(option->valueName(), typed);
            continue;
        }
        // Single letters may run together, as in -hv; none of them takes a value.
        for (const QChar letter : typed.mid(1)) {
            const QCommandLineOption *option = named(letter);
            if (!option)
                return QObject::tr("Unknown option %1.").arg(typed);
            if (hasValue)
                return QObject::tr("%1 takes no value.").arg(typed);
        }
    }
    return QString();
}

} // namespace

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    const Options options(parser);
    return parser.helpText();
}

QString CommandLine::usageLine(const QString &error)
{
    return QStringLiteral("quillary: ") + error + QLatin1Char(' ') + QObject::tr("Try 'quillary --help'.");
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QCommandLineParser parser;
    const Options options(parser);
    const auto fail = [&line](const QString &error) {
        line.command = UsageError;
        line.error = error;
        return line;
    };
    const QString misuse = misusedOption(options.all(), arguments);
    if (!misuse.isEmpty())
        return fail(misuse);
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    // The parser keeps the last of repeated values: a second --add would drop the first phrase.
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption &option : options.all()) {
        const QStringList names = option.names();
        if (std::count_if(given.begin(), given.end(), [&](const QString &name) { return names.contains(name); }) > 1)
            return fail(QObject::tr("The option %1 is given more than once.").arg(dashed(option)));
    }
    if (parser.isSet(options.help)) {
        line.command = Help;
        return line;
    }
    if (parser.isSet(options.version)) {
        line.command = Version;
        return line;
    }

    // One command at a time; --find is one too, unless it narrows an export.
    const QPair<Command, const QCommandLineOption *> commandOptions[] = {
        {List, &options.list}, {Count, &options.count},     {Print, &options.print},   {Add, &options.add},
        {Set, &options.set},   {Delete, &options.deletion}, {Import, &options.import}, {Export, &options.export_},
        {Init, &options.init}, {Find, &options.find}};
    const auto optionOf = [&commandOptions](Command command) {
        return std::find_if(std::begin(commandOptions), std::end(commandOptions),
                            [command](const auto &pair) { return pair.first == command; })
            ->second;
    };
    QVector<Command> commands;
    for (const auto &[command, option] : commandOptions) {
        if (parser.isSet(*option) && (command != Find || commands.isEmpty()))
            commands.append(command);
    }
    if (commands.size() > 1)
        return fail(QObject::tr("%1 and %2 are two commands: give one at a time.")
                        .arg(dashed(*optionOf(commands.at(0))), dashed(*optionOf(commands.at(1)))));
    line.command = commands.isEmpty() ? Window : commands.first();

    // Each option that is no command, with the commands it goes with.
    const QVector<QPair<const QCommandLineOption *, QVector<Command>>> belongings = {
        {&options.find, {Find, Export}},
        {&options.json, {List}},
        {&options.null, {List}},
        {&options.limit, {List}},
        {&options.noCount, {Print}},
        {&options.text, {Set}},
        {&options.ifSame, {Set}},
        {&options.labels, {Add, Set}},
        {&options.comment, {Add, Set}},
        {&options.rating, {Add, Set}},
        {&options.format, {Import, Export}},
        {&options.db, {List, Count, Print, Add, Set, Delete, Import, Export}}};
    for (const auto &[option, with] : belongings) {
        if (!parser.isSet(*option) || with.contains(line.command))
            continue;
        QStringList names;
        for (const Command command : with) {
            if (command != Find)
                names << dashed(*optionOf(command));
        }
        if (line.command == Window)
            return fail(QObject::tr("%1 goes only with %2.").arg(dashed(*option), alternatives(names)));
        return fail(QObject::tr("%1 does not go with %2, only with %3.")
                        .arg(dashed(*option), dashed(*optionOf(line.command)), alternatives(names)));
    }
    if (parser.isSet(options.json) && parser.isSet(options.null))
        return fail(QObject::tr("%1 does not go with %2.").arg(dashed(options.null), dashed(options.json)));

    const QStringList positional = parser.positionalArguments();
    const int allowed = line.command == Window || line.command == List || line.command == Count ? 1
                        : line.command == Delete                                                ? INT_MAX
                                                                                                : 0;
    if (positional.size() > allowed) {
        if (line.command == Window)
            return fail(
                QObject::tr("Unexpected argument \"%1\": the window opens one FILE.").arg(positional.value(allowed)));
        return fail(QObject::tr("Unexpected argument \"%1\" with %2.")
                        .arg(positional.value(allowed), dashed(*optionOf(line.command))));
    }

    const auto idOf = [&](const QCommandLineOption &option, const QString &value, qint64 *id) {
        if (toNumber(value, id))
            return true;
        fail(QObject::tr("%1 wants the id of a phrase, a whole number, not \"%2\".").arg(dashed(option), value));
        return false;
    };
    const auto phraseOf = [&](const QCommandLineOption &option) {
        line.text = parser.value(option);
        line.textFromInput = line.text == stream();
        if (line.text.isEmpty())
            fail(QObject::tr("%1 wants a phrase that is not empty.").arg(dashed(option)));
        return !line.text.isEmpty();
    };
    const auto fileOf = [&](const QCommandLineOption &option, bool streams) {
        const QString name = parser.value(option);
        if (name.isEmpty())
            fail(QObject::tr("%1 wants a file name.").arg(dashed(option)));
        else if (!streams && name == stream())
            fail(QObject::tr("%1 wants a file name: it cannot work on standard input or output.").arg(dashed(option)));
        return name;
    };
    qint64 number = 0;
    switch (line.command) {
    case Window:
        line.file = positional.value(0);
        break;
    case Find:
        line.text = parser.value(options.find);
        line.hasText = true;
        break;
    case List:
    case Count:
        line.hasText = !positional.isEmpty();
        line.text = positional.value(0);
        line.json = parser.isSet(options.json);
        line.null = parser.isSet(options.null);
        if (parser.isSet(options.limit)) {
            if (!toNumber(parser.value(options.limit), &number) || number < 0 || number > INT_MAX)
                return fail(QObject::tr("%1 wants a whole number of 0 or more, not \"%2\".")
                                .arg(dashed(options.limit), parser.value(options.limit)));
            line.limit = int(number);
        }
        break;
    case Print:
        if (!idOf(options.print, parser.value(options.print), &line.id))
            return line;
        line.noCount = parser.isSet(options.noCount);
        break;
    case Add:
        if (!phraseOf(options.add))
            return line;
        break;
    case Set:
        if (!idOf(options.set, parser.value(options.set), &line.id))
            return line;
        line.hasText = parser.isSet(options.text);
        if (line.hasText && !phraseOf(options.text))
            return line;
        break;
    case Delete:
        for (const QString &value : QStringList{parser.value(options.deletion)} + positional) {
            if (!idOf(options.deletion, value, &number))
                return line;
            line.ids << number;
        }
        break;
    case Import:
    case Export:
        line.file = fileOf(line.command == Import ? options.import : options.export_, true);
        line.hasText = parser.isSet(options.find);
        line.text = parser.value(options.find);
        break;
    case Init:
        line.file = fileOf(options.init, false);
        break;
    default:
        break;
    }
    if (line.command == UsageError)
        return line;

    if (parser.isSet(options.labels))
        line.labels = parser.value(options.labels);
    if (parser.isSet(options.comment))
        line.comment = parser.value(options.comment);
    if (parser.isSet(options.rating)) {
        const QString value = parser.value(options.rating);
        // As the window's rating cell: a spin box from 0 to 100.
        if (!toNumber(value, &number) || number < 0 || number > 100)
            return fail(
                QObject::tr("%1 wants a whole number from 0 to 100, not \"%2\".").arg(dashed(options.rating), value));
        line.rating = int(number);
    }
    if (line.command == Set) {
        const int fields =
            int(line.hasText) + int(bool(line.labels)) + int(bool(line.comment)) + int(bool(line.rating));
        const QString fieldNames = alternatives(
            {dashed(options.text), dashed(options.labels), dashed(options.comment), dashed(options.rating)});
        if (fields == 0)
            return fail(QObject::tr("%1 wants at least one of %2.").arg(dashed(options.set), fieldNames));
        if (parser.isSet(options.ifSame)) {
            if (fields > 1)
                return fail(
                    QObject::tr("%1 goes with one of %2, not with several.").arg(dashed(options.ifSame), fieldNames));
            line.ifUnchanged = parser.value(options.ifSame);
            if (line.rating && !toNumber(*line.ifUnchanged, &number))
                return fail(QObject::tr("%1 wants a whole number with %2, not \"%3\".")
                                .arg(dashed(options.ifSame), dashed(options.rating), *line.ifUnchanged));
        }
    }
    if (parser.isSet(options.format)) {
        const QString value = parser.value(options.format).toLower();
        if (value != QLatin1String("txt") && value != QLatin1String("ini"))
            return fail(QObject::tr("%1 wants txt or ini, not \"%2\".")
                            .arg(dashed(options.format), parser.value(options.format)));
        line.format = value == QLatin1String("ini") ? Format::Ini : Format::Txt;
    }
    if (line.command == Import && line.file == stream() && line.format == Format::ByName)
        return fail(QObject::tr("%1 - wants %2 txt or %2 ini.").arg(dashed(options.import), dashed(options.format)));
    if (parser.isSet(options.db)) {
        line.database = fileOf(options.db, false);
        if (line.command == UsageError)
            return line;
    }
    return line;
}
