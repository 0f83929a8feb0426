#!/usr/bin/env python3
"""Killed runs: the headless conversion of a project over SQLite and
PostgreSQL tables, killed with SIGKILL at random moments.

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


class Source:
    """One data source of the project: its tables, its originals, and how
    they are read back."""

    def __init__(self, name, db, prefix):
        self.name = name
        self.db = db
        self.prefix = prefix
        self.expected = {}  # (table, field) -> rb.Expected

    def table(self, base):
        return self.prefix + base

    def fields(self):
        for base, fields in TABLES:
            for field, _, _ in fields:
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

    try:
        for s in sources:
            fill(s, rng, rows, s is pg_source)
        rb.make_project(os.path.join(args.templates, "Vamor.vmt"), project,
                        [(s.name, pg_string if s is pg_source else s.db.conn_string(),
                          [(s.table(base), [(f, f + "_vm") for f, _, _ in fields]) for base, fields in TABLES])
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
        killed = attempts = 0
        while killed < trials:
            attempts += 1
            rb.check(attempts <= 3 * trials,
                     f"only {killed} of {attempts - 1} runs were still running when killed; seed {seed}")
            to = rng.choice(("noi", "vechi"))
            if to == "vechi":
                finish("noi", f"trial {attempts}, before the run to kill", whole=True)
            delay = rng.uniform(0.0, full_run[to])
            process = vamor.start(project, to)
            was_running = rb.kill_after(process, delay)
            killed += was_running
            print(f"trial {attempts:2}: --to {to:5} killed at {delay:.3f} s"
                  + ("" if was_running else " (the run had already ended)"), flush=True)
            when = f"trial {attempts} (--to {to} killed at {delay:.3f} s)"
            if pg_source:
                wait_for_pg_sessions(pg_source.db, prefix)
            check_all(None, when)
            message = rb.check_project_file(project)
            rb.check(not message, f"{when}: {message}; seed {seed}")
            # A working copy the killed run left (written without waiting
            # for the disk) is whole once its journal is played back, as the
            # next start that offers it back would open it.
            for name in sorted(os.listdir(home)):
                if name.startswith("~") and name.endswith(".tmp"):
                    message = working_copy_message(os.path.join(home, name))
                    rb.check(not message, f"{when}: {message}; seed {seed}")
            finish(to, when)
            if to == "noi":
                finish("vechi", when, whole=True)

        leftovers = sorted(os.listdir(home))
        print(f"files left in the program folder by the killed runs: {len(leftovers)}", flush=True)
        summary = (f"crash test: {killed} runs killed while running ({attempts} trials), seed {seed}, "
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
