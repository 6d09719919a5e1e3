#!/usr/bin/env python3
# The commands that need no window, run as a user's scripts run them: no display, a home folder of their own.
# Usage: cli_quillary.py PROGRAM; exits 0 when every case passed.

import json, os, re, shutil, sqlite3, subprocess, sys, tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import pgcluster

PROGRAM = os.path.realpath(sys.argv[1])
TEMPLATE = os.path.join(os.path.dirname(PROGRAM), "new.db")
PHRASES = ["Tab\there", "Line one\nline two\n\nthree", 'Quotes "double" and \'single\'', "Привет, Ёлка",
           "back\\slash \\n not a break", "plain"]
failures = []

def run(*args, db=None, expect=0, display={}, input=b""):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM")}
    # A runtime folder of its own: no running copy to hand a search to, no display socket.
    env.update(HOME=HOME, XDG_CONFIG_HOME=os.path.join(HOME, ".config"), XDG_RUNTIME_DIR=HOME, LC_ALL="C.UTF-8",
               **display)
    done = subprocess.run([PROGRAM] + (["--db", db] if db else []) + list(args), capture_output=True, env=env,
                          timeout=60, input=input)
    err = done.stderr.decode("utf-8")
    check(done.returncode == expect, "%s exited %d, not %d: %s" % (args, done.returncode, expect, err))
    return done.stdout, err

def check(condition, message):
    if not condition:
        raise AssertionError(message)

def fresh(name="phrases.db"):
    path = os.path.join(HOME, name)
    shutil.copyfile(TEMPLATE, path)
    return path

def read(path):
    with open(path, "rb") as f:
        return f.read()

def rows(db, sql):
    if db.startswith("postgresql:"):
        found = json.loads(SERVER.psql("SELECT json_agg(t) FROM (%s) t" % sql) or "[]")
        return [tuple(row.values()) for row in found]
    with sqlite3.connect(db) as connection:
        return connection.execute(sql).fetchall()

def unescape(field):
    return field.replace("\\\\", "\0").replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t").replace("\0", "\\")

# Every phrase added comes back whole from --list, in both forms, and --print gives its exact bytes once per use.
def add_list_print(db=None):
    db = db or fresh()
    ids = [int(run("--add", text, "--labels", "l%d" % i, "--comment", "Ключ", "--rating", str(i * 20), db=db)[0])
           for i, text in enumerate(PHRASES)]
    check(ids == sorted(set(ids)), "ids %s" % ids)
    expected = [{"id": id, "phrase": text, "labels": "l%d" % i, "comment": "Ключ", "rating": i * 20, "count": 0}
                for i, (id, text) in enumerate(zip(ids, PHRASES))]
    check(json.loads(run("--list", "--json", db=db)[0]) == expected, "--json differs")
    lines = run("--list", db=db)[0].decode("utf-8").split("\n")
    check(lines[-1] == "" and len(lines) == len(PHRASES) + 1, "%d lines" % len(lines))
    check([unescape(line.split("\t")[1]) for line in lines[:-1]] == PHRASES, "TAB lines give %s" % lines)
    check(json.loads(run("--list", "ёлка", "--json", "--limit", "5", db=db)[0]) == [expected[3]], "search")
    check(len(json.loads(run("--list", "--json", "--limit", "2", db=db)[0])) == 2, "--limit")
    check(run("--list", "50%", db=db)[0] == b"", "a wildcard in the search matched")
    for _ in range(2):
        check(run("--print", str(ids[1]), db=db)[0] == PHRASES[1].encode("utf-8"), "--print changed the text")
    check(rows(db, "SELECT Frequency, StrLower FROM TypeText WHERE id = %d" % ids[1]) == [(2, PHRASES[1].lower())],
          "two prints, one shadow")

# An export, imported into an empty file, gives the same phrases; the format follows the name, plain text by default.
def export_import():
    db = fresh()
    for text in PHRASES:
        run("--add", text, db=db)
    for name in ("out.txt", "out.ini", "out"):
        copy = fresh("copy.db")
        _, err = run("--export", os.path.join(HOME, name), db=db)
        # The TAB phrase cannot travel whole in plain text, and the export says so.
        lines = err.splitlines()
        check(lines[0] == "quillary: %d phrase(s) have been exported." % len(PHRASES), err)
        check(lines[1:] == [] if name.endswith(".ini") else lines[1].startswith("quillary: 1 phrase(s) will not"), err)
        written = os.path.join(HOME, name if "." in name else name + ".txt")
        _, err = run("--import", written, db=copy)
        check(err == "quillary: %d phrase(s) have been imported.\n" % len(PHRASES), err)
        got = [p["phrase"] for p in json.loads(run("--list", "--json", db=copy)[0])]
        # Plain text escapes nothing: a TAB splits its phrase into fields.
        skip = 0 if name.endswith(".ini") else 1
        check(got[skip:] == PHRASES[skip:], "%s round trip gave %s" % (name, got))
        os.remove(written)

