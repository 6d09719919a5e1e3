#!/usr/bin/env python3
# End-to-end cases: the built program on a real X server, driven from outside with xdotool, xclip and the sqlite3
# shell. Exits 0 on a pass, 1 on a failure and 77 (skipped) without an X display
# or those tools; with QUILLARY_E2E_REQUIRED=1 a skip fails, so CI cannot pass by skipping.

import contextlib, ctypes, json, os, pathlib, re, shutil, signal, sqlite3, subprocess, sys, tempfile, time, types

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import pgcluster

CHILDREN = []
# The program of the build tree, whose templates lie beside it (make_file copies new.db from there).
PROGRAM, ROOT = os.path.realpath(sys.argv[2]), tempfile.mkdtemp(prefix="quillary-e2e-")

def check(condition, message):
    if not condition:
        raise AssertionError(message)

# Polls probe() until it returns something truthy; fails naming what it waited for.
def wait_until(probe, timeout, what, interval=0.05):
    deadline = time.monotonic() + timeout
    while not (value := probe()) and time.monotonic() < deadline:
        time.sleep(interval)
    check(value, "timed out after %.1f s waiting for %s" % (timeout, what))
    return value

def call(args, timeout=10, may_fail=False, **options):
    done = subprocess.run([str(a) for a in args], capture_output=True, timeout=timeout, **options)
    check(may_fail or not done.returncode, "%s failed: %s" % (args, done.stderr.decode("utf-8", "replace").strip()))
    return done

def spawn(args, **options):
    # PR_SET_PDEATHSIG: children die with the harness even when ctest kills it outright.
    process = subprocess.Popen(args, preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM), **options)
    CHILDREN.append(process)
    return process

def xdotool(*args, may_fail=False):
    return call(("xdotool",) + args, may_fail=may_fail).stdout.decode("utf-8").strip()

def focus(window):
    xdotool("windowfocus", "--sync", window)
    wait_until(lambda: xdotool("getwindowfocus", may_fail=True) == str(window), 5, "the focus on window %d" % window)

def keys(window, *names):
    focus(window)
    xdotool("key", "--delay", 40, *names)

# Places in the main window: the first phrase of the table, and the rich-text editor, above the status bar.
TABLE, EDITOR = (200, 120), (400, -80)

# Clicks at x, y in the window, y from its bottom edge when negative. The window is made active first: a click into
# an inactive one moves its focus without telling the widgets, so nothing would be stored.
def click(window, x, y):
    focus(window)
    height = int(xdotool("getwindowgeometry", "--shell", window).split("HEIGHT=")[1].split()[0])
    xdotool("windowraise", window, "mousemove", "--window", window, x, y if y >= 0 else height + y, "click", 1)

# Replaces the text of the window's focused widget by typing. Aside, the window stays inactive, as if the user typed
# there while another window had the focus.
def type_over(window, text, aside=False):
    target = ("--window", window) if aside else ()
    if not aside:
        focus(window)
    xdotool("key", *target, "ctrl+a")
    xdotool("type", *target, "--delay", 20, text)

# The program's visible window whose title matches the pattern, or None.
def shown(app, pattern):
    found = xdotool("search", "--all", "--onlyvisible", "--pid", app.pid, "--name", pattern, may_fail=True)
    return int(found.split()[0]) if found else None

# The bytes another program gets when it pastes target, or None.
def clipboard(target="UTF8_STRING", timeout=5):
    done = call(["xclip", "-o", "-selection", "clipboard", "-t", target], timeout=timeout, may_fail=True)
    return done.stdout if done.returncode == 0 else None

