#include <QDir>
#include <QFile>
#include <QHash>
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

struct TsFile
{
    QString language;
    QVector<TsMessage> messages;
    QString error;

    const TsMessage *find(const TsMessage &like) const
    {
        for (const TsMessage &m : messages) {
            if (m.context == like.context && m.source == like.source && m.comment == like.comment)
                return &m;
        }
        return nullptr;
    }
};

TsFile readTs(const QString &path)
{
    TsFile ts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ts.error = file.errorString();
        return ts;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("TS")) {
            ts.language = xml.attributes().value(QLatin1String("language")).toString();
            continue;
        }
        if (xml.name() != QLatin1String("context")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
                continue;
            }
            if (xml.name() != QLatin1String("message")) {
                xml.skipCurrentElement();
                continue;
            }
            TsMessage m;
            m.context = context;
            m.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("comment")) {
                    m.comment = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    m.type = xml.attributes().value(QLatin1String("type")).toString();
                    if (m.numerus) {
                        while (xml.readNextStartElement()) {
                            if (xml.name() == QLatin1String("numerusform"))
                                m.forms << xml.readElementText();
                            else
                                xml.skipCurrentElement();
                        }
                    } else {
                        m.forms << xml.readElementText();
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
            ts.messages << m;
        }
    }
    if (xml.hasError())
        ts.error = xml.errorString();
    return ts;
}

// Mnemonics, not the doubled "&&" that shows a literal ampersand.
int accelerators(const QString &text)
{
    return text.count(QLatin1Char('&')) - 2 * text.count(QStringLiteral("&&"));
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%(n|\\d+)")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

QString trailingSpace(const QString &text)
{
    int i = text.size();
    while (i > 0 && text.at(i - 1).isSpace())
        --i;
    return text.mid(i);
}

// Russian plural forms in lrelease's order: one (1, 21, ...), few (2-4, 22-24, ...), many.
int russianForm(int n)
{
    if (n % 10 == 1 && n % 100 != 11)
        return 0;
    if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14))
        return 1;
    return 2;
}

QString tsPath(const QString &language)
{
    return QStringLiteral(QUILLARY_SOURCE_DIR "/translations/Quillary_%1.ts").arg(language);
}

QString qmPath(const QString &name)
{
    return QStringLiteral(QUILLARY_TRANSLATIONS_DIR "/") + name;
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
    void programTexts_useQObjectContext();
    void builtFile_carriesEveryFinishedText_data();
    void builtFile_carriesEveryFinishedText();
    void russianPlural_followsRussianRules_data();
    void russianPlural_followsRussianRules();
    void qtBaseRussian_translatesStandardButtons();

private:
    TsFile russian;
    TsFile english;
    TsFile scanned; // what lupdate finds in the sources right now
    QString skipScan;
};

void TestTranslations::initTestCase()
{
    russian = readTs(tsPath(QStringLiteral("ru")));
    QVERIFY2(russian.error.isEmpty(), qPrintable(russian.error));
    QVERIFY(russian.language.startsWith(QLatin1String("ru")));
    english = readTs(tsPath(QStringLiteral("en")));
    QVERIFY2(english.error.isEmpty(), qPrintable(english.error));

    const QString lupdate = QStringLiteral(QUILLARY_LUPDATE);
    if (!QFileInfo(lupdate).isExecutable()) {
        skipScan = QStringLiteral("lupdate not found (qttools5-dev-tools): the sources cannot be scanned");
        return;
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("scan_ru.ts"));
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(QUILLARY_SOURCE_DIR));
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The same options as tools/update-translations.sh.
    process.start(lupdate, {QStringLiteral("-silent"), QStringLiteral("-I"), QStringLiteral("."),
                            QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("app"),
                            QStringLiteral("browser"), QStringLiteral("db"), QStringLiteral("editor"),
                            QStringLiteral("exchange"), QStringLiteral("-ts"), out});
    QVERIFY2(process.waitForFinished(120000), qPrintable(process.errorString()));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             process.readAll().constData());
    scanned = readTs(out);
    QVERIFY2(scanned.error.isEmpty(), qPrintable(scanned.error));
    // A scan that finds next to nothing means wrong folders, not a well-translated program.
    QVERIFY2(scanned.messages.size() > 50, qPrintable(QString::number(scanned.messages.size())));
}

void TestTranslations::programText_hasFinishedRussianTranslation_data()
{
    if (!skipScan.isEmpty())
        QSKIP(qPrintable(skipScan));
    QTest::addColumn<TsMessage>("text");
    for (const TsMessage &m : qAsConst(scanned.messages)) {
        QString row = m.context + QLatin1Char('/') + m.source;
        row.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        QTest::newRow(row.toUtf8().constData()) << m;
    }
}

