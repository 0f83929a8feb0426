#!/usr/bin/python3
"""DBF tables written and read by python3-dbf, an implementation independent of
Vamor's, for the tests of the DBF provider.

  dbf_tables.py make FOLDER   writes facturi.dbf (dBase III) and plati.dbf (Visual FoxPro)
  dbf_tables.py dump FILE     prints every record as JSON: deleted flag and values
  dbf_tables.py amounts FOLDER
                              writes sume.dbf (dBase III) and sumevfp.dbf (Visual FoxPro)
                              with SUMA N(19,2) and SUS N(19,2), each row an amount read from
                              FOLDER/amounts.txt (one decimal text per line)
"""
import datetime
import decimal
import json
import sys
import warnings

warnings.filterwarnings("ignore")
import dbf  # noqa: E402


def make(folder):
    t = dbf.Table(folder + "/facturi.dbf",
                  "NUME C(20); SUMA N(18,2); CANT N(10,0); DATA D; PLATIT L; NOTA M",
                  dbf_type="db3", codepage="cp1252")
    t.open(dbf.READ_WRITE)
    rows = [
        ("Alfa", decimal.Decimal("14949.50"), 3, datetime.date(2005, 6, 30), True, "prima nota"),
        ("Beta", decimal.Decimal("-14949.50"), 15000, datetime.date(2005, 7, 1), False, ""),
        ("Gama", decimal.Decimal("1234567890123.45"), 0, None, None, "o nota\nlunga"),
        ("Delta", None, None, None, None, None),
        ("Stearsa", decimal.Decimal("50.00"), 149995000, datetime.date(2005, 1, 2), True, "nota stearsa"),
    ]
    for r in rows:
        t.append(r)
    dbf.delete(t[4])
    t.close()

    v = dbf.Table(folder + "/plati.dbf",
                  "NUME C(10) NULL; VAL Y NULL; SUMA N(12,4) NULL; NR I NULL; CURS B NULL; MOMENT T NULL; NOTA M NULL",
                  dbf_type="vfp", codepage="cp1250")
    v.open(dbf.READ_WRITE)
    rows = [
        ("\u015etefan", decimal.Decimal("149495000.1234"), decimal.Decimal("14949.5000"), 15000, 4.5,
         datetime.datetime(2005, 6, 30, 12, 30, 15), "memo unu"),
        ("Doi", decimal.Decimal("-922337203685.4775"), decimal.Decimal("-0.0050"), -25000, 0.1, None, None),
        (None, None, None, 0, 0.0, None, "memo trei"),
        ("Sters", decimal.Decimal("10000.0000"), decimal.Decimal("99999.9999"), 5, 1.25, None, "sters"),
    ]
    for r in rows:
        v.append(r)
    # Real Nulls (the flags of _NullFlags), not empty values.
    with v[2] as rec:
        rec.nume = dbf.Null
        rec.val = dbf.Null
        rec.nr = dbf.Null
    with v[1] as rec:
        rec.moment = dbf.Null
    dbf.delete(v[3])
    v.close()


def amounts(folder):
    with open(folder + "/amounts.txt") as f:
        values = [decimal.Decimal(line.strip()) for line in f if line.strip()]
    for name, kind in (("sume", "db3"), ("sumevfp", "vfp")):
        t = dbf.Table(folder + "/" + name + ".dbf", "SUMA N(19,2); SUS N(19,2)", dbf_type=kind)
        t.open(dbf.READ_WRITE)
        for v in values:
            t.append((v, v))
        t.close()


def plain(value):
    if value is None or value is dbf.Null:
        return None
    if isinstance(value, decimal.Decimal):
        return str(value)
    if isinstance(value, float):
        return repr(value)
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.isoformat()
    if isinstance(value, bool):
        return value
    if isinstance(value, int):
        return value
    return str(value).rstrip()


def dump(path):
    t = dbf.Table(path)
    t.open(dbf.READ_ONLY)
    out = {"fields": [f.upper() for f in t.field_names], "records": []}
    for rec in t:
        out["records"].append({"deleted": dbf.is_deleted(rec),
                               "values": [plain(rec[i]) for i in range(len(t.field_names))]})
    t.close()
    print(json.dumps(out, sort_keys=True))


if __name__ == "__main__":
    {"make": make, "dump": dump, "amounts": amounts}[sys.argv[1]](sys.argv[2])
