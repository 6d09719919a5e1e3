#!/usr/bin/env python3
"""End-to-end cases: the built program on a real X server, driven from outside.

    e2e_quillary.py CASE --program PATH/TO/bin/quillary

Exits 0 when the case passes, 1 when it fails and 77 (skipped) when there is no
X display to run on. With QUILLARY_E2E_REQUIRED=1 a missing display or tool is a
failure instead, so that CI cannot pass by skipping everything.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keeps the source folder free of __pycache__
from desktop import SKIP, Clipboard, Database, Display, Failure, Home, Skip, check, quote, wait_until

CASES = {}


def case(function):
    CASES[function.__name__] = function
    return function


class Harness:
    def __init__(self, program):
        self.display = Display()
        # A packaged program is started through a link; its data lies beside the real file.
        self.program = os.path.realpath(program)
        if not os.access(self.program, os.X_OK):
            self.display.close()
            raise Failure("no program at " + self.program)
        self.clipboard = Clipboard()
        self.root = tempfile.mkdtemp(prefix="quillary-e2e-")
        self.homes = []

    def home(self):
        home = Home(self.program, self.root)
        self.homes.append(home)
        return home

    def template(self):
        return Database(os.path.join(os.path.dirname(self.program), "org.db"))

    def close(self, keep):
        for home in self.homes:
            home.stop_all()
        self.clipboard.release()
        self.display.close()
        if not keep:
            shutil.rmtree(self.root, ignore_errors=True)

    def logs(self):
        return "\n".join(home.logs() for home in self.homes)

    # Steps shared by the cases -----------------------------------------------

    def copy_with(self, window, *keys):
        """Presses keys in the program and returns what it put on the clipboard."""
        sentinel = "e2e sentinel %f" % time.monotonic()
        self.clipboard.offer(sentinel)
        self.display.focus(window)
        self.display.keys(*keys)
        return wait_until(lambda: (lambda t: t if t not in (None, sentinel) else None)(self.clipboard.text()),
                          5, "the program to put something on the clipboard after %s" % "+".join(keys))

    def close_with_button(self, run):
        self.display.request_close(run.window)
        code = run.wait_exit()
        check(code == 0, "closing the window ended the program with %d" % code)


# The phrases a returning user has; rows differ in script, line breaks, tabs and rich text.
PHRASES = [
    {"Str": "Kind regards,\nAnna Berg", "Labels": "Signature", "KeyWord": "sig", "Rating": 70, "Frequency": 5},
    {"Str": "Привет, мир! Ёлка", "Html": "<p>Привет, <b>мир</b>! Ёлка</p>", "Labels": "Русский",
     "Frequency": 0},
    {"Str": "Tab\there \u2615 \U0001F600", "KeyWord": "Emoji", "Rating": 3, "Frequency": 41},
]


@case
def first_start(h):
    """The first start copies the starter database into the user's documents folder and names it."""
    variants = [
        ("default documents folder", None, "Documents"),
        ("documents folder moved in user-dirs.dirs", 'XDG_DOCUMENTS_DIR="$HOME/Papers"\n', "Papers"),
    ]
    template = h.template()
    starter = template.phrases()
    check(len(starter) > 0, "the starter database beside the program has no phrases")
    for name, user_dirs, documents in variants:
        home = h.home()
        if user_dirs:
            with open(os.path.join(home.env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
                f.write(user_dirs)
        expected = home.user_database(documents)
        run = home.start()
        window = run.wait_window()
        title = h.display.title(window)
        check(title == "Quillary - " + expected, "%s: window title %r, expected it to name %s" % (name, title, expected))
        check(os.path.isfile(expected), "%s: no database at %s" % (name, expected))
        check(Database(expected).phrases() == starter, "%s: the user's database is not a copy of the starter" % name)
        check(h.display.geometry(window) == (800, 500), "%s: first window is %dx%d, not 800x500"
              % ((name,) + h.display.geometry(window)))
        check(home.settings() is None, "%s: settings were written before the window was closed" % name)
        h.close_with_button(run)
        check(template.phrases() == starter, "%s: the starter database beside the program was changed" % name)


@case
def copy_space(h):
    """Copy keys put the phrase on the clipboard for other programs and count a use in the file."""
    home = h.home()
    db = home.prepare_database(PHRASES)
    run = home.start()
    window = run.wait_window()
    texts = {p["Str"]: p for p in PHRASES}
    counts = {p["Str"]: p["Frequency"] for p in PHRASES}

    # One key per row: Space, Shift+Space and Ctrl+Insert all copy; Down moves to the next phrase.
    rows = [("space",), ("shift+space",), ("ctrl+Insert",), ("ctrl+c",)]
    copied = []
    for number, keys in enumerate(rows):
        if 0 < number < len(PHRASES):
            h.display.focus(window)
            h.display.keys("Down")
        text = h.copy_with(window, *keys)
        check(text in texts, "%s put %r on the clipboard, which is no phrase of the file" % ("+".join(keys), text))
        if number < len(PHRASES):
            check(text not in copied, "Down did not move to another phrase: %r was copied again" % text)
        copied.append(text)
        counts[text] += 1
        wait_until(lambda: db.frequency_of(text) == counts[text], 3,
                   "Frequency of %r to become %d after %s" % (text, counts[text], "+".join(keys)))
        for other, count in counts.items():
            check(db.frequency_of(other) == count, "copying %r changed the count of %r" % (text, other))

        html = texts[text].get("Html", "")
        targets = h.clipboard.targets()
        if html:
            check("text/html" in targets, "a phrase with rich text offers no text/html: %s" % sorted(targets))
            check(h.clipboard.text("text/html") == html, "the HTML on the clipboard is not the phrase's")
        else:
            check("text/html" not in targets, "a plain phrase offers text/html")
    check(copied[-1] == copied[-2], "Ctrl+C after Ctrl+Insert copied another phrase")


@case
def paste_shift_insert(h):
    """Text that another program put on the clipboard becomes a new phrase on Shift+Insert."""
    variants = [
        ("plain text", "UTF8_STRING", "Первая строка\nSecond line \u2615\tend", "Str"),
        ("rich text only", "text/html", '<meta charset="utf-8"><b>Bold</b> и <i>курсив</i>', "Html"),
    ]
    home = h.home()
    run = home.start()
    window = run.wait_window()
    db = Database(home.user_database())
    for name, target, data, column in variants:
        before = db.phrases()
        h.clipboard.offer(data, target)
        h.display.focus(window)
        h.display.keys("shift+Insert")
        after = wait_until(lambda: (lambda rows: rows if len(rows) == len(before) + 1 else None)(db.phrases()),
                           3, "%s: a new row in the file after Shift+Insert" % name)
        new = [row for row in after if row["id"] not in {old["id"] for old in before}][0]
        check(new[column] == data, "%s: the new phrase's %s is %r" % (name, column, new[column]))
        if column == "Str":
            check(new["StrLower"] == data.lower(), "%s: StrLower is %r" % (name, new["StrLower"]))
            check(new["Html"] == "", "%s: a plain-text paste left Html %r" % (name, new["Html"]))
        check(not new["Labels"] and not new["KeyWord"], "%s: a foreign paste got labels or a keyword" % name)
        unchanged = {row["id"]: row for row in after if row["id"] != new["id"]}
        check(unchanged == {row["id"]: row for row in before}, "%s: pasting changed other phrases" % name)


# Ctrl+End moves the cursor without selecting; Home then selects the last row's
# first cell, so that Space copies and counts that row and not an older selection.
LAST_ROW = ("ctrl+End", "Home")


def _last_phrase(h, window):
    return h.copy_with(window, *LAST_ROW, "space")


# Every clipboard change restarts the program's 500 ms file poll, so probing by
# copying must leave it this long between copies or the poll never comes.
POLL_QUIET = 0.8


def _wait_shown(h, window, db, old, new, since, limit, what):
    """Copies the last row until it is the new phrase, telling the two apart by their counts in the file.

    Fails if the new phrase was not there by limit seconds after since."""
    last_change = since
    while True:
        time.sleep(max(0.0, last_change + POLL_QUIET - time.monotonic()))
        pressed = time.monotonic()
        counts = {text: db.frequency_of(text) for text in (old, new)}
        h.display.keys(*LAST_ROW, "space")
        copied = wait_until(lambda: [t for t in counts if db.frequency_of(t) != counts[t]], 3,
                            "Space to count a use of the last phrase")
        last_change = time.monotonic()
        if copied == [new]:
            break
        check(copied == [old], "Space on the last row copied neither the old nor the new last phrase")
        check(pressed - since <= limit + 2 * POLL_QUIET, "%s: still the old last phrase after %.2f s"
              % (what, pressed - since))
    check(pressed - since <= limit, "%s took %.2f s, more than %.1f s" % (what, pressed - since, limit))
    check(h.clipboard.text() == new, "other programs do not see the new phrase on the clipboard")


@case
def outside_change_sqlite(h):
    """A phrase written into the file by someone else shows up while the table has the focus."""
    home = h.home()
    run = home.start()
    window = run.wait_window()
    db = Database(home.user_database())
    last = db.phrases()[-1]["Str"]
    check(_last_phrase(h, window) == last, "the last row does not show the file's last phrase")

    new = "Written by another copy at %d" % os.getpid()
    h.display.focus(window)
    db.execute("INSERT INTO TypeText (Str, StrLower) VALUES (%s, %s)" % (quote(new), quote(new.lower())))
    _wait_shown(h, window, db, last, new, time.monotonic(), 1.0, "the window to show the phrase written from outside")


@case
def outside_change_second_copy(h):
    """A second copy pastes a phrase into the same file; the first shows it when its table gets the focus back."""
    home = h.home()
    first = home.start()
    first_window = first.wait_window()
    second = home.start()
    second_window = second.wait_window()
    check(first_window != second_window, "both copies report the same window")
    db = Database(home.user_database())
    count = len(db.phrases())
    last = db.phrases()[-1]["Str"]
    check(_last_phrase(h, first_window) == last, "the last row does not show the file's last phrase")

    new = "Pasted in the second copy"
    h.clipboard.offer(new)
    h.display.focus(second_window)
    h.display.keys("shift+Insert")
    wait_until(lambda: len(db.phrases()) == count + 1, 3, "the second copy to write the pasted phrase")

    h.display.focus(first_window)
    _wait_shown(h, first_window, db, last, new, time.monotonic(), 1.0,
                "the first copy to show the second copy's phrase")
    h.close_with_button(second)
    h.close_with_button(first)


@case
def settings_close_button(h):
    """Closing with the window's close button stores the settings that the next start restores."""
    home = h.home()
    run = home.start()
    window = run.wait_window()
    h.display.resize(window, 930, 610)
    wait_until(lambda: h.display.geometry(window) == (930, 610), 5, "the window to take its new size")
    h.close_with_button(run)

    stored = home.settings()
    check(stored is not None, "closing the window wrote no settings file at " + home.settings_file)
    for key in ("Geometry", "State", "NameFileDB", "SQLTable"):
        check(key in stored, "the settings lack %s: %s" % (key, sorted(stored)))
    check(stored["NameFileDB"] == home.user_database(), "NameFileDB is %r" % stored["NameFileDB"])

    again = home.start()
    window = again.wait_window()
    wait_until(lambda: h.display.geometry(window) == (930, 610), 5,
               "the next start to restore 930x610 (it shows %dx%d)" % h.display.geometry(window))
    check(h.display.title(window) == "Quillary - " + home.user_database(), "the next start opened another file")
    h.close_with_button(again)


@case
def exit_command_stores_nothing(h):
    """Leaving through Exit, by Ctrl+Q or the File menu, writes no settings at all."""
    variants = [
        ("Ctrl+Q on a first start", False, ("ctrl+q",)),
        ("File > Exit after a saved close", True, ("alt+f", "x")),
    ]
    for name, saved_before, keys in variants:
        home = h.home()
        if saved_before:
            run = home.start()
            run.wait_window()
            h.close_with_button(run)
        before = None
        if os.path.exists(home.settings_file):
            with open(home.settings_file, "rb") as f:
                before = (f.read(), os.stat(home.settings_file).st_mtime_ns)
        check((before is not None) == saved_before, "%s: unexpected settings before the run" % name)

        run = home.start()
        window = run.wait_window()
        h.display.resize(window, 950, 640)
        wait_until(lambda: h.display.geometry(window) == (950, 640), 5, "the window to take its new size")
        h.display.focus(window)
        h.display.keys(*keys)
        code = run.wait_exit()
        check(code == 0, "%s: the program ended with %d" % (name, code))
        if before is None:
            check(not os.path.exists(os.path.dirname(home.settings_file)),
                  "%s: Exit wrote settings to %s" % (name, home.settings_file))
        else:
            with open(home.settings_file, "rb") as f:
                after = (f.read(), os.stat(home.settings_file).st_mtime_ns)
            check(after == before, "%s: Exit rewrote the settings file" % name)


@case
def installed_program(h):
    """An installed program folder holds the program's data and starts on its own, away from the build."""
    check(h.options.cmake and h.options.build_dir, "installed_program needs --cmake and --build-dir")
    prefix = os.path.join(h.root, "prefix")
    done = subprocess.run([h.options.cmake, "--install", h.options.build_dir, "--prefix", prefix],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    check(done.returncode == 0, "cmake --install failed:\n" + done.stdout.decode("utf-8", "replace"))

    built = os.path.dirname(h.program)
    data = ["org.db", "new.db", "../share/applications/quillary.desktop",
            "../share/icons/hicolor/scalable/apps/quillary.svg"]
    for folder, _, files in os.walk(built):
        relative = os.path.relpath(folder, built)
        if relative.split(os.sep)[0] == "translations" or relative.startswith("Help_"):
            data += [os.path.join(relative, name) for name in files]
    check(any(name.startswith("translations") for name in data), "the build made no translations")
    missing = [name for name in data if not os.path.isfile(os.path.join(prefix, "bin", name))]
    check(not missing, "the installation lacks " + ", ".join(missing))

    h.program = os.path.join(prefix, "bin", "quillary")
    home = h.home()
    run = home.start()
    window = run.wait_window()
    check(h.display.title(window) == "Quillary - " + home.user_database(), "the installed program names no database")
    check(Database(home.user_database()).phrases() == h.template().phrases(),
          "the installed program did not start from its own starter database")
    h.close_with_button(run)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--program", required=True)
    parser.add_argument("--cmake", help="cmake, for installed_program")
    parser.add_argument("--build-dir", help="the build to install, for installed_program")
    args = parser.parse_args()
    required = os.environ.get("QUILLARY_E2E_REQUIRED") == "1"
    keep = os.environ.get("QUILLARY_E2E_KEEP") == "1"

    # ctest and Ctrl+C end the harness through these, so the finally below still cleans up.
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))

    try:
        h = Harness(args.program)
        h.options = args
    except Skip as why:
        print("SKIP: " + str(why))
        return 1 if required else SKIP
    except Failure as why:
        print("FAIL: " + str(why))
        return 1
    failed = True
    try:
        CASES[args.case](h)
        failed = False
        print("PASS: " + args.case)
        return 0
    except Failure as why:
        print("FAIL: %s: %s" % (args.case, why))
        print(h.logs())
        return 1
    finally:
        if failed and keep:
            print("kept " + h.root)
        h.close(keep and failed)


if __name__ == "__main__":
    sys.exit(main())