# Each failure exits 1 with a message that says what went wrong, and leaves the file as it was: among them a .db
# file that is no phrase database, or the database open itself.
def failures_and_usage():
    db = fresh()
    run("--add", "kept", db=db)
    junk = os.path.join(HOME, "junk.db")
    with open(junk, "w") as f:
        f.write("not a database\n" * 50)
    other = os.path.join(HOME, "other.db")
    sqlite3.connect(other).execute("CREATE TABLE Other (id)").connection.close()
    realId = os.path.join(HOME, "real-id.db")
    shutil.copyfile(db, realId)
    sqlite3.connect(realId).executescript("ALTER TABLE TypeText RENAME TO Old; CREATE TABLE TypeText AS SELECT "
                                          "CAST(id AS REAL) AS id, * FROM Old; DROP TABLE Old;").close()
    cases = [(("--list",), HOME, "it is a folder, not a regular file"),
             (("--list",), realId, "is not a phrase database: the id column"),
             (("--list", "x" * 1001), db, "The search text is too long"),
             (("--import", os.path.join(HOME, "missing.txt")), db, "missing.txt"),
             (("--list",), os.path.join(HOME, "nowhere.db"), "There is no database file"),
             (("--list",), junk, "file is not a database"),
             (("--list",), other, "is not a phrase database"),
             (("--import", other), db, "is not a phrase database: it has no table TypeText."),
             (("--import", db), db, "is the database open"), (("--export", db), db, "it is the database open")]
    before = read(db)
    for args, path, said in cases:
        _, err = run(*args, db=path, expect=1)
        check(err.startswith("quillary: ") and err.count("\n") == 1 and said in err, "%s said %r" % (args, err))
        check(read(db) == before, "%s changed the file" % (args,))
    check(not os.path.exists(os.path.join(HOME, "nowhere.db")), "a missing database was created")
    # A lock another program holds past the busy timeout: the add fails and says why.
    holder = sqlite3.connect(db, isolation_level=None)
    holder.execute("BEGIN EXCLUSIVE")
    _, err = run("--add", "late", db=db, expect=1)
    holder.execute("ROLLBACK")
    check(err.endswith("database is locked.\n") and rows(db, "SELECT count(*) FROM TypeText") == [(1,)], err)
    check(re.fullmatch(rb"Quillary \d+\.\d+\.\d+\n", run("--version")[0]), "--version")
    check(b"--export <FILE>" in run("--help")[0], "--help")
    check(not os.path.exists(os.path.join(HOME, ".config")), "a command wrote the settings")
    # Without --db, a first use starts from the starter phrases in the user's documents, as the window does.
    check(len(run("--list")[0].splitlines()) == rows(TEMPLATE.replace("new.db", "org.db"), "SELECT count(*) FROM TypeText")[0][0] > 0, "stored database")

# A window without a display would abort: refused in one message, the file as it was.
def refused():
    db = fresh()
    run("--add", "kept", db=db)
    before = read(db)
    for args, display, said in (((db,), {}, "Cannot connect to the display: no display is set.\n"),
                                (("--find", "kept"), {}, "Cannot connect to the display: no display is set.\n"),
                                ((db,), {"DISPLAY": ":4091"}, "Cannot connect to the display :4091.\n")):
        _, err = run(*args, display=display, expect=1)
        check(err == "quillary: " + said and read(db) == before, "%s said %r" % (args, err))

BIG = "ё" * (1 << 19)  # 1 MB of UTF-8

def phrase(id, text, labels="", comment="", html="", rating=0, count=0):
    return (id, text, text.lower(), labels, labels.lower(), comment, comment.lower(), html, rating, count)

# A command line refused before any work, with exit code 2.
def usage(args, said, given=b""):
    return (args, given, 2, b"", said + " Try 'quillary --help'.", {})

