#include "browser/keylayouttable.h"
#include "browser/scanlineedit.h"

#include <QKeyEvent>
#include <QtTest>

namespace {

constexpr int absent = -1;

int codeFor(QChar character)
{
    const auto &table = keyLayoutTable();
    return table.contains(character.unicode()) ? table.value(character.unicode()) : absent;
}

} // namespace

class TestKeyLayoutTable : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultLayout_data();
    void defaultLayout();
    void recordKeyPair_neverStoresDigits();
    void recordKeyPair_firstEntryWins();
    void recordKeyPairs_unequalLengthsStopAtShorter_data();
    void recordKeyPairs_unequalLengthsStopAtShorter();
    void keyLayoutStrings_ascendingAndEqualLength();
    void keyLayoutStrings_saveLoadSaveIsIdentical();
    void scanLineEdit_recordsTypedKeys_data();
    void scanLineEdit_recordsTypedKeys();
};

void TestKeyLayoutTable::init()
{
    clearKeyLayout();
}

void TestKeyLayoutTable::defaultLayout_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("code");

    QTest::newRow("я on Z") << QStringLiteral("я") << int('Z');
    QTest::newRow("ё on backquote key") << QStringLiteral("ё") << 0xC0;
    QTest::newRow("tilde") << QStringLiteral("~") << 0xC0;
    QTest::newRow("comma from the latin row") << QStringLiteral(",") << int('<');
    QTest::newRow("Ю") << QStringLiteral("Ю") << int('>');
    QTest::newRow("vertical bar") << QStringLiteral("|") << int('\\');
    QTest::newRow("apostrophe") << QStringLiteral("'") << int('"');
    QTest::newRow("minus maps to itself") << QStringLiteral("-") << int('-');
    QTest::newRow("asterisk maps to itself") << QStringLiteral("*") << int('*');
    QTest::newRow("underscore") << QStringLiteral("_") << int('-');
    QTest::newRow("plus") << QStringLiteral("+") << int('=');
    QTest::newRow("capital latin not in default") << QStringLiteral("Q") << absent;
}

void TestKeyLayoutTable::defaultLayout()
{
    QFETCH(QString, character);
    QFETCH(int, code);

    fillDefaultKeyLayout();
    QCOMPARE(codeFor(character.at(0)), code);
}

void TestKeyLayoutTable::recordKeyPair_neverStoresDigits()
{
    recordKeyPairs(QStringLiteral("0123456789bc"), QStringLiteral("XYZXYZXYZX2Q"));
    QCOMPARE(keyLayoutStrings(), qMakePair(QStringLiteral("Q"), QStringLiteral("c")));

    fillDefaultKeyLayout();
    const auto map = keyLayoutTable();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QVERIFY2(it.key() < '0' || it.key() > '9', qPrintable(QString(QChar(it.key()))));
        QVERIFY2(it.value() < '0' || it.value() > '9', qPrintable(QString(QChar(it.key()))));
    }
}

void TestKeyLayoutTable::recordKeyPair_firstEntryWins()
{
    recordKeyPair(0x00DF, 0xDB);
    recordKeyPair(0x00DF, 0xBA);
    QCOMPARE(keyLayoutTable().size(), 1);
    QCOMPARE(codeFor(QChar(0x00DF)), 0xDB);
}

void TestKeyLayoutTable::recordKeyPairs_unequalLengthsStopAtShorter_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("keyCodes");
    QTest::addColumn<QString>("expectedCharacters");

    QTest::newRow("more characters") << QStringLiteral("abc") << QStringLiteral("XY") << QStringLiteral("ab");
    QTest::newRow("more codes") << QStringLiteral("ab") << QStringLiteral("XYZ") << QStringLiteral("ab");
    QTest::newRow("no codes") << QStringLiteral("ab") << QString() << QString();
    QTest::newRow("no characters") << QString() << QStringLiteral("XY") << QString();
}

void TestKeyLayoutTable::recordKeyPairs_unequalLengthsStopAtShorter()
{
    QFETCH(QString, characters);
    QFETCH(QString, keyCodes);
    QFETCH(QString, expectedCharacters);

    recordKeyPairs(characters, keyCodes);
    const auto strings = keyLayoutStrings();
    QCOMPARE(strings.second, expectedCharacters);
    QCOMPARE(strings.first, keyCodes.left(expectedCharacters.size()));
}

void TestKeyLayoutTable::keyLayoutStrings_ascendingAndEqualLength()
{
    recordKeyPair(u'z', u'Z');
    fillDefaultKeyLayout();
    recordKeyPair(0x00DF, 0xDB);

    const auto strings = keyLayoutStrings();
    QCOMPARE(strings.first.size(), strings.second.size());
    QCOMPARE(strings.second.size(), keyLayoutTable().size());
    for (int i = 1; i < strings.second.size(); ++i)
        QVERIFY(strings.second.at(i - 1) < strings.second.at(i));
    for (int i = 0; i < strings.second.size(); ++i)
        QCOMPARE(int(strings.first.at(i).unicode()), codeFor(strings.second.at(i)));
}

void TestKeyLayoutTable::keyLayoutStrings_saveLoadSaveIsIdentical()
{
    fillDefaultKeyLayout();
    recordKeyPair(0x00DF, 0xDB);
    const auto saved = keyLayoutStrings();

    clearKeyLayout();
    recordKeyPairs(saved.second, saved.first);
    QCOMPARE(keyLayoutStrings(), saved);
}

void TestKeyLayoutTable::scanLineEdit_recordsTypedKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<quint32>("nativeVirtualKey");
    QTest::addColumn<int>("expectedCode");
    QTest::addColumn<bool>("added");

    QTest::newRow("new character") << QStringLiteral("ß") << int(Qt::Key_ssharp) << 0xDBu << 0xDB << true;
    QTest::newRow("high bits dropped") << QStringLiteral("ß") << int(Qt::Key_ssharp) << 0x100DBu << 0xDB << true;
    QTest::newRow("default wins") << QStringLiteral("я") << int(Qt::Key_Z) << 0xBAu << int('Z') << false;
    QTest::newRow("character equals code") << QStringLiteral("A") << int(Qt::Key_A) << 0x41u << absent << false;
    QTest::newRow("keypad digit") << QStringLiteral("5") << int(Qt::Key_5) << 0x65u << absent << false;
    QTest::newRow("shifted digit key") << QStringLiteral("!") << int(Qt::Key_Exclam) << 0x31u << absent << false;
    QTest::newRow("two characters") << QStringLiteral("ßß") << int(Qt::Key_ssharp) << 0xDBu << absent << false;
    QTest::newRow("control character") << QStringLiteral("\x01") << int(Qt::Key_A) << 0x41u << 0x41 << true;
}

void TestKeyLayoutTable::scanLineEdit_recordsTypedKeys()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(quint32, nativeVirtualKey);
    QFETCH(int, expectedCode);
    QFETCH(bool, added);

    fillDefaultKeyLayout();
    const int before = keyLayoutTable().size();

    ScanLineEdit edit;
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, 0, nativeVirtualKey, 0, text);
    QApplication::sendEvent(&edit, &event);

    QCOMPARE(codeFor(text.at(0)), expectedCode);
    QCOMPARE(keyLayoutTable().size(), added ? before + 1 : before);
    // The key still reaches the line edit, whether or not it was recorded.
    if (text.at(0).isPrint())
        QCOMPARE(edit.text(), text);
}

QTEST_MAIN(TestKeyLayoutTable)
#include "tst_keylayouttable.moc"