void TestTranslations::programText_hasFinishedRussianTranslation()
{
    QFETCH(TsMessage, text);

    const TsMessage *ru = russian.find(text);
    QVERIFY2(ru, "not in translations/Quillary_ru.ts: run tools/update-translations.sh and translate it");
    QVERIFY2(ru->type.isEmpty(), qPrintable(QStringLiteral("translation is marked ") + ru->type));
    QCOMPARE(ru->numerus, text.numerus);
    // Russian has three plural forms; fewer leave some counts untranslated.
    QCOMPARE(ru->forms.size(), text.numerus ? 3 : 1);

    for (const QString &form : ru->forms) {
        QVERIFY2(!form.trimmed().isEmpty(), "empty translation");
        QCOMPARE(placeholders(form), placeholders(text.source));
        QCOMPARE(accelerators(form), accelerators(text.source));
        if (text.source.endsWith(QLatin1String("...")))
            QVERIFY2(form.endsWith(QLatin1String("...")), qPrintable(form));
        // Texts such as "Unable to open the base - " get more text appended.
        QCOMPARE(trailingSpace(form), trailingSpace(text.source));
        QCOMPARE(form.count(QLatin1Char('\n')), text.source.count(QLatin1Char('\n')));
    }
}

void TestTranslations::programTexts_useQObjectContext()
{
    if (!skipScan.isEmpty())
        QSKIP(qPrintable(skipScan));
    // The translation files are looked up under "QObject"; only the editor's first colour text is not.
    QStringList strays;
    for (const TsMessage &m : qAsConst(scanned.messages)) {
        const bool colorAction =
            m.context == QLatin1String("TypeEdit") && m.source == QLatin1String("&Color...");
        if (m.context != QLatin1String("QObject") && !colorAction)
            strays << m.context + QLatin1Char('/') + m.source;
    }
    QVERIFY2(strays.isEmpty(), qPrintable(strays.join(QStringLiteral(", "))));
}

void TestTranslations::builtFile_carriesEveryFinishedText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::newRow("English") << "en" << QStringLiteral("English");
    QTest::newRow("Russian") << "ru" << QStringLiteral("Русский");
}

void TestTranslations::builtFile_carriesEveryFinishedText()
{
    QFETCH(QString, language);
    QFETCH(QString, name);

    const QString file = QStringLiteral("Quillary_%1.qm").arg(language);
    if (!QFile::exists(qmPath(file)))
        QSKIP("no compiled translations: the build found no lrelease");
    QTranslator translator;
    QVERIFY(translator.load(file, QStringLiteral(QUILLARY_TRANSLATIONS_DIR)));
    QCOMPARE(translator.translate("QObject", "WorkLanguage"), name);

    const TsFile &ts = language == QLatin1String("en") ? english : russian;
    int checked = 0;
    for (const TsMessage &m : ts.messages) {
        if (!m.type.isEmpty() || m.numerus)
            continue;
        const QString got = translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData(),
                                                 m.comment.isEmpty() ? nullptr : m.comment.toUtf8().constData());
        // A stale .qm means the build did not follow an edit of the .ts.
        QCOMPARE(got, m.forms.value(0));
        // English is the language of the source: a differing English text would never show in tests.
        if (language == QLatin1String("en") && m.source != QLatin1String("WorkLanguage"))
            QCOMPARE(m.forms.value(0), m.source);
        ++checked;
    }
    QVERIFY(checked > 50);
}

void TestTranslations::russianPlural_followsRussianRules_data()
{
    QTest::addColumn<int>("n");
    for (const int n : {0, 1, 2, 4, 5, 11, 12, 14, 21, 22, 25, 101, 111, 1004})
        QTest::newRow(qPrintable(QString::number(n))) << n;
}

void TestTranslations::russianPlural_followsRussianRules()
{
    QFETCH(int, n);

    if (!QFile::exists(qmPath(QStringLiteral("Quillary_ru.qm"))))
        QSKIP("no compiled translations: the build found no lrelease");
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("Quillary_ru.qm"), QStringLiteral(QUILLARY_TRANSLATIONS_DIR)));
    int plurals = 0;
    for (const TsMessage &m : qAsConst(russian.messages)) {
        if (!m.numerus || !m.type.isEmpty())
            continue;
        const QString got =
            translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData(), "", n);
        QCOMPARE(got, m.forms.value(russianForm(n)));
        ++plurals;
    }
    QVERIFY(plurals >= 5);
}

void TestTranslations::qtBaseRussian_translatesStandardButtons()
{
    if (!QFile::exists(qmPath(QStringLiteral("QtBase_ru.qm"))))
        QSKIP("Qt's own Russian texts were not found at build time (qttranslations5-l10n)");
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("QtBase_ru"), QStringLiteral(QUILLARY_TRANSLATIONS_DIR), QString(),
                            QString()));
    QCOMPARE(translator.translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
