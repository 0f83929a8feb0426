"""Shared pieces of the robustness tests: the real program run headless,
projects made from the program's template, and the users' databases read
back independently (the sqlite3 module, the psql client) with every amount
compared exactly, as a decimal number.

Expected amounts are computed here with integers only: an amount of old lei
is a whole number, its new amount is that number divided by 10 000, rounded
half away from zero to 2 decimals.
"""

import os
import random
import shutil
import signal
import socket
import sqlite3
import struct
import subprocess
import sys
import time
from decimal import Decimal

SKIP = 77  # the exit status CTest reads as "skipped"
NULL = None


def ci():
    return os.environ.get("CI") == "true"


def loud(message):
    bar = "!" * 72
    print(f"\n{bar}\n!!! {message}\n{bar}\n", flush=True)


def fail(message):
    print(f"FAILED: {message}", flush=True)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


# ---- amounts ----

def new_amount(old):
    """The new-lei amount of a whole number of old lei: old / 10 000,
    halves away from zero, 2 decimals. Integers only."""
    if old is None:
        return None
    cents = (abs(old) + 50) // 100
    return Decimal(-cents if old < 0 else cents).scaleb(-2)


def as_decimal(value):
    """A value read from a database as an exact decimal (None for Null).
    Doubles arrive as Python floats, whose repr is the shortest decimal that
    is that very double; text (PostgreSQL) is taken as written."""
    if value is None:
        return None
    if isinstance(value, bool):
        raise ValueError(f"a boolean where an amount was expected: {value!r}")
    if isinstance(value, int):
        return Decimal(value)
    if isinstance(value, float):
        return Decimal(repr(value))
    try:
        return Decimal(str(value).strip())
    except Exception as exc:  # text that is not a number
        raise ValueError(f"not a number: {value!r}") from exc


def make_amounts(rng, count):
    """Whole amounts of old lei of every useful shape: Null, zero, small,
    halves at the ban (…50), just below and above them, large, negative."""
    amounts = []
    for _ in range(count):
        kind = rng.randrange(10)
        sign = -1 if rng.randrange(5) == 0 else 1
        if kind == 0:
            amounts.append(None)
        elif kind == 1:
            amounts.append(0)
        elif kind == 2:
            amounts.append(sign * (rng.randrange(1, 10**6) * 100 + 50))
        elif kind == 3:
            amounts.append(sign * (rng.randrange(1, 10**6) * 100 + rng.choice((49, 51, 99, 1))))
        elif kind == 4:
            amounts.append(sign * rng.randrange(1, 10**11))
        else:
            amounts.append(sign * rng.randrange(1, 10**8))
    return amounts


# ---- the program ----

