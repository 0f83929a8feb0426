#!/usr/bin/env python3
"""Killed runs: the headless conversion of a project over SQLite and
PostgreSQL tables and a folder of DBF tables, killed with SIGKILL at random
moments.

    crash_test.py --vamor PROGRAM --templates FOLDER

Each trial starts from every amount in old lei, converts to new lei or back
(the direction drawn by chance; converting back starts from a completed
conversion) and kills the run after a delay drawn between 0 and the time
the latest uninterrupted run in that direction took. After each kill:
  - every field holds either all its old amounts with Null recovery values or
    all its new amounts with the old ones in the recovery column;
  - the project file opens (integrity check, every table readable);
  - the same run again, not killed, finishes with exit status 0 and every
    field is in the wanted currency;
  - converting back to old lei restores every original amount exactly.
In about one trial of three another program (a Clipper-style record lock,
tests/db/dbf_holder.py) holds the DBF table "banca" during the killed run and
the run after it: that table's fields keep their amounts and fail with a
message naming the program, every other field converts, every DBF table
stays whole; once the program has let go, a run converts it too.
About one trial in two converts the data sources side by side (--jobs 4),
the run that is killed and the runs that check it alike.

VAMOR_CRASH_SEED replays a run (the seed is printed); VAMOR_CRASH_TRIALS
sets how many runs must be killed while they run (default 24; trials whose
run ended first are checked too and do not count); VAMOR_CRASH_ROWS the rows of each
table (default 10000). The PostgreSQL tables live in the test server named by
VAMOR_TEST_PG; without it only SQLite is tried, unless CI=true, where that
is a failure.
"""

import argparse
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import robustness as rb  # noqa: E402

# (table, [(field, column type on SQLite, column type on PostgreSQL)])
TABLES = [
    ("facturi", [("valoare", "DECIMAL(18,2)", "NUMERIC(18,2)"), ("tva", "DOUBLE", "DOUBLE PRECISION")]),
    ("plati", [("suma", "DECIMAL(18,2)", "NUMERIC(18,2)")]),
]
# The DBF folder's tables (every amount N(18,2)) and the one another program
# holds in some trials.
DBF_TABLES = [("casa", ["suma"]), ("banca", ["suma", "valoare"])]
HELD_TABLE = "banca"


class Source:
    """One data source of the project: its tables, its originals, and how
    they are read back."""

    def __init__(self, name, db, prefix, tables=None):
        self.name = name
        self.db = db
        self.prefix = prefix
        # [(table, [field])]
        self.tables = tables or [(base, [field for field, _, _ in fields]) for base, fields in TABLES]
        self.expected = {}  # (table, field) -> rb.Expected

    def table(self, base):
        return self.prefix + base

    def fields(self):
        for base, fields in self.tables:
            for field in fields:
                yield self.table(base), field, field + "_vm"

    def states(self):
        return {(t, f): rb.field_state(self.db.read(t, f, r), self.expected[(t, f)]) for t, f, r in self.fields()}


def fill(source, rng, rows, pg):
    for base, fields in TABLES:
        table = source.table(base)
        columns = [f for f, _, _ in fields]
        types = [(pg_type if pg else lite_type) for _, lite_type, pg_type in fields]
        ddl = ", ".join(f"{c} {t}" for c, t in zip(columns, types))
        if pg:
            source.db.psql(f"DROP TABLE IF EXISTS {table}; CREATE TABLE {table} (id INTEGER PRIMARY KEY, {ddl});")
        else:
            source.db.execute(f"CREATE TABLE {table} (Id INTEGER PRIMARY KEY, {ddl});")
        amounts = {c: rb.make_amounts(rng, rows) for c in columns}
        data = [tuple([i + 1] + [amounts[c][i] for c in columns]) for i in range(rows)]
        source.db.insert_amounts(table, columns, data)
        for c in columns:
            source.expected[(table, c)] = rb.Expected({i + 1: amounts[c][i] for i in range(rows)})


