# A throwaway PostgreSQL server for one test: its data and its socket in a fresh folder, no TCP, gone at the end.
# With no server installed, start() raises Unavailable (a skip), or RuntimeError when QUILLARY_PG_REQUIRED=1.

import glob, os, shutil, subprocess, tempfile, urllib.parse

ADMIN = "quillary_admin"

class Unavailable(Exception):
    pass

# The newest Debian server's binaries, else those on PATH; None when there are none.
def bin_dir():
    dirs = sorted(glob.glob("/usr/lib/postgresql/*/bin"), key=lambda d: int(d.split("/")[-2].split(".")[0]))[::-1]
    dirs += os.environ.get("PATH", "").split(os.pathsep)
    return next((d for d in dirs if d and shutil.which("pg_ctl", path=d) and shutil.which("initdb", path=d)), None)

class PgCluster:
    dir = None

    def start(self):
        self.stop()
        self.bin = bin_dir()
        if not self.bin:
            message = "no PostgreSQL server is installed (initdb, pg_ctl)"
            raise RuntimeError(message) if os.environ.get("QUILLARY_PG_REQUIRED") == "1" else Unavailable(message)
        # In /tmp whatever TMPDIR says: a socket's path must stay under about 100 bytes.
        self.dir = tempfile.mkdtemp(prefix="qpg-", dir="/tmp")
        try:
            if os.geteuid() == 0:
                shutil.chown(self.dir, "postgres")
            self._run(True, "initdb", "-D", self.data, "-U", ADMIN, "-A", "trust", "-E", "UTF8", "--locale=C", "-N")
            self.control("start")
            self.psql("CREATE DATABASE quillary", database="postgres")
        except BaseException:
            self.stop()
            raise
        return self

    __enter__ = start
    __exit__ = lambda self, *failure: self.stop()

    # Immediate: nothing a test leaves behind is worth a clean shutdown. A server that never ran refuses harmlessly.
    def stop(self):
        if self.dir:
            self._run(True, "pg_ctl", "stop", "-D", self.data, "-m", "immediate", "-w", check=False)
            shutil.rmtree(self.dir, ignore_errors=True)
        self.dir = None

    # "restart", or "stop" and "start" for a server that is away for a while.
    def control(self, command):
        self._run(True, "pg_ctl", command, "-D", self.data, "-l", os.path.join(self.dir, "log"), "-m", "fast", "-w",
                  "-o", "-c listen_addresses='' -c fsync=off -k " + self.dir)

    # The rows, unaligned, one a line; raises RuntimeError with the server's message on an error.
    def psql(self, sql, database="quillary", user=ADMIN):
        return self._run(False, "psql", "-XqAt", "-v", "ON_ERROR_STOP=1", "-h", self.dir, "-U", user, "-d", database,
                         "-c", sql).stdout.strip()

    def uri(self, database="quillary", user=ADMIN):
        return "postgresql:///%s?host=%s&user=%s" % (database, urllib.parse.quote(self.dir), urllib.parse.quote(user))

    data = property(lambda self: os.path.join(self.dir, "data"))

    # The server refuses to run as root, so root runs it as Debian's postgres user.
    def _run(self, as_server, program, *args, check=True):
        command = ["runuser", "-u", "postgres", "--"] if as_server and os.geteuid() == 0 else []
        done = subprocess.run(command + [os.path.join(self.bin, program), *args], cwd=self.dir, capture_output=True,
                              encoding="utf-8", errors="replace", timeout=120)
        if check and done.returncode:
            log = os.path.join(self.dir, "log")  # the server's own log tells why it did not start
            raise RuntimeError("%s failed: %s%s" % (program, done.stderr,
                                                    open(log).read() if as_server and os.path.exists(log) else ""))
        return done

# For the C++ tests: answers each JSON line of standard input, ["control", command] or ["psql", sql, database, user],
# with one; the first answer, to no request, is the start's: the socket folder. The server goes at the end of the input.
if __name__ == "__main__":
    import itertools, json, sys
    cluster = PgCluster()
    try:
        for request in itertools.chain([["start"]], map(json.loads, sys.stdin)):
            try:
                out = getattr(cluster, request[0])(*request[1:])
                reply = {"ok": True, "out": cluster.dir if out is cluster else out or ""}
            except Exception as e:
                reply = {"ok": False, "out": str(e), "unavailable": isinstance(e, Unavailable)}
            print(json.dumps(reply), flush=True)
    finally:
        cluster.stop()
