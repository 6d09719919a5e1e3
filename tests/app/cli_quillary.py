#!/usr/bin/env python3
# The commands that need no window, run as a user's scripts run them: no display, a home folder of their own.
# Usage: cli_quillary.py PROGRAM; exits 0 when every case passed.

import collections, json, os, re, shutil, sqlite3, subprocess, sys, tempfile
from pathlib import Path

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
    return shutil.copyfile(TEMPLATE, os.path.join(HOME, name))

def rows(db, sql):
    with sqlite3.connect(db) as connection:
        return connection.execute(sql).fetchall()

# Every phrase added comes back whole from --list, in both forms, and --print gives its exact bytes once per use.
# An export, imported into an empty file, gives the same phrases; the format follows the name, its suffix in any case,
# plain text by default. Plain text escapes nothing: a TAB splits its phrase into fields, and the export says so.
def add_list_export(db=None):
    db = db or fresh()
    ids = [int(run("--add", text, "--labels", "l%d" % i, "--comment", "Ключ", "--rating", str(i * 20), db=db)[0])
           for i, text in enumerate(PHRASES)]
    expected = [{"id": id, "phrase": text, "labels": "l%d" % i, "comment": "Ключ", "rating": i * 20, "count": 0}
                for i, (id, text) in enumerate(zip(ids, PHRASES))]
    check(json.loads(run("--list", "--json", db=db)[0]) == expected, "--json differs")
    check(json.loads(run("--list", "ёлка", "--json", "--limit", "5", db=db)[0]) == [expected[3]], "search")
    printed = [run("--print", str(ids[1]), db=db)[0] for _ in range(2)]
    check(printed == [PHRASES[1].encode("utf-8")] * 2, "--print changed the text: %r" % printed)
    check(json.loads(run("--list", "--json", db=db)[0])[1]["count"] == 2, "two prints, two uses")
    # Each name, the file written and the phrases that do not come back whole.
    for name, written, split in (("a.txt", "a.txt", 1), ("b.INI", "b.INI", 0), ("c", "c.txt", 1),
                                 ("team.DB", "team.DB", 0)):
        copy = fresh("copy.db")
        lines = run("--export", os.path.join(HOME, name), db=db)[1].splitlines()
        check(lines[0] == "quillary: %d phrase(s) have been exported." % len(PHRASES), lines)
        check(lines[1].startswith("quillary: %d phrase(s) will not" % split) if split else lines[1:] == [], lines)
        _, err = run("--import", os.path.join(HOME, written), db=copy)
        check(err == "quillary: %d phrase(s) have been imported.\n" % len(PHRASES), err)
        got = [p["phrase"] for p in json.loads(run("--list", "--json", db=copy)[0])]
        check(got[split:] == PHRASES[split:], "%s round trip gave %s" % (name, got))

# Each failure exits 1 with one line that says what went wrong, and leaves the file as it was: among them a .db
# file that is no phrase database, the database open itself, and a window without a display, which would abort.
def failures_and_usage():
    db = fresh()
    run("--add", "kept", db=db)
    junk, other, realId = (os.path.join(HOME, name) for name in ("junk.db", "other.db", "real-id.db"))
    Path(junk).write_text("not a database\n" * 50)
    sqlite3.connect(other).execute("CREATE TABLE Other (id)").connection.close()
    sqlite3.connect(realId).execute("CREATE TABLE TypeText (id REAL PRIMARY KEY, Str, Labels, KeyWord, HotKey, Html, "
                                    "KeyLower, StrLower, LabelLower, Rating, Frequency)").connection.close()
    cases = [(("--list",), HOME, "it is a folder, not a regular file"),
             (("--list",), realId, "is not a phrase database: the id column"),
             (("--list", "x" * 1001), db, "The search text is too long"),
             (("--import", os.path.join(HOME, "missing.txt")), db, "missing.txt"),
             (("--list",), os.path.join(HOME, "nowhere.db"), "There is no database file"),
             (("--list",), junk, "file is not a database"),
             (("--list",), other, "is not a phrase database: it has no table TypeText."),
             (("--import", db), db, "is the database open"), (("--export", db), db, "it is the database open"),
             ((db,), None, "Cannot connect to the display: no display is set."),
             (("--find", "kept"), None, "Cannot connect to the display: no display is set.")]
    before = Path(db).read_bytes()
    _, err = run(db, display={"DISPLAY": ":4091"}, expect=1)
    check(err == "quillary: Cannot connect to the display :4091.\n", err)
    for args, path, said in cases:
        _, err = run(*args, db=path, expect=1)
        # Without a display the whole line is the program's own; elsewhere it names the file and the reason.
        expected = re.escape("quillary: %s\n" % said) if path is None else "quillary: .*%s.*\n" % re.escape(said)
        check(re.fullmatch(expected, err), "%s said %r" % (args, err))
        check(Path(db).read_bytes() == before, "%s changed the file" % (args,))
    check(not os.path.exists(os.path.join(HOME, "nowhere.db")), "a missing database was created")
    # A lock another program holds past the busy timeout: the add fails and says why.
    holder = sqlite3.connect(db, isolation_level=None).execute("BEGIN EXCLUSIVE")
    _, err = run("--add", "late", db=db, expect=1)
    holder.execute("ROLLBACK")
    check(err.endswith("database is locked.\n"), err)
    check(rows(db, "SELECT count(*) FROM TypeText") == [(1,)], "the locked file took a phrase")
    check(run("--version")[0] == b"Quillary 1.1.10\n", "--version")
    check(b"--export <FILE>" in run("--help")[0], "--help")
    check(not os.path.exists(os.path.join(HOME, ".config")), "a command wrote the settings")
    # Without --db, a first use starts from the starter phrases in the user's documents, as the window does.
    starter = rows(os.path.join(os.path.dirname(PROGRAM), "org.db"), "SELECT count(*) FROM TypeText")[0][0]
    check(len(run("--list")[0].splitlines()) == starter > 0, "stored database")

