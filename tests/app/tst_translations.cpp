#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct TsMessage
{
    QString context;
    QString source;
    QString comment;
    bool numerus = false;
    QString type; // empty when finished
    QStringList forms;
};
using TsFile = QVector<TsMessage>;

// Checks the file is declared for `language`: lrelease picks the plural rules by it.
void readTs(const QString &path, const QString &language, TsFile &messages)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage m;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.name().toString();
        if (xml.isEndElement() && name == QLatin1String("message"))
            messages << m;
        else if (!xml.isStartElement())
            continue;
        else if (name == QLatin1String("TS"))
            QVERIFY(xml.attributes().value(QLatin1String("language")).startsWith(language));
        else if (name == QLatin1String("name"))
            context = xml.readElementText();
        else if (name == QLatin1String("message"))
            m = {context, {}, {}, xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes"), {}, {}};
        else if (name == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (name == QLatin1String("comment"))
            m.comment = xml.readElementText();
        else if (name == QLatin1String("numerusform") || (name == QLatin1String("translation") && !m.numerus))
            m.forms << xml.readElementText();
        if (name == QLatin1String("translation"))
            m.type = xml.attributes().value(QLatin1String("type")).toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

// What a translation must keep of its source: placeholders, mnemonics (not the literal "&&"),
// the "..." of commands that open a dialog, trailing space for appended text, and line count.
QStringList shape(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%(n|\\d+)")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    found.removeDuplicates();
    return found << QString::number(text.count(QLatin1Char('&')) - 2 * text.count(QStringLiteral("&&")))
                 << QString::number(text.endsWith(QLatin1String("...")))
                 << QRegularExpression(QStringLiteral("\\s*$")).match(text).captured()
                 << QString::number(text.count(QLatin1Char('\n')));
}

// Russian plural forms in lrelease's order: one (1, 21, ...), few (2-4, 22-24, ...), many.
int russianForm(int n)
{
    if (n % 10 == 1 && n % 100 != 11)
        return 0;
    return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14) ? 1 : 2;
}

} // namespace

Q_DECLARE_METATYPE(TsMessage)

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void programText_hasFinishedRussianTranslation_data();
    void programText_hasFinishedRussianTranslation();
    void builtRussianFile_matchesItsSource();

private:
    TsFile russian;
    TsFile scanned; // what lupdate finds in the sources right now
};

void TestTranslations::initTestCase()
{
    readTs(QStringLiteral(QUILLARY_SOURCE_DIR "/translations/Quillary_ru.ts"), QStringLiteral("ru"), russian);
    if (!QFileInfo(QStringLiteral(QUILLARY_LUPDATE)).isExecutable())
        return;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(QUILLARY_SOURCE_DIR));
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The same options as tools/update-translations.sh.
    process.start(
        QStringLiteral(QUILLARY_LUPDATE),
        QStringLiteral("-silent -I . -locations none app browser db editor exchange -ts").split(QLatin1Char(' '))
            << dir.filePath(QStringLiteral("scan_ru.ts")));
    QVERIFY2(process.waitForFinished(120000), qPrintable(process.errorString()));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, process.readAll().constData());
    readTs(dir.filePath(QStringLiteral("scan_ru.ts")), QStringLiteral("ru"), scanned);
    // A scan that finds next to nothing means wrong folders, not a well-translated program.
    QVERIFY2(scanned.size() > 50, qPrintable(QString::number(scanned.size())));
}

void TestTranslations::programText_hasFinishedRussianTranslation_data()
{
    if (scanned.isEmpty())
        QSKIP("lupdate not found (qttools5-dev-tools): the sources cannot be scanned");
    QTest::addColumn<TsMessage>("text");
    for (const TsMessage &m : qAsConst(scanned))
        QTest::newRow(QString(m.context + QLatin1Char('/') + m.source)
                          .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
                          .toUtf8()
                          .constData())
            << m;
}

void TestTranslations::programText_hasFinishedRussianTranslation()
{
    QFETCH(TsMessage, text);

    // The translation files are looked up under "QObject"; only the editor's first colour text is not.
    QVERIFY(text.context == QLatin1String("QObject") ||
            (text.context == QLatin1String("TypeEdit") && text.source == QLatin1String("&Color...")));
    const auto ru = std::find_if(russian.cbegin(), russian.cend(), [&text](const TsMessage &m) {
        return m.context == text.context && m.source == text.source && m.comment == text.comment;
    });
    QVERIFY2(ru != russian.cend(),
             "not in translations/Quillary_ru.ts: run tools/update-translations.sh and translate it");
    QVERIFY2(ru->type.isEmpty(), qPrintable(QStringLiteral("translation is marked ") + ru->type));
    QCOMPARE(ru->numerus, text.numerus);
    // Russian has three plural forms; fewer leave some counts untranslated.
    QCOMPARE(ru->forms.size(), text.numerus ? 3 : 1);
    for (const QString &form : ru->forms) {
        QVERIFY2(!form.trimmed().isEmpty(), "empty translation");
        QCOMPARE(shape(form), shape(text.source));
    }
}

void TestTranslations::builtRussianFile_matchesItsSource()
{
    if (!QFile::exists(QStringLiteral(QUILLARY_TRANSLATIONS_DIR "/Quillary_ru.qm")))
        QSKIP("no compiled translations: the build found no lrelease");
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("Quillary_ru.qm"), QStringLiteral(QUILLARY_TRANSLATIONS_DIR)));
    QCOMPARE(translator.translate("QObject", "WorkLanguage"), QStringLiteral("Русский"));

    int checked = 0;
    int plurals = 0;
    for (const TsMessage &m : qAsConst(russian)) {
        if (!m.type.isEmpty())
            continue;
        const QByteArray context = m.context.toUtf8();
        const QByteArray source = m.source.toUtf8();
        // A stale .qm means the build did not follow an edit of the .ts.
        if (!m.numerus) {
            QCOMPARE(translator.translate(context.constData(), source.constData(),
                                          m.comment.isEmpty() ? nullptr : m.comment.toUtf8().constData()),
                     m.forms.value(0));
            ++checked;
            continue;
        }
        // Counts where Russian one/few/many differ from a plain "one or not".
        for (const int n : {1, 2, 5, 11, 12, 21, 22, 111, 1004})
            QCOMPARE(translator.translate(context.constData(), source.constData(), "", n),
                     m.forms.value(russianForm(n)));
        ++plurals;
    }
    QVERIFY(checked > 50);
    QVERIFY(plurals >= 5);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