START = [phrase(1, "Alpha", "Mail", "greet", "<b>Alpha</b>", 10), phrase(2, "Ёлка\tTab")]
INI = b"[Row0]\r\nStr=Alpha\r\nLabels=Mail\r\nHtml=<b>Alpha</b>\r\nKeyWord=greet\r\nRating=10\r\nFrequency=0\r\n"
# A command line on the two phrases above, DB standing for their file: its standard input, exit code, standard output,
# error lines, and the phrases afterwards as changes by id (None: deleted). A repeated option would drop a value.
CASES = [
    usage(("--bogus",), "Unknown option --bogus."),
    usage(("--print",), "The value ID is missing after --print."),
    usage(("--list", "--rating", "5"), "--rating does not go with --list, only with --add or --set."),
    usage(("--list", "--add", "x"), "--list and --add are two commands: give one at a time."),
    usage(("--add", "one", "--add", "two"), "The option --add is given more than once."),
    usage(("--list", "--db=DB"), "The option --db is given more than once."),
    usage(("--export", "-", "--find", "a", "--find", "b"), "The option --find is given more than once."),
    usage(("-h", "--help"), "The option --help is given more than once."),
    usage(("--add", "x", "--rating", "101"), '--rating wants a whole number from 0 to 100, not "101".'),
    usage(("--set", "1", "--rating", "-1"), '--rating wants a whole number from 0 to 100, not "-1".'),
    usage(("--add", ""), "--add wants a phrase that is not empty."),
    usage(("--add", "-"), "--add wants a phrase that is not empty."),
    usage(("--set", "1", "--text", "-"), "--text wants a phrase that is not empty."),
    usage(("--set", "1"), "--set wants at least one of --text, --labels, --comment or --rating."),
    usage(("--set", "1", "--text", "a", "--labels", "b", "--if-unchanged", "Alpha"),
          "--if-unchanged goes with one of --text, --labels, --comment or --rating, not with several."),
    usage(("--import", "-"), "--import - wants --format txt or --format ini.", INI),
    usage(("--delete", "1", "x"), '--delete wants the id of a phrase, a whole number, not "x".'),
    usage(("--print", "0x1"), '--print wants the id of a phrase, a whole number, not "0x1".'),
    usage(("--list", "--limit", "-1"), '--limit wants a whole number of 0 or more, not "-1".'),
    usage(("--list", "--limit", "2147483648"), '--limit wants a whole number of 0 or more, not "2147483648".'),
    usage(("--export", "-", "--format", "xml"), '--format wants txt or ini, not "xml".'),
    usage(("--set", "1", "--rating", "5", "--if-unchanged", "ten"),
          '--if-unchanged wants a whole number with --rating, not "ten".'),
    usage(("--init", "-"), "--init wants a file name: it cannot work on standard input or output."),
    usage(("--export", ""), "--export wants a file name."),
    (("--print", "999"), b"", 1, b"", "There is no phrase with the id 999.", {}),
    (("--delete", "2", "999"), b"", 1, b"", "There is no phrase with the id 999: nothing was deleted.", {}),
    (("--set", "1", "--text", "New", "--if-unchanged", "Old"), b"", 1, b"", "Another window or program changed "
     "phrase 1: it no longer holds the value of --if-unchanged, and nothing was stored.", {}),
    (("--set", "9", "--labels", "x", "--if-unchanged", ""), b"", 1, b"",
     "Another window or program deleted phrase 9: nothing was stored.", {}),
    (("--set", "1", "--text", "-"), b"\xffA", 1, b"", "Standard input is not UTF-8 text.", {}),
    (("--init", "DB"), b"", 1, b"", "Cannot create DB: the file already exists.", {}),
    (("--set", "1", "--text", "New", "--if-unchanged", "Alpha"), b"", 0, b"", "",
     {1: phrase(1, "New", "Mail", "greet", "", 10)}),
    (("--set", "1", "--text", "Alpha", "--labels", "Work", "--comment", "Hi", "--rating", "100"), b"", 0, b"", "",
     {1: phrase(1, "Alpha", "Work", "Hi", "<b>Alpha</b>", 100)}),
    (("--set", "1", "--rating", "0", "--if-unchanged", "10"), b"", 0, b"", "",
     {1: phrase(1, "Alpha", "Mail", "greet", "<b>Alpha</b>", 0)}),
    (("--set", "2", "--text", "-"), BIG.encode(), 0, b"", "", {2: phrase(2, BIG)}),
    (("--add", "-", "--labels", "L"), b"Two\nlines\n", 0, b"3\n", "", {3: phrase(3, "Two\nlines\n", "L")}),
    (("--delete", "1", "2"), b"", 0, b"", "", {1: None, 2: None}),
    (("--count",), b"", 0, b"2\n", "", {}),
    (("--count", "ЁЛКА"), b"", 0, b"1\n", "", {}),
    (("--print", "2", "--no-count"), b"", 0, "Ёлка\tTab".encode(), "", {}),
    (("--list", "--null"), b"", 0, "1\tAlpha\tMail\tgreet\t10\t0\0002\tЁлка\\tTab\t\t\t0\t0\0".encode(), "", {}),
    (("--export", "-", "--find", "greet"), b"", 0, b"Alpha\tMail\tgreet\t10\t0\r\n", "1 phrase(s) have been exported.",
     {}),
    (("--export", "-", "--format", "INI", "--find", "greet"), b"", 0, INI, "1 phrase(s) have been exported.", {}),
    (("--import", "-", "--format", "ini"), INI, 0, b"", "1 phrase(s) have been imported.", {3: (3,) + START[0][1:]}),
    (("--import", "-", "--format", "txt"), b"Gamma\tG\tk\t7\t1\r\n", 0, b"", "1 phrase(s) have been imported.",
     {3: phrase(3, "Gamma", "G", "k", "", 7, 1)}),
    (("--init", "NEW"), b"", 0, b"", "", {}),
]

