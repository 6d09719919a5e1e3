"""Drives the built program from outside, the way a user's desktop does.

Everything goes through the X server named by DISPLAY: xdotool for keys and
windows, xclip for the clipboard as other programs see it, the sqlite3 shell for
the database file, and libX11 itself for the one thing neither tool can send
without a window manager, the close request of a window's close button.
"""

import configparser
import ctypes
import ctypes.util
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

SKIP = 77
TOOLS = ("xdotool", "xclip", "sqlite3")


class Skip(Exception):
    """The machine cannot run the case; not a fault of the program."""


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(probe, timeout, what, interval=0.05):
    """Polls probe() until it returns something truthy; fails naming what it waited for."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def _run(args, timeout=10, check_rc=True, input_bytes=None):
    done = subprocess.run(args, input=input_bytes, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    if check_rc and done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                              done.stderr.decode("utf-8", "replace").strip()))
    return done


# Children die with the harness even when ctest kills it outright on a timeout.
_libc = ctypes.CDLL(ctypes.util.find_library("c") or "libc.so.6", use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


class Display:
    """The X server of DISPLAY, checked once so that a machine without one skips cleanly."""

    def __init__(self):
        name = os.environ.get("DISPLAY", "")
        if not name:
            raise Skip("no X display (DISPLAY is not set); run under xvfb-run")
        missing = [tool for tool in TOOLS if shutil.which(tool) is None]
        if missing:
            raise Skip("missing tools: " + ", ".join(missing))
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XInternAtom.restype = ctypes.c_ulong
        self.x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                        ctypes.POINTER(_XEvent)]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.handle = self.x11.XOpenDisplay(name.encode())
        if not self.handle:
            raise Skip("cannot connect to the X display " + name)

    def close(self):
        if self.handle:
            self.x11.XCloseDisplay(self.handle)
            self.handle = None

    def request_close(self, window):
        """What a window manager sends when the user clicks the title bar's close button."""
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = self.x11.XInternAtom(self.handle, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = self.x11.XInternAtom(self.handle, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        check(self.x11.XSendEvent(self.handle, window, 0, 0, ctypes.byref(event)) != 0,
              "XSendEvent refused the close request")
        self.x11.XFlush(self.handle)

    # Keyboard and windows -------------------------------------------------

    @staticmethod
    def focus(window):
        _run(["xdotool", "windowfocus", "--sync", str(window)], timeout=10)
        wait_until(lambda: Display.focused() == window, 5, "the keyboard focus on window %d" % window)

    @staticmethod
    def focused():
        done = _run(["xdotool", "getwindowfocus"], check_rc=False)
        return int(done.stdout) if done.returncode == 0 and done.stdout.strip() else None

    @staticmethod
    def keys(*keys):
        _run(["xdotool", "key", "--delay", "40"] + list(keys))

    @staticmethod
    def title(window):
        return _run(["xdotool", "getwindowname", str(window)]).stdout.decode("utf-8").rstrip("\n")

    @staticmethod
    def geometry(window):
        out = _run(["xdotool", "getwindowgeometry", "--shell", str(window)]).stdout.decode()
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    @staticmethod
    def resize(window, width, height):
        _run(["xdotool", "windowsize", "--sync", str(window), str(width), str(height)], timeout=10)

    @staticmethod
    def windows_of(pid, title_prefix):
        done = _run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^" + title_prefix],
                    check_rc=False)
        return [int(w) for w in done.stdout.split()]


class Clipboard:
    """The CLIPBOARD selection as any other X client reads and sets it."""

    def __init__(self):
        self.owners = []

    def text(self, target="UTF8_STRING"):
        try:
            done = _run(["xclip", "-o", "-selection", "clipboard", "-t", target], timeout=5, check_rc=False)
        except subprocess.TimeoutExpired:
            return None
        return done.stdout.decode("utf-8") if done.returncode == 0 else None

    def targets(self):
        listed = self.text("TARGETS")
        return set(listed.split()) if listed else set()

    def offer(self, data, target="UTF8_STRING"):
        """Takes the clipboard like another program; xclip keeps serving it until someone else takes it."""
        owner = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", "clipboard", "-t", target],
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 preexec_fn=_die_with_parent)
        owner.stdin.write(data.encode("utf-8"))
        owner.stdin.close()
        self.owners.append(owner)
        wait_until(lambda: self.text(target) == data, 5, "xclip to own the clipboard")

    def release(self):
        for owner in self.owners:
            if owner.poll() is None:
                owner.terminate()
            try:
                owner.wait(3)
            except subprocess.TimeoutExpired:
                owner.kill()
        self.owners = []


