#!/usr/bin/env python3
"""A lost server: PostgreSQL stopped at once in the middle of a field.

    lost_server_test.py --vamor PROGRAM --templates FOLDER

The test starts a PostgreSQL server of its own on a free port. The project
has two data sources: that server first (a table whose rows sleep in a
trigger while they are updated, so its first field takes seconds), then a
SQLite database. While the first field's UPDATE runs (seen in
pg_stat_activity), the server is stopped with "pg_ctl stop -m immediate".
Then:
  - the run goes on with the SQLite source, whose fields convert exactly;
  - the run exits with status 1 and its report names the PostgreSQL field
    with an error;
  - with the server started again, each PostgreSQL field holds all its old
    amounts or all its new ones.

VAMOR_LOST_SEED replays a run (the seed is printed). Without the PostgreSQL
server programs the test is skipped, unless CI=true, where that is a failure.
"""

import argparse
import os
import re
import shutil
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import robustness as rb  # noqa: E402

ROWS = 2000
SLOW_ROWS = 40          # rows whose update sleeps
SLEEP = 0.1             # seconds each of them sleeps


def report_row(report_text, source, table, field):
    prefix = f'"{source}","{table}","{field}",'
    for line in report_text.splitlines():
        if line.startswith(prefix):
            return line[len(prefix):]
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vamor", required=True)
    parser.add_argument("--templates", required=True)
    args = parser.parse_args()

    if not rb.PgServer.available():
        if rb.ci():
            rb.fail("the PostgreSQL server programs (initdb, pg_ctl) are missing; CI requires them")
        rb.loud("SKIPPED: the PostgreSQL server programs are missing (install postgresql)")
        sys.exit(rb.SKIP)

    seed, rng = rb.new_rng("VAMOR_LOST_SEED")
    work = tempfile.mkdtemp(prefix="vamor-lost.")
    os.chmod(work, 0o755)  # the postgres user passes through it
    home = os.path.join(work, "home")
    os.makedirs(home)
    server = rb.PgServer(os.path.join(work, "pg"))
    os.makedirs(server.folder)
    try:
        server.init()
        server.start()
        admin = rb.PgDb("127.0.0.1", server.port, "postgres", "postgres")
        admin.psql("CREATE DATABASE vamor;")
        pg = server.db()
        pg_fields = ["suma", "tva"]
        pg.psql(f"""
            CREATE TABLE lent (id INTEGER PRIMARY KEY, suma NUMERIC(18,2), tva NUMERIC(18,2));
            CREATE FUNCTION incet() RETURNS trigger LANGUAGE plpgsql AS $$
            BEGIN
              IF NEW.id % {ROWS // SLOW_ROWS} = 0 THEN PERFORM pg_sleep({SLEEP}); END IF;
              RETURN NEW;
            END $$;
            CREATE TRIGGER incet BEFORE UPDATE ON lent FOR EACH ROW EXECUTE FUNCTION incet();
        """)
        pg_originals = {f: rb.make_amounts(rng, ROWS) for f in pg_fields}
        pg.insert_amounts("lent", pg_fields, [(i + 1, pg_originals["suma"][i], pg_originals["tva"][i])
                                              for i in range(ROWS)])

        lite = rb.SqliteDb(os.path.join(work, "firma.db"))
        lite.execute("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Valoare DECIMAL(18,2), Tva DOUBLE);")
        lite_fields = ["Valoare", "Tva"]
        lite_originals = {f: rb.make_amounts(rng, ROWS) for f in lite_fields}
        lite.insert_amounts("Facturi", lite_fields, [(i + 1, lite_originals["Valoare"][i], lite_originals["Tva"][i])
                                                     for i in range(ROWS)])

        project = os.path.join(work, "lost.vmd")
        pg_string = (f"Driver=PostgreSQL Unicode;Server=127.0.0.1;Port={server.port};Database=vamor;"
                     "Uid=postgres;Pwd=nefolosita;")
        rb.make_project(os.path.join(args.templates, "Vamor.vmt"), project, [
            ("PostgreSQL", pg_string, [("lent", [(f, f + "_vm") for f in pg_fields])]),
            ("SQLite", lite.conn_string(), [("Facturi", [(f, f + "_VM") for f in lite_fields])]),
        ])

        report = os.path.join(work, "raport.txt")
        vamor = rb.Vamor(os.path.abspath(args.vamor), home)
        process = vamor.start(project, "noi", report)

        # The first field's UPDATE is running: stop the server some time into it.
        deadline = time.monotonic() + 60
        started = False
        while time.monotonic() < deadline and process.poll() is None:
            rows = pg.query("SELECT count(*) FROM pg_stat_activity WHERE pid <> pg_backend_pid() "
                            "AND state = 'active' AND query ILIKE '%UPDATE%lent%SET%'")
            if rows[0][0] != "0":
                started = True
                break
            time.sleep(0.02)
        if not started:
            out, err = process.communicate(timeout=60)
            rb.fail(f"the UPDATE of the first field was never seen running (exit {process.returncode})\n"
                    f"{out.decode(errors='replace')}\n{err.decode(errors='replace')}")
        delay = rng.uniform(0.2, SLOW_ROWS * SLEEP * 0.6)
        time.sleep(delay)
        server.stop("immediate")
        print(f"PostgreSQL stopped at once {delay:.2f} s into the UPDATE of lent.suma", flush=True)

        out, err = process.communicate(timeout=300)
        out, err = out.decode(errors="replace"), err.decode(errors="replace")
        print(out, err, sep="\n", flush=True)
        rb.check(process.returncode == 1, f"the run exited {process.returncode}, not 1")

        for f in lite_fields:
            state = rb.field_state(lite.read("Facturi", f, f + "_VM"), rb.Expected(enumerate(lite_originals[f], 1)))
            rb.check(state == "new", f"SQLite Facturi.{f} after the lost server: {state}")

        rb.check(os.path.exists(report), "no report was written")
        with open(report, encoding="utf-8", errors="replace") as fh:
            text = fh.read()
        row = report_row(text, "PostgreSQL", "lent", "suma")
        rb.check(row is not None, f"the report does not name lent.suma:\n{text}")
        rb.check(not row.endswith('",""') and not row.endswith(',""'),
                 f"the report gives no error for lent.suma: {row}")
        for f in lite_fields:
            lite_row = report_row(text, "SQLite", "Facturi", f)
            count = sum(v is not None for v in lite_originals[f])
            rb.check(lite_row is not None and re.fullmatch(f'"{count} inregistrari[^"]*",""', lite_row),
                     f"the report row of Facturi.{f}: {lite_row} (expected {count} rows and no error)")
        message = rb.check_project_file(project)
        rb.check(not message, message)

        server.start()
        states = {}
        for f in pg_fields:
            states[f] = rb.field_state(pg.read("lent", f, f + "_vm"), rb.Expected(enumerate(pg_originals[f], 1)))
            rb.check(states[f] in ("old", "new"), f"PostgreSQL lent.{f} after the restart: {states[f]}")
        summary = (f"lost-server test: seed {seed}, server stopped {delay:.2f} s into a field; "
                   f"PostgreSQL fields {', '.join(f'{f} {s}' for f, s in states.items())}; "
                   "SQLite fields converted; exit 1")
        print(summary, flush=True)
        rb.write_summary(summary)
    finally:
        if server.running():
            server.stop("immediate")
        if os.environ.get("VAMOR_KEEP_WORK") == "1":
            print(f"work folder kept: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