# Each command line of the table, on a file of its own; the command line's texts in the settings' language last.
def table():
    columns = "id, Str, StrLower, Labels, LabelLower, KeyWord, KeyLower, Html, Rating, Frequency"
    for args, given, code, out, said, changes in CASES:
        db, new = fresh(), os.path.join(HOME, "new.db")
        with sqlite3.connect(db) as connection:
            connection.executemany("INSERT INTO TypeText (%s) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" % columns, START)
        args = [arg.replace("DB", db).replace("NEW", new) for arg in args]
        got, err = run(*args, db=None if "--init" in args else db, expect=code, input=given)
        lines = said.replace("DB", db).split("\n") if said else []
        check(err == "".join("quillary: %s\n" % line for line in lines), "%s said %r" % (args[:4], err))
        check(got == out, "%s wrote %r" % (args[:4], got[:200]))
        after = {row[0]: row for row in START}
        after.update(changes)
        check(rows(db, "SELECT %s FROM TypeText" % columns) == [row for row in after.values() if row],
              "%s left other phrases" % args[:4])
        check(new not in args or rows(new, "SELECT count(*) FROM TypeText") == [(0,)], "--init")
        for path in (db, new):
            if os.path.exists(path):
                os.remove(path)
    os.makedirs(os.path.join(HOME, ".config", "Tamberlane"))
    with open(os.path.join(HOME, ".config", "Tamberlane", "Quillary.conf"), "w") as f:
        f.write("[Settings]\nLanguage=ru\n")
    _, err = run("--import", "-", "--format", "ini", db=fresh(), input=INI)
    check(err == "quillary: Импортирована 1 фраза.\n", "in Russian: %r" % err)

def main():
    global HOME
    for case in (add_list_print, export_import, failures_and_usage, refused, table, db_export_import, server):
        HOME = tempfile.mkdtemp(prefix="quillary-cli-")
        try:
            case()
            print("PASS: " + case.__name__)
        except (AssertionError, subprocess.TimeoutExpired) as why:
            print("FAIL: %s: %s" % (case.__name__, why))
            failures.append(case.__name__)
        finally:
            shutil.rmtree(HOME, ignore_errors=True)
    return 1 if failures else 0

# A phrase database file, its suffix in any case, carries every field, NULL kept, from one database to another.
def db_export_import():
    db, copy = fresh(), fresh("copy.db")
    fields = "Str, Labels, KeyWord, HotKey, Html, Rating, Frequency"
    with sqlite3.connect(db) as connection:
        connection.executemany("INSERT INTO TypeText (%s) VALUES (?, ?, ?, ?, ?, ?, ?)" % fields, [
            ("Привет\tмир", None, "", "Ctrl+1", "<b>Привет</b>", 5, 2), ("plain", "L", None, None, "", 0, 0)])
    team = os.path.join(HOME, "team.DB")
    _, err = run("--export", team, db=db)
    check(err == "quillary: 2 phrase(s) have been exported.\n", err)
    _, err = run("--import", team, db=copy)
    check(err == "quillary: 2 phrase(s) have been imported.\n", err)
    query = "SELECT %s FROM TypeText ORDER BY id" % fields
    check(rows(copy, query) == rows(db, query), "the copy holds %s" % rows(copy, query))

# The same commands on a team's server, its phrases moved over from a file and back, and a role that may only read.
def server():
    global SERVER
    try:
        SERVER = pgcluster.PgCluster().start()
    except pgcluster.Unavailable as why:
        print("SKIP: " + str(why))
        return
    try:
        add_list_print(SERVER.uri())
        listed = run("--list", "--json", db=SERVER.uri())[0]
        team, back = os.path.join(HOME, "team.db"), fresh("back.db")
        check(run("--export", team, db=SERVER.uri())[1] == "quillary: %d phrase(s) have been exported.\n" % len(PHRASES),
              "export from the server")
        SERVER.psql("CREATE DATABASE other")
        other = SERVER.uri("other")
        for target in (other, back):
            run("--import", team, db=target)
            check(run("--list", "--json", db=target)[0] == listed, "%s differs after the import" % target)
        SERVER.psql("CREATE ROLE reader LOGIN; GRANT SELECT ON TypeText TO reader")
        reader = SERVER.uri(user="reader")
        check(run("--list", "--json", db=reader)[0] == listed, "the reader's list")
        _, err = run("--add", "x", db=reader, expect=1)
        check("read-only for you" in err, err)
    finally:
        SERVER.stop()

if __name__ == "__main__":
    sys.exit(main())