def fill_dbf(source, rng, rows):
    for table, columns in source.tables:
        amounts = {c: rb.make_amounts(rng, rows) for c in columns}
        source.db.create(table, columns, [tuple([i + 1] + [amounts[c][i] for c in columns]) for i in range(rows)])
        for c in columns:
            source.expected[(table, c)] = rb.Expected({i + 1: amounts[c][i] for i in range(rows)})


def wait_for_pg_sessions(pg, prefix, timeout=60):
    """Waits until no session of a killed run still works on our tables (a
    server ends a dead client's session when it next reads from it)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        rows = pg.query("SELECT count(*) FROM pg_stat_activity WHERE pid <> pg_backend_pid() "
                        f"AND query ILIKE '%{prefix}%' AND state <> 'idle'")
        if rows[0][0] == "0":
            return
        time.sleep(0.1)
    rb.fail("a killed run's PostgreSQL session still works after 60 s")


def working_copy_message(path):
    """A copy of the working copy `path` and its journal, opened for writing
    so that a hot journal is rolled back, then checked: "" when sound."""
    scratch = tempfile.mkdtemp(prefix="vamor-copy.")
    try:
        copy = os.path.join(scratch, "copy.tmp")
        for suffix in ("", "-journal"):
            if os.path.exists(path + suffix):
                shutil.copyfile(path + suffix, copy + suffix)
        try:
            db = sqlite3.connect(copy)
            try:
                db.execute("SELECT count(*) FROM tField").fetchall()
            finally:
                db.close()
        except sqlite3.Error as exc:
            return f"the working copy {path} cannot be read: {exc}"
        return rb.check_project_file(copy)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vamor", required=True)
    parser.add_argument("--templates", required=True)
    args = parser.parse_args()

    seed, rng = rb.new_rng("VAMOR_CRASH_SEED")
    trials = int(os.environ.get("VAMOR_CRASH_TRIALS", "24"))
    rows = int(os.environ.get("VAMOR_CRASH_ROWS", "10000"))

    pg_string = os.environ.get("VAMOR_TEST_PG", "")
    if not pg_string:
        if rb.ci():
            rb.fail("VAMOR_TEST_PG is not set (CI requires the PostgreSQL test server)")
        rb.loud("SKIPPED the PostgreSQL tables: VAMOR_TEST_PG is not set; run scripts/test.sh to start the servers")

    work = tempfile.mkdtemp(prefix="vamor-crash.")
    home = os.path.join(work, "home")
    os.makedirs(home)
    vamor = rb.Vamor(os.path.abspath(args.vamor), home)
    project = os.path.join(work, "crash.vmd")

    sources = [Source("SQLite", rb.SqliteDb(os.path.join(work, "firma.db")), "")]
    prefix = f"crash{os.getpid()}_"
    if pg_string:
        sources.append(Source("PostgreSQL", rb.PgDb.from_odbc(pg_string), prefix))
    pg_source = sources[1] if len(sources) > 1 else None
    dbf_source = Source("DBF", rb.DbfFolder(os.path.join(work, "dbase")), "", DBF_TABLES)
    sources.append(dbf_source)

    def conn_string(s):
        if s is pg_source:
            return pg_string
        # A held DBF table is waited for a moment only.
        return s.db.conn_string(0.2) if s is dbf_source else s.db.conn_string()

    def check_all(wanted, when):
        for s in sources:
            for (table, field), state in s.states().items():
                rb.check(state == wanted if wanted else state in ("old", "new"),
                         f"{when}: {s.name} {table}.{field} is {state}"
                         + (f" (expected all {wanted})" if wanted else "") + f"; seed {seed}")

    # The time of the latest uninterrupted run over every field, per
    # direction: the kills fall within it.
    full_run = {}

    def finish(to, when, whole=False):
        if pg_source:
            wait_for_pg_sessions(pg_source.db, prefix)
        status, out, err, seconds = vamor.run(project, to)
        rb.check(status == 0, f"{when}: the run --to {to} exited {status}; seed {seed}\n{out}\n{err}")
        check_all("new" if to == "noi" else "old", f"{when}, after the run --to {to}")
        # The saved project says so too: every field's state, no error.
        db = sqlite3.connect(f"file:{project}?mode=ro", uri=True)
        try:
            wrong = db.execute("SELECT FieldName, Converted, Error FROM tField WHERE (Converted <> 0) <> ? "
                               "OR Error IS NOT NULL", (1 if to == "noi" else 0,)).fetchall()
        finally:
            db.close()
        rb.check(not wrong, f"{when}: after the run --to {to} the project records {wrong}; seed {seed}")
        if whole:
            full_run[to] = seconds

    def held_field(s, table):
        return s is dbf_source and table == HELD_TABLE

    def check_held(to, when):
        """The held table's fields as the trial found them."""
        before = "old" if to == "noi" else "new"
        for (table, field), state in dbf_source.states().items():
            if table == HELD_TABLE:
                rb.check(state == before, f"{when}: DBF {table}.{field} is {state} while another program held it "
                                          f"(expected all {before}); seed {seed}")

    def finish_held(to, when):
        """The run while another program holds the DBF table: it fails that
        table's fields, converts every other one and exits non-zero."""
        if pg_source:
            wait_for_pg_sessions(pg_source.db, prefix)
        status, out, err, _ = vamor.run(project, to)
        rb.check(status != 0, f"{when}: the run --to {to} exited 0 with {HELD_TABLE}.dbf held; seed {seed}\n{out}")
        wanted = "new" if to == "noi" else "old"
        for s in sources:
            for (table, field), state in s.states().items():
                if not held_field(s, table):
                    rb.check(state == wanted, f"{when}, {HELD_TABLE}.dbf held: {s.name} {table}.{field} is {state} "
                                              f"(expected all {wanted}); seed {seed}")
        check_held(to, when)
        db = sqlite3.connect(f"file:{project}?mode=ro", uri=True)
        try:
            rows = db.execute("SELECT tConn.Description, tTable.TableName, tField.FieldName, tField.Converted, "
                              "tField.Error FROM tField JOIN tTable ON tField.IdTable = tTable.IdTable "
                              "JOIN tConn ON tTable.IdConn = tConn.IdConn").fetchall()
        finally:
            db.close()
        message = f'Tabelul "{HELD_TABLE}.dbf" este blocat de alt program (procesul '
        for source, table, field, converted, error in rows:
            if source == dbf_source.name and table == HELD_TABLE:
                rb.check(error is not None and error.startswith(message),
                         f"{when}: the held {table}.{field} records the error {error!r}; seed {seed}")
            else:
                rb.check(error is None and (converted != 0) == (to == "noi"),
                         f"{when}, {HELD_TABLE}.dbf held: {source} {table}.{field} records converted={converted}, "
                         f"error {error!r}; seed {seed}")

    try:
        for s in sources:
            if s is dbf_source:
                fill_dbf(s, rng, rows)
            else:
                fill(s, rng, rows, s is pg_source)
        rb.make_project(os.path.join(args.templates, "Vamor.vmt"), project,
                        [(s.name, conn_string(s),
                          [(s.table(base), [(f, f + "_vm") for f in fields]) for base, fields in s.tables])
                         for s in sources])

        # Two uninterrupted round trips first: each must be exact; the second
        # (the recovery columns made, the files in the cache) gives the times
        # within which the first kills fall.
        for round_trip in ("first", "second"):
            finish("noi", f"{round_trip} uninterrupted run", whole=True)
            finish("vechi", f"{round_trip} uninterrupted run", whole=True)
        fields = sum(1 for s in sources for _ in s.fields())
        print(f"{fields} fields of {rows} rows on {', '.join(s.name for s in sources)}; "
              f"an uninterrupted run takes {full_run['noi']:.2f} s to new lei, {full_run['vechi']:.2f} s back",
              flush=True)

        # Trials go on until `trials` runs were killed while they ran (a run
        # may end before its moment comes); each is checked all the same.
        killed = attempts = held_trials = 0
        while killed < trials:
            attempts += 1
            rb.check(attempts <= 3 * trials,
                     f"only {killed} of {attempts - 1} runs were still running when killed; seed {seed}")
            to = rng.choice(("noi", "vechi"))
            if to == "vechi":
                finish("noi", f"trial {attempts}, before the run to kill", whole=True)
            delay = rng.uniform(0.0, full_run[to])
            held = rng.randrange(3) == 0
            jobs = rng.randrange(2) == 0
            vamor.options = ["--jobs", "4"] if jobs else []
            holder = rb.Holder(dbf_source.db.path(HELD_TABLE)) if held else None
            try:
                process = vamor.start(project, to)
                was_running = rb.kill_after(process, delay)
                killed += was_running
                held_trials += held
                print(f"trial {attempts:2}: --to {to:5}{' --jobs 4' if jobs else ''} killed at {delay:.3f} s"
                      + (f", {HELD_TABLE}.dbf held by another program" if held else "")
                      + ("" if was_running else " (the run had already ended)"), flush=True)
                when = (f"trial {attempts} (--to {to}{' --jobs 4' if jobs else ''} killed at {delay:.3f} s"
                        + (", table held)" if held else ")"))
                if pg_source:
                    wait_for_pg_sessions(pg_source.db, prefix)
                check_all(None, when)
                message = rb.check_project_file(project)
                rb.check(not message, f"{when}: {message}; seed {seed}")
                # The history reads whole: every run is finished, stopped or
                # interrupted, never half written; a killed run that had
                # begun shows as interrupted.
                history = subprocess.run([vamor.program, "--history", project], env=vamor.env(), cwd=home,
                                         stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
                rb.check(history.returncode == 0, f"{when}: --history exited {history.returncode}; seed {seed}")
                runs = [line for line in history.stdout.decode("utf-8", "replace").splitlines()
                        if line.startswith("Conversia ")]
                rb.check(all(line.endswith(("terminata", "intrerupta", "oprita de utilizator")) or ", intrerupta" in line
                             or ", terminata" in line for line in runs),
                         f"{when}: the history reads {runs}; seed {seed}")
                interrupted = sum(", intrerupta" in line for line in runs)
                rb.check(interrupted <= killed, f"{when}: {interrupted} interrupted runs after {killed} kills; seed {seed}")
                if holder:
                    check_held(to, when)
                    finish_held(to, when)
            finally:
                if holder:
                    holder.stop()
            # A working copy the killed run left (written without waiting
            # for the disk) is whole once its journal is played back, as the
            # next start that offers it back would open it.
            for name in sorted(os.listdir(home)):
                if name.startswith("~") and name.endswith(".tmp"):
                    message = working_copy_message(os.path.join(home, name))
                    rb.check(not message, f"{when}: {message}; seed {seed}")
            finish(to, when)
            vamor.options = []
            if to == "noi":
                finish("vechi", when, whole=True)

        leftovers = sorted(os.listdir(home))
        print(f"files left in the program folder by the killed runs: {len(leftovers)}", flush=True)
        # A run killed while it wrote a DBF table may leave its new file
        # (TABLE.dbf.vamor-XXXXXX), never another table.
        names = sorted(os.listdir(dbf_source.db.folder))
        tables = [n for n in names if n.lower().endswith(".dbf")]
        rb.check(tables == sorted(t + ".dbf" for t, _ in DBF_TABLES), f"the DBF folder holds {names}; seed {seed}")
        print(f"new files left in the DBF folder by the killed runs: {len(names) - len(tables)}", flush=True)
        summary = (f"crash test: {killed} runs killed while running ({attempts} trials, {held_trials} of them "
                   f"with a DBF table held by another program), seed {seed}, "
                   f"{fields} fields on {' and '.join(s.name for s in sources)}")
        print(summary + ": every field all or nothing after each kill, every amount restored exactly", flush=True)
        rb.write_summary(summary)
    finally:
        if pg_source:
            pg_source.db.psql("".join(f"DROP TABLE IF EXISTS {pg_source.table(b)};" for b, _ in TABLES),
                              check_result=False)
        if os.environ.get("VAMOR_KEEP_WORK") != "1":
            import shutil
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"work folder kept: {work}")


if __name__ == "__main__":
    main()