class Database:
    """The phrase file on disk, read and written with the sqlite3 shell."""

    def __init__(self, path):
        self.path = path

    def query(self, sql):
        done = _run(["sqlite3", "-json", "-cmd", ".timeout 5000", self.path, sql])
        out = done.stdout.decode("utf-8").strip()
        return json.loads(out) if out else []

    def execute(self, sql):
        _run(["sqlite3", "-cmd", ".timeout 5000", self.path, sql])

    def phrases(self):
        return self.query("SELECT * FROM TypeText ORDER BY id")

    def frequency_of(self, text):
        rows = self.query("SELECT Frequency FROM TypeText WHERE Str = %s" % quote(text))
        return rows[0]["Frequency"] if len(rows) == 1 else None

    def replace_phrases(self, phrases):
        """Leaves exactly the given phrases in the file, lower-case columns filled as the program would."""
        statements = ["DELETE FROM TypeText;"]
        for p in phrases:
            statements.append(
                "INSERT INTO TypeText (Str, Labels, KeyWord, Html, StrLower, LabelLower, KeyLower, Rating, Frequency)"
                " VALUES (%s, %s, %s, %s, %s, %s, %s, %d, %d);" % (
                    quote(p["Str"]), quote(p.get("Labels", "")), quote(p.get("KeyWord", "")),
                    quote(p.get("Html", "")), quote(p["Str"].lower()), quote(p.get("Labels", "").lower()),
                    quote(p.get("KeyWord", "").lower()), p.get("Rating", 0), p.get("Frequency", 0)))
        self.execute("BEGIN;" + "".join(statements) + "COMMIT;")


def quote(text):
    return "'" + text.replace("'", "''") + "'"


class Run:
    """One running copy of the program."""

    def __init__(self, home, program, log):
        self.home = home
        self.log = log
        self.process = subprocess.Popen([program], env=home.env, cwd=home.path, stdout=log, stderr=subprocess.STDOUT,
                                        stdin=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        self.window = None

    def wait_window(self, timeout=30):
        """The main window, once it is mapped and titled."""
        def probe():
            if self.process.poll() is not None:
                raise Failure("the program ended (%d) before showing its window" % self.process.returncode)
            found = Display.windows_of(self.process.pid, "Quillary - ")
            return found[0] if found else None
        self.window = wait_until(probe, timeout, "the main window of pid %d" % self.process.pid, interval=0.1)
        return self.window

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s" % timeout)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Home:
    """A user of their own: HOME, XDG folders and settings in a temporary folder."""

    def __init__(self, program, root):
        self.program = program
        self.path = tempfile.mkdtemp(prefix="home-", dir=root)
        self.runs = []
        env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "QT_", "SESSION_MANAGER"))}
        env.update({
            "HOME": self.path,
            "XDG_CONFIG_HOME": os.path.join(self.path, ".config"),
            "XDG_DATA_HOME": os.path.join(self.path, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.path, ".cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.path, ".run"),
            # A plain ctest run may set the offscreen platform for the unit tests.
            "QT_QPA_PLATFORM": "xcb",
            "LC_ALL": "C.UTF-8",
            # Timed log lines let a failure be read against the harness's own steps.
            "QT_MESSAGE_PATTERN": "%{time process} %{message}",
        })
        self.env = env
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(env["XDG_CONFIG_HOME"])

    @property
    def program_dir(self):
        return os.path.dirname(os.path.abspath(self.program))

    @property
    def settings_file(self):
        return os.path.join(self.env["XDG_CONFIG_HOME"], "Tamberlane", "Quillary.conf")

    def settings(self):
        """The [Settings] group as written, or None when there is no settings file."""
        if not os.path.exists(self.settings_file):
            return None
        parser = configparser.RawConfigParser(strict=False)
        parser.optionxform = str
        parser.read(self.settings_file, encoding="utf-8")
        return dict(parser["Settings"]) if parser.has_section("Settings") else {}

    def user_database(self, documents="Documents"):
        return os.path.join(self.path, documents, "Quillary", "org.db")

    def prepare_database(self, phrases):
        """A user who has worked before: the starter file with their own phrases in it."""
        path = self.user_database()
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(os.path.join(self.program_dir, "org.db"), path)
        db = Database(path)
        db.replace_phrases(phrases)
        return db

    def start(self):
        log = open(os.path.join(self.path, "program-%d.log" % len(self.runs)), "w")
        run = Run(self, self.program, log)
        self.runs.append(run)
        return run

    def stop_all(self):
        for run in self.runs:
            run.stop()
            run.log.close()

    def logs(self):
        text = []
        for i in range(len(self.runs)):
            name = os.path.join(self.path, "program-%d.log" % i)
            with open(name, encoding="utf-8", errors="replace") as f:
                text.append("--- run %d ---\n%s" % (i, f.read()[-4000:]))
        return "\n".join(text)