# Takes the clipboard like another program; xclip serves it until someone else takes it.
def offer(data, target="UTF8_STRING"):
    owner = spawn(["xclip", "-i", "-quiet", "-selection", "clipboard", "-t", target],
                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    owner.stdin.write(data.encode("utf-8"))
    owner.stdin.close()
    wait_until(lambda: clipboard(target) == data.encode("utf-8"), 5, "xclip to own the clipboard")

# Presses keys in the program and returns the text it put on the clipboard.
def copy_with(window, *names, timeout=5):
    sentinel = "e2e sentinel %f" % time.monotonic()
    offer(sentinel)
    keys(window, *names)
    return wait_until(lambda: (lambda now: now not in (None, sentinel.encode()) and now)(clipboard()), timeout,
                      "the program to copy after %s" % "+".join(names)).decode("utf-8")

# The use count in the program's own clipboard record, its last field; the program answers only once it has
# handled the keys sent before.
def reported_count():
    data = clipboard("text/Type", timeout=30)
    check(data and len(data) >= 4, "the clipboard holds no text/Type record")
    return int.from_bytes(data[-4:], "big", signed=True)

def quote(text):
    return "'" + text.replace("'", "''") + "'"

def sql(path, statement, timeout_ms=5000):
    out = call(["sqlite3", "-json", "-cmd", ".timeout %d" % timeout_ms, path, statement]).stdout.decode("utf-8")
    return json.loads(out) if out.strip() else []

# The uses counted in the file for the phrase text, or for all phrases; None when there is no such phrase.
def uses(path, text=None):
    where = "" if text is None else " WHERE Str = " + quote(text)
    return sql(path, "SELECT SUM(Frequency) AS n FROM TypeText" + where)[0]["n"]

def insert(text, html=""):
    return "INSERT INTO TypeText (Str, StrLower, Html) VALUES (%s);" % ", ".join(map(quote, (text, text.lower(), html)))

# A user of their own in a temporary folder, with a file of those phrases made from the New template (or none), and
# that many copies of the program started there, with more environment for them in settings.
def copies_on(phrases_sql, count=1, arguments=(), **settings):
    path = tempfile.mkdtemp(prefix="home-", dir=ROOT)
    env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "QT_", "SESSION_MANAGER"))}
    # A plain ctest run may set the offscreen platform for the unit tests; timed log lines let a failure be
    # read against the harness's own steps.
    env.update({"HOME": path, "XDG_RUNTIME_DIR": os.path.join(path, ".run"), "QT_QPA_PLATFORM": "xcb",
                "LC_ALL": "C.UTF-8", "QT_MESSAGE_PATTERN": "%{time process} %{message}"}, **settings)
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    home = types.SimpleNamespace(path=path, env=env, database=os.path.join(path, "Documents/Quillary/org.db"))
    if phrases_sql:
        make_file(home.database, phrases_sql)
    return [home] + [start(home, arguments) for _ in range(count)]

def make_file(path, phrases_sql):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    shutil.copyfile(os.path.join(os.path.dirname(PROGRAM), "new.db"), path)
    sql(path, "BEGIN;" + phrases_sql + "COMMIT;")

def start(home, arguments=(), attempt=1):
    log = open(os.path.join(home.path, "program-%d.log" % time.monotonic_ns()), "wb")
    app = spawn([PROGRAM, *arguments], env=home.env, cwd=home.path, stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT)
    def probe():
        if app.poll() is None:
            return shown(app, "Quillary - ")
        # Xvfb here now and then hangs up on a client that connects alongside another: two more tries.
        output = pathlib.Path(log.name).read_bytes()
        hung_up = app.returncode == -signal.SIGPIPE or re.search(rb"connect to (the )?display", output)
        check(attempt < 3 and hung_up, "the program ended (%s) before showing its window" % app.returncode)
        return "again"
    app.window = wait_until(probe, 30, "the main window of pid %d" % app.pid, interval=0.1)
    return start(home, arguments, attempt + 1) if app.window == "again" else app

# Space puts the current phrase on the clipboard for other programs, as rich text only when it has some, and
# counts one use in the file. The rows differ in script, tabs and rich text.
def copy_space():
    rich, plain = ("Привет, мир! Ёлка", "<p>Привет, <b>мир</b>! Ёлка</p>"), ("Tab\there \u2615 \U0001F600", "")
    home, app = copies_on(insert(*rich) + insert(*plain))
    for moves, (text, html) in [([], rich), (["Down"], plain)]:
        check(copy_with(app.window, *moves, "space") == text, "Space did not copy %r" % text)
        wait_until(lambda: uses(home.database, text) == 1, 3, "one use of %r in the file" % text)
        # Offered as text/html exactly when it has rich text: the target listed, and its bytes.
        offered = (b"text/html" in (clipboard("TARGETS") or b"").split(), clipboard("text/html"))
        check(offered == (bool(html), html.encode("utf-8")), "%r: the clipboard offers %r" % (text, offered))