class Vamor:
    """The real program, run headless in a program folder of its own."""

    def __init__(self, program, home):
        self.program = program
        self.home = home
        self.options = []  # more options of every run (--jobs 4)

    def env(self):
        env = dict(os.environ)
        env["VAMOR_HOME"] = self.home
        env.pop("DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        return env

    def args(self, project, to, report=None):
        args = [self.program, "--convert", project, "--to", to, "--yes"] + self.options
        if report:
            args += ["--report", report]
        return args

    def start(self, project, to, report=None):
        return subprocess.Popen(self.args(project, to, report), env=self.env(), cwd=self.home,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def run(self, project, to, report=None, timeout=300):
        started = time.monotonic()
        p = subprocess.run(self.args(project, to, report), env=self.env(), cwd=self.home,
                           stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
        return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace"), \
            time.monotonic() - started


def kill_after(process, delay):
    """SIGKILL at `delay` seconds after start; True when the program was
    still running when killed."""
    try:
        process.wait(timeout=delay)
    except subprocess.TimeoutExpired:
        process.send_signal(signal.SIGKILL)
        process.communicate()
        return True
    process.communicate()
    return False


# ---- projects ----

def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def make_project(template, path, sources):
    """A project made from the template: `sources` is a list of
    (description, connection string, [(table, [(field, recovery field)])])."""
    shutil.copyfile(template, path)
    os.chmod(path, 0o600)
    db = sqlite3.connect(path)
    try:
        db.execute("PRAGMA foreign_keys = ON")
        for description, conn_string, tables in sources:
            cur = db.execute("INSERT INTO tConn (IdConnType, Description, ConnString, IntegratedSecurity, Offline) "
                             "VALUES (6, ?, ?, 0, 0)", (description, conn_string))
            id_conn = cur.lastrowid
            for table, fields in tables:
                cur = db.execute("INSERT INTO tTable (IdConn, TableName) VALUES (?, ?)", (id_conn, table))
                id_table = cur.lastrowid
                for field, rec in fields:
                    db.execute("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (?, ?, ?)",
                               (id_table, field, rec))
        db.commit()
    finally:
        db.close()


def check_project_file(path):
    """The project file on disk opens: integrity check "ok" and every table
    of the project readable. Returns a message, "" when sound."""
    try:
        db = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
        try:
            result = db.execute("PRAGMA integrity_check").fetchall()
            if result != [("ok",)]:
                return f"integrity check of {path}: {result[:5]}"
            for table in ("tConfig", "tConnType", "tConn", "tTable", "tField"):
                db.execute(f"SELECT * FROM {table}").fetchall()
            version = db.execute("SELECT Version FROM tConfig").fetchall()
            if len(version) != 1:
                return f"{path}: tConfig holds {len(version)} rows"
        finally:
            db.close()
    except sqlite3.Error as exc:
        return f"{path} cannot be read: {exc}"
    return ""


# ---- the users' databases ----

class SqliteDb:
    def __init__(self, path):
        self.path = path

    def conn_string(self):
        return "Provider=SQLite;Data Source=" + self.path

    def execute(self, script):
        db = sqlite3.connect(self.path)
        try:
            db.executescript(script)
            db.commit()
        finally:
            db.close()

    def insert_amounts(self, table, columns, rows):
        db = sqlite3.connect(self.path)
        try:
            marks = ", ".join("?" for _ in range(len(columns) + 1))
            db.executemany(f"INSERT INTO {table} (Id, {', '.join(columns)}) VALUES ({marks})", rows)
            db.commit()
        finally:
            db.close()

    def read(self, table, field, rec):
        """{id: (amount, recovery)}; the recovery value is None when the
        column does not exist (yet)."""
        db = sqlite3.connect(self.path)
        try:
            names = [r[1].lower() for r in db.execute(f"PRAGMA table_info({table})")]
            rec_sql = rec if rec.lower() in names else "NULL"
            return {row[0]: (row[1], row[2])
                    for row in db.execute(f"SELECT Id, {field}, {rec_sql} FROM {table} ORDER BY Id")}
        finally:
            db.close()


class DbfFolder:
    """A folder of dBase III tables, written and read back with the standard
    library only: an Id column N(10,0) and every amount in a numeric column
    N(18,2) (blank for Null). Read back, a table must be whole: its header,
    every record its header counts, nothing cut short."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)

    def conn_string(self, lock_timeout):
        return f"Provider=DBF;LockTimeout={lock_timeout};Data Source={self.folder}"

    def path(self, table):
        return os.path.join(self.folder, table + ".dbf")

    def create(self, table, columns, rows):
        fields = [("ID", 10, 0)] + [(c.upper(), 18, 2) for c in columns]
        header_length = 32 + 32 * len(fields) + 1
        record_length = 1 + sum(length for _, length, _ in fields)
        out = bytearray(struct.pack("<BBBBIHH20x", 0x03, 105, 1, 1, len(rows), header_length, record_length))
        for name, length, decimals in fields:
            out += struct.pack("<11sc4xBB14x", name.encode("ascii"), b"N", length, decimals)
        out += b"\r"
        for row in rows:
            out += b" "
            for value, (_, length, decimals) in zip(row, fields):
                text = "" if value is None else (f"{value}.00" if decimals else str(value))
                out += text.rjust(length).encode("ascii")
        out += b"\x1a"
        with open(self.path(table), "wb") as f:
            f.write(out)

    def records(self, table):
        """The column names and the records ({name: text or None}) of a table."""
        with open(self.path(table), "rb") as f:
            data = f.read()
        check(len(data) >= 32, f"{table}.dbf is cut short: {len(data)} bytes")
        count, header_length, record_length = struct.unpack_from("<IHH", data, 4)
        names, lengths, pos = [], [], 32
        while data[pos] != 0x0D:
            names.append(data[pos:pos + 11].split(b"\0")[0].decode("ascii").lower())
            lengths.append(data[pos + 16])
            pos += 32
        check(1 + sum(lengths) == record_length, f"{table}.dbf: the columns do not fill a record")
        check(len(data) >= header_length + count * record_length,
              f"{table}.dbf is broken: {count} records of {record_length} bytes announced, {len(data)} bytes in all")
        rows = []
        for r in range(count):
            at, row = header_length + r * record_length + 1, {}
            for name, length in zip(names, lengths):
                text = data[at:at + length].decode("ascii").strip()
                row[name] = text or None
                at += length
            rows.append(row)
        return names, rows

    def read(self, table, field, rec):
        """{id: (amount, recovery)} as text; the recovery value is None when
        the column does not exist (yet)."""
        _, rows = self.records(table)
        return {int(row["id"]): (row[field.lower()], row.get(rec.lower())) for row in rows}


class Holder:
    """Another program holding a DBF table as a Clipper program does (a
    record lock at 1 000 000 000), until stopped: tests/db/dbf_holder.py."""

    SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "db", "dbf_holder.py")

    def __init__(self, path, how="clipper"):
        self.process = subprocess.Popen([sys.executable, self.SCRIPT, path, how], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if self.process.stdout.readline().strip() != b"gata":
            self.process.kill()
            fail(f"the holder of {path} did not start: {self.process.communicate()[1]!r}")

    def stop(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)


def odbc_items(conn_string):
    items = {}
    for part in conn_string.split(";"):
        if "=" in part:
            key, value = part.split("=", 1)
            items[key.strip().lower()] = value.strip()
    return items


def pg_bin(name):
    for folder in (os.environ.get("PG_BIN", ""), "/usr/lib/postgresql/15/bin"):
        if folder and os.access(os.path.join(folder, name), os.X_OK):
            return os.path.join(folder, name)
    return shutil.which(name)


class PgDb:
    """A PostgreSQL database reached with psql; values come back as text."""

    def __init__(self, host, port, database, user, password=None):
        self.host, self.port, self.database, self.user, self.password = host, str(port), database, user, password

    @classmethod
    def from_odbc(cls, conn_string):
        items = odbc_items(conn_string)
        return cls(items.get("server", "127.0.0.1"), items.get("port", "5432"), items["database"],
                   items.get("uid", ""), items.get("pwd"))

    def psql(self, sql, timeout=120, check_result=True):
        env = dict(os.environ)
        if self.password is not None:
            env["PGPASSWORD"] = self.password
        p = subprocess.run([pg_bin("psql"), "-X", "-q", "-A", "-t", "-F", "\x1f", "-v", "ON_ERROR_STOP=1",
                            "-h", self.host, "-p", self.port, "-U", self.user, "-d", self.database],
                           input=sql.encode(), env=env, capture_output=True, timeout=timeout)
        if check_result and p.returncode != 0:
            fail(f"psql: {p.stderr.decode(errors='replace').strip()}\n(statement: {sql[:300]})")
        return p.returncode, p.stdout.decode(), p.stderr.decode()

    def query(self, sql):
        _, out, _ = self.psql(sql)
        return [line.split("\x1f") for line in out.splitlines() if line]

    def insert_amounts(self, table, columns, rows):
        values = []
        for row in rows:
            values.append("(" + ", ".join("NULL" if v is None else str(v) for v in row) + ")")
        for start in range(0, len(values), 2000):
            self.psql(f"INSERT INTO {table} (id, {', '.join(columns)}) VALUES "
                      + ",\n".join(values[start:start + 2000]) + ";")

    def read(self, table, field, rec):
        present = self.query("SELECT count(*) FROM information_schema.columns "
                             f"WHERE table_name = '{table}' AND column_name = '{rec.lower()}'")
        rec_sql = f"{rec}::text" if present[0][0] == "1" else "NULL::text"
        rows = self.query(f"SELECT id, COALESCE({field}::text, 'NULL'), COALESCE({rec_sql}, 'NULL') "
                          f"FROM {table} ORDER BY id")
        return {int(r[0]): (None if r[1] == "NULL" else r[1], None if r[2] == "NULL" else r[2]) for r in rows}


class Expected:
    """The originals of one field ({id: whole old lei or None}) and, computed
    once, the exact old and new amount of every row."""

    def __init__(self, originals):
        self.originals = dict(originals)
        self.old = {k: (None if v is None else Decimal(v)) for k, v in self.originals.items()}
        self.new = {k: new_amount(v) for k, v in self.originals.items()}


def _decimal_or_text(value):
    try:
        return as_decimal(value)
    except ValueError:
        return value  # compares equal to no amount


def field_state(current, expected):
    """'old' when every amount is its original and every recovery value Null,
    'new' when every amount is its new amount and every recovery value its
    original, otherwise a description of the first rows that are neither."""
    if set(current) != set(expected.old):
        return f"rows differ: {len(current)} rows instead of {len(expected.old)}"
    values = {k: (_decimal_or_text(a), _decimal_or_text(r)) for k, (a, r) in current.items()}
    if all(values[k] == (old, None) for k, old in expected.old.items()):
        return "old"
    if all(values[k] == (expected.new[k], expected.old[k]) for k in expected.old):
        return "new"
    wrong, old_rows, new_rows = [], [], []
    for k in expected.old:
        if values[k] == (expected.old[k], None):
            old_rows.append(k)
        elif values[k] == (expected.new[k], expected.old[k]):
            new_rows.append(k)
        elif len(wrong) < 5:
            wrong.append(f"Id {k}: amount {current[k][0]!r}, recovery {current[k][1]!r} "
                         f"(original {expected.originals[k]}, new {expected.new[k]})")
    if not wrong:
        wrong = [f"{len(old_rows)} rows old (Id {old_rows[:3]}...), {len(new_rows)} rows new (Id {new_rows[:3]}...)"]
    return "half converted: " + "; ".join(wrong)


# ---- a PostgreSQL instance of the test's own ----

def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def as_postgres(args):
    if os.getuid() == 0:
        return ["runuser", "-u", "postgres", "--"] + args
    return args


class PgServer:
    """A PostgreSQL server started in `folder` on a free loopback port, with a
    trusted superuser "postgres" and a database "vamor"."""

    def __init__(self, folder):
        self.folder = folder
        self.data = os.path.join(folder, "data")
        self.sock = os.path.join(folder, "sock")
        self.log = os.path.join(folder, "server.log")
        self.port = None

    @staticmethod
    def available():
        return pg_bin("pg_ctl") is not None and pg_bin("initdb") is not None

    def _chown(self):
        if os.getuid() == 0:
            shutil.chown(self.folder, "postgres")
            for root, dirs, files in os.walk(self.folder):
                for name in dirs + files:
                    shutil.chown(os.path.join(root, name), "postgres")

    def init(self):
        os.makedirs(self.data, exist_ok=True)
        os.makedirs(self.sock, exist_ok=True)
        os.chmod(self.folder, 0o755)
        self._chown()
        p = subprocess.run(as_postgres([pg_bin("initdb"), "-D", self.data, "-U", "postgres", "-E", "UTF8",
                                        "--locale=C.UTF-8", "--auth=trust", "--no-sync"]),
                           capture_output=True)
        check(p.returncode == 0, f"initdb: {p.stderr.decode(errors='replace')[-800:]}")

    def start(self):
        for _ in range(3):
            port = self.port or free_port()
            p = subprocess.run(as_postgres([pg_bin("pg_ctl"), "-D", self.data, "-l", self.log, "-w", "-t", "60",
                                            "-o", f"-c listen_addresses=127.0.0.1 -p {port} -k {self.sock} "
                                                  "-c fsync=off -c full_page_writes=off",
                                            "start"]),
                               capture_output=True)
            if p.returncode == 0:
                self.port = port
                return
            if self.port:  # a restart keeps its port
                break
        with open(self.log, errors="replace") as f:
            tail = f.read()[-1500:]
        fail(f"PostgreSQL did not start:\n{tail}")

    def stop(self, mode="fast"):
        subprocess.run(as_postgres([pg_bin("pg_ctl"), "-D", self.data, "-m", mode, "-w", "stop"]),
                       capture_output=True)

    def running(self):
        return os.path.exists(os.path.join(self.data, "postmaster.pid"))

    def db(self, database="vamor"):
        return PgDb("127.0.0.1", self.port, database, "postgres")


def new_rng(env_name):
    """A random generator whose seed is printed and may be set through the
    environment variable `env_name` to replay a run."""
    seed = os.environ.get(env_name)
    seed = int(seed) if seed else random.SystemRandom().randrange(1, 2**31)
    print(f"seed {seed} (set {env_name}={seed} to replay this run)", flush=True)
    return seed, random.Random(seed)


def write_summary(line):
    path = os.environ.get("VAMOR_ROBUSTNESS_SUMMARY")
    if path:
        with open(path, "a") as f:
            f.write(line + "\n")