BIG = "ё" * (1 << 19)  # 1 MB of UTF-8

def phrase(id, text, labels="", comment="", html="", rating=0, count=0):
    return (id, text, text.lower(), labels, labels.lower(), comment, comment.lower(), html, rating, count)

# A command line on the two phrases below, DB standing for their file: its exit code, error line, the phrases
# afterwards as changes by id (None: deleted), its standard output and standard input.
case = collections.namedtuple("case", "args code said changes out given", defaults=("", {}, b"", b""))

# A command line refused before any work, with exit code 2. A repeated option would drop a value.
def usage(args, said, given=b""):
    return case(args, 2, said + " Try 'quillary --help'.", given=given)

START = [phrase(1, "Alpha", "Mail", "greet", "<b>Alpha</b>", 10), phrase(2, "Ёлка\tTab\r\n\\")]
INI = b"[Row0]\r\nStr=Alpha\r\nLabels=Mail\r\nHtml=<b>Alpha</b>\r\nKeyWord=greet\r\nRating=10\r\nFrequency=0\r\n"
CASES = [
    usage(("--bogus",), "Unknown option --bogus."),
    usage(("--print",), "The value ID is missing after --print."),
    usage(("--list", "--rating", "5"), "--rating does not go with --list, only with --add or --set."),
    usage(("--list", "--add", "x"), "--list and --add are two commands: give one at a time."),
    usage(("--list", "--db=DB"), "The option --db is given more than once."),
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
    case(("--print", "999"), 1, "There is no phrase with the id 999."),
    case(("--delete", "2", "999"), 1, "There is no phrase with the id 999: nothing was deleted."),
    case(("--set", "1", "--text", "New", "--if-unchanged", "Old"), 1, "Another window or program changed phrase 1: "
         "it no longer holds the value of --if-unchanged, and nothing was stored."),
    case(("--set", "9", "--labels", "x", "--if-unchanged", ""), 1,
         "Another window or program deleted phrase 9: nothing was stored."),
    case(("--set", "1", "--text", "-"), 1, "Standard input is not UTF-8 text.", given=b"\xffA"),
    case(("--init", "DB"), 1, "Cannot create DB: the file already exists."),
    case(("--set", "1", "--text", "New", "--if-unchanged", "Alpha"), 0,
         changes={1: phrase(1, "New", "Mail", "greet", rating=10)}),
    case(("--set", "1", "--text", "Alpha", "--labels", "Work", "--comment", "Hi", "--rating", "100"), 0,
         changes={1: phrase(1, "Alpha", "Work", "Hi", "<b>Alpha</b>", 100)}),
    case(("--set", "1", "--rating", "0", "--if-unchanged", "10"), 0,
         changes={1: phrase(1, "Alpha", "Mail", "greet", "<b>Alpha</b>", 0)}),
    case(("--set", "2", "--text", "-"), 0, changes={2: phrase(2, BIG)}, given=BIG.encode()),
    case(("--add", "-", "--labels", "L"), 0, changes={3: phrase(3, "Two\nlines\n", "L")}, out=b"3\n",
         given=b"Two\nlines\n"),
    case(("--delete", "1", "2"), 0, changes={1: None, 2: None}),
    case(("--count", "ЁЛКА"), 0, out=b"1\n"),
    case(("--print", "2", "--no-count"), 0, out="Ёлка\tTab\r\n\\".encode()),
    case(("--list", "--null"), 0,
         out="1\tAlpha\tMail\tgreet\t10\t0\0002\tЁлка\\tTab\\r\\n\\\\\t\t\t0\t0\0".encode()),
    case(("--export", "-", "--find", "greet"), 0, "1 phrase(s) have been exported.",
         out=b"Alpha\tMail\tgreet\t10\t0\r\n"),
    case(("--export", "-", "--format", "INI", "--find", "greet"), 0, "1 phrase(s) have been exported.", out=INI),
    case(("--import", "-", "--format", "ini"), 0, "1 phrase(s) have been imported.", {3: (3,) + START[0][1:]},
         given=INI),
    case(("--import", "-", "--format", "txt"), 0, "1 phrase(s) have been imported.",
         {3: phrase(3, "Gamma", "G", "k", "", 7, 1)}, given=b"Gamma\tG\tk\t7\t1\r\n"),
    case(("--init", "NEW"), 0),
]