# Text or rich text that another program put on the clipboard becomes a new phrase on Shift+Insert.
def paste_shift_insert():
    home, app = copies_on(None)
    text, html = "Первая строка\nSecond line \u2615\tend", '<meta charset="utf-8"><b>Bold</b> и <i>курсив</i>'
    for target, data, stored in [("UTF8_STRING", text, {"Str": text, "StrLower": text.lower(), "Html": ""}),
                                 ("text/html", html, {"Html": html})]:
        last = sql(home.database, "SELECT IFNULL(MAX(id), 0) AS id FROM TypeText")[0]["id"]
        offer(data, target)
        keys(app.window, "shift+Insert")
        new = wait_until(lambda: sql(home.database, "SELECT * FROM TypeText WHERE id > %d" % last), 3,
                         "a new row in the file after Shift+Insert of " + target)
        check(len(new) == 1 and stored.items() <= new[0].items(), "pasting %s changed the rows %s" % (target, new))

# More phrases than the table model fetches at once (256), so that a copy which left its select unfinished would
# hold a read lock.
BULK = ("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) INSERT INTO TypeText"
        " (Str, StrLower, Frequency) SELECT 'Phrase number ' || i, 'phrase number ' || i, i % 7 FROM n;")

# Two copies on one file take turns copying; each Space counts once, none is lost to the other copy.
def two_copies_count(copies=None, counted=None):
    if not copies:
        home, *copies = copies_on(BULK, 2)
        counted = lambda: uses(home.database)
    base = counted()
    for press in range(40):
        keys(copies[press % 2].window, "space")
        wait_until(lambda: counted() > base + press, 4, "Space %d of 40 to count" % (press + 1))
    check(counted() == base + 40, "40 copies counted %d uses" % (counted() - base))

# Another program can write to the file while two copies have it open and in use.
def shell_writes_while_open():
    home, *copies = copies_on(BULK, 2)
    for app in copies:
        copy_with(app.window, "space", timeout=15)
    # Two seconds of writes: each is an outside change that the focused copy reloads at its next poll.
    deadline = time.monotonic() + 2
    while time.monotonic() < deadline:
        sql(home.database, insert("Written while both copies are open"), timeout_ms=3000)

# A Space while another program locks the file stores no use, and the program reports none it did not store.
def locked_file_copy():
    home, app = copies_on(None)
    text = copy_with(app.window, "space")
    stored = reported_count()
    wait_until(lambda: uses(home.database, text) == stored, 3, "the file to count %d uses of %r" % (stored, text))
    locker = sqlite3.connect(home.database, timeout=5, isolation_level=None)
    locker.execute("BEGIN EXCLUSIVE")
    keys(app.window, "space")
    reported = reported_count()  # an answer at all: the program did not end on it
    locker.execute("ROLLBACK")
    check(uses(home.database, text) == stored >= reported, "locked: %d uses reported, %d before" % (reported, stored))
    check(copy_with(app.window, "space") == text, "after the lock the program copied another phrase")
    wait_until(lambda: uses(home.database, text) == stored + 1 == reported_count(), 3, "one use after the lock")

# A second start with --find hands the search to the running copy and ends; that window then shows what the text
# finds with the first of it current, so Space copies it. With no copy running, --find starts one that does the same.
def find_summons():
    home, app = copies_on(insert("Alpha first") + insert("Kind regards, Ёлка") + insert("Kind words"))
    # Handing the search over needs no display.
    call([PROGRAM, "--find", "KIND"], timeout=15, cwd=home.path,
         env={k: v for k, v in home.env.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")})
    wait_until(lambda: xdotool("getwindowfocus", may_fail=True) == str(app.window), 5, "the window to take the focus")
    check(copy_with(app.window, "space") == "Kind regards, Ёлка", "Space did not copy the first phrase found")
    check(copy_with(app.window, "Down", "space") == "Kind words", "the search did not leave only the phrases found")
    app.terminate()
    app.wait(5)
    # The copy that ended left its socket behind: a fresh start replaces it.
    found = start(home, arguments=["--find", "words"])
    check(copy_with(found.window, "space") == "Kind words", "--find with no copy running did not search")

# Enters the editor from the table's first phrase; with text, types it over the phrase and leaves for the table.
def edit_first(app, text=None):
    click(app.window, *TABLE)
    click(app.window, *EDITOR)
    if text is not None:
        type_over(app.window, text)
        click(app.window, *TABLE)

def first_text(home):
    return sql(home.database, "SELECT Str FROM TypeText WHERE id = 1")[0]["Str"]

# Two copies show the same phrase. B's editor holds text not yet stored when A stores its own; once B's editor loses
# the focus, B asks what becomes of its text, and each answer leaves in the file what it says. What B's editor shows
# then is left to the browser's own tests.
def conflict_choices():
    ours, theirs = "Typed in B", "Stored by A"
    for answer, kept in [("Return", [ours, theirs]), ("alt+o", [ours]), ("alt+d", [theirs])]:
        home, a, b = copies_on(BULK, 2)
        answer_conflict(a, b, ours, theirs, lambda: first_text(home), answer)
        wait_until(lambda: [text for text in (ours, theirs) if uses(home.database, text) is not None] == kept, 3,
                   "%s to leave %s in the file" % (answer, kept))

# B types over the first phrase while A stores its own text there; B, leaving its editor, is asked and answers.
def answer_conflict(a, b, ours, theirs, first, answer):
    edit_first(b)
    focus(a.window)
    type_over(b.window, ours, aside=True)
    edit_first(a, theirs)
    wait_until(lambda: first() == theirs, 3, "A's text stored")
    click(b.window, *TABLE)
    keys(wait_until(lambda: shown(b, "^Warning$"), 3, "B's question"), answer)

# A stores an edit of a phrase, then B stores another. A, its editor once changed, shows B's text on entering it and
# on leaving without typing stores nothing and asks nothing.
def editor_enter_leave():
    home, a, b = copies_on(BULK, 2)
    last = "Second edit, in B"
    for app, text in [(a, "First edit, in A"), (b, last)]:
        edit_first(app, text)
        wait_until(lambda: first_text(home) == text, 3, "%r in the file" % text)
    click(a.window, *EDITOR)
    check(copy_with(a.window, "ctrl+a", "ctrl+c") == last, "A's editor does not show B's text")
    click(a.window, *TABLE)
    time.sleep(1.5)
    check(first_text(home) == last and not shown(a, "^Warning$"), "A leaving its editor unchanged wrote or asked")

# Another file moved onto the path of the open one: the table shows its phrases within a second and counts a use in
# it. A file removed from the path is left to the window's own tests.
def file_replaced():
    home, app = copies_on(insert("In the first file"))
    check(copy_with(app.window, "space") == "In the first file", "Space did not copy the first file's phrase")
    text = "In the file moved in its place"
    make_file(home.database + ".new", insert(text))
    os.replace(home.database + ".new", home.database)
    # Watched from outside, without a key: the replaced file, unlinked, lives on only while the program holds it open.
    gone = (home.database + " (deleted)").encode()
    wait_until(lambda: gone not in call(["ls", "-l", "/proc/%d/fd" % app.pid], may_fail=True).stdout, 1.25,
               "the program to let go of the replaced file")
    # One phrase: Down stays on it.
    check(copy_with(app.window, "Down", "space") == text, "Space did not copy the new file's phrase")
    wait_until(lambda: uses(home.database, text) == 1, 3, "the use counted in the new file")

# Space on two of 100,000 phrases: the program's own counted uses reload nothing, so the selection stays and a
# second Space copies and counts both again.
def own_use_no_reload():
    home, app = copies_on(BULK.replace("< 2000", "< 100000"), QT_LOGGING_RULES="quillary.watch.debug=true")
    pair = ["Phrase number 99999", "Phrase number 100000"]
    before = [uses(home.database, text) for text in pair]
    copy_with(app.window, "ctrl+End", "Up", "shift+Down", "space", timeout=15)
    time.sleep(1.5)
    logs = b"".join(log.read_bytes() for log in pathlib.Path(home.path).glob("program-*.log"))
    check(b"changedFile" not in logs, "the program's own Space reloaded the table")
    keys(app.window, "space")
    wait_until(lambda: [uses(home.database, text) for text in pair] == [n + 2 for n in before], 3, "two uses of each")

# A team's server: a throwaway cluster whose phrase table the program makes, then the BULK phrases in it, and that
# many copies on it; also the uses the server counts in the phrases a condition picks.
@contextlib.contextmanager
def on_server(count):
    with pgcluster.PgCluster() as pg:
        call([PROGRAM, "--db", pg.uri(), "--count"])
        pg.psql(BULK)
        counted = lambda where="": int(pg.psql("SELECT SUM(Frequency) FROM TypeText " + where))
        yield pg, copies_on(None, count, [pg.uri()])[1:], counted

# Two copies on one server take turns copying; each Space counts once.
def server_two_copies_count():
    with on_server(2) as (_, copies, counted):
        two_copies_count(copies, counted)

# An edit in one copy shows in the other within a second of its table taking the focus: the server tells of it.
# Two edits of the same phrase get the question, and "Keep both" keeps both.
def server_live_view():
    with on_server(2) as (pg, (a, b), _):
        first = lambda: pg.psql("SELECT Str FROM TypeText WHERE id = 1")
        edit_first(a, "Edited in A")
        wait_until(lambda: first() == "Edited in A", 3, "A's edit on the server")
        click(b.window, *TABLE)
        time.sleep(1)
        check(copy_with(b.window, "space") == "Edited in A", "B does not show A's edit")
        answer_conflict(a, b, "Typed in B", "Stored by A", first, "Return")
        wait_until(lambda: pg.psql("SELECT count(*) FROM TypeText WHERE Str IN ('Typed in B', 'Stored by A')") == "2",
                   3, "both texts kept")

# A server restarted or away: a use that could not be stored is not shown as stored, and the next action works.
def server_restart():
    with on_server(1) as (pg, (app,), uses_on_server):
        only = "WHERE Str = " + quote(copy_with(app.window, "space"))
        stored = reported_count()
        wait_until(lambda: uses_on_server(only) == stored, 3, "the use on the server")
        for action, more in (("restart", 1), ("stop", 0), ("start", 1)):
            pg.control(action)
            keys(app.window, "space")
            stored += more
            check(reported_count() == stored, "after the server's %s the program shows another count" % action)
            # Away, the server cannot be asked; the count shown is checked once it is back.
            wait_until(lambda: action == "stop" or uses_on_server(only) == stored, 5, "a use after the " + action)

# The arguments, as the CMakeLists.txt beside this file gives them: the case, a function of this file, and PROGRAM.
def main(case=sys.argv[1]):
    # ctest and Ctrl+C end the harness through these, so that the finally below still cleans up.
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, lambda received, frame: sys.exit(128 + received))
    missing = [tool for tool in ("xdotool", "xclip", "sqlite3") if shutil.which(tool) is None]
    try:
        if missing or call(["xdotool", "getdisplaygeometry"], may_fail=True).returncode:
            print("SKIP: no X display (run under xvfb-run) or missing tools: %s" % " ".join(missing))
            return 1 if os.environ.get("QUILLARY_E2E_REQUIRED") == "1" else 77  # ctest's SKIP_RETURN_CODE
        globals()[case]()
        print("PASS: " + case)
        return 0
    except pgcluster.Unavailable as why:
        print("SKIP: " + str(why))
        return 77
    except (AssertionError, subprocess.TimeoutExpired) as why:
        print("FAIL: %s: %s" % (case, why))
        for log in sorted(pathlib.Path(ROOT).glob("*/program-*.log")):
            print("--- %s ---\n%s" % (log, log.read_bytes()[-4000:].decode("utf-8", "replace")))
        return 1
    finally:
        for child in reversed(CHILDREN):
            child.kill()  # the program's own clean end is checked by the cases that need it
            child.wait()
        shutil.rmtree(ROOT, ignore_errors=True)

if __name__ == "__main__":
    sys.exit(main())