# Each command line of the table, on a file of its own; the command line's texts in the settings' language last.
def table():
    columns = "id, Str, StrLower, Labels, LabelLower, KeyWord, KeyLower, Html, Rating, Frequency"
    for args, code, said, changes, out, given in CASES:
        db, new = fresh(), os.path.join(HOME, "new.db")
        with sqlite3.connect(db) as connection:
            connection.executemany("INSERT INTO TypeText (%s) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" % columns, START)
        args = [arg.replace("DB", db).replace("NEW", new) for arg in args]
        got, err = run(*args, db=None if "--init" in args else db, expect=code, input=given)
        check(err == ("quillary: %s\n" % said.replace("DB", db) if said else ""), "%s said %r" % (args[:4], err))
        check(got == out, "%s wrote %r" % (args[:4], got[:200]))
        after = {**{row[0]: row for row in START}, **changes}
        check(rows(db, "SELECT %s FROM TypeText" % columns) == [row for row in after.values() if row],
              "%s left other phrases" % args[:4])
        check(new not in args or rows(new, "SELECT count(*) FROM TypeText") == [(0,)], "--init")
    os.makedirs(os.path.join(HOME, ".config", "Tamberlane"))
    Path(HOME, ".config", "Tamberlane", "Quillary.conf").write_text("[Settings]\nLanguage=ru\n")
    _, err = run("--import", "-", "--format", "ini", db=fresh(), input=INI)
    check(err == "quillary: Импортирована 1 фраза.\n", "in Russian: %r" % err)

# The same commands on a team's server, its phrases moved to another server database through a file, and a role that
# may only read.
def server():
    with pgcluster.PgCluster() as pg:
        add_list_export(pg.uri())
        listed = run("--list", "--json", db=pg.uri())[0]
        pg.psql("CREATE DATABASE other")
        run("--import", os.path.join(HOME, "team.DB"), db=pg.uri("other"))
        check(run("--list", "--json", db=pg.uri("other"))[0] == listed, "the other database after the import")
        pg.psql("CREATE ROLE reader LOGIN; GRANT SELECT ON TypeText TO reader")
        check(run("--list", "--json", db=pg.uri(user="reader"))[0] == listed, "the reader's list")
        _, err = run("--add", "x", db=pg.uri(user="reader"), expect=1)
        check("read-only for you" in err, err)

def main():
    global HOME
    for test in (add_list_export, failures_and_usage, table, server):
        HOME = tempfile.mkdtemp(prefix="quillary-cli-")
        try:
            test()
            print("PASS: " + test.__name__)
        except pgcluster.Unavailable as why:
            print("SKIP: " + str(why))
        except (AssertionError, subprocess.TimeoutExpired) as why:
            print("FAIL: %s: %s" % (test.__name__, why))
            failures.append(test.__name__)
        finally:
            shutil.rmtree(HOME, ignore_errors=True)
    return 1 if failures else 0

if __name__ == "__main__":
    sys.exit(main())
