#!/usr/bin/python3
"""DBF tables written and read by python3-dbf, an implementation independent of
Vamor's, for the tests of the DBF provider.

  dbf_tables.py make FOLDER   writes facturi.dbf (dBase III) and plati.dbf (Visual FoxPro)
  dbf_tables.py dump FILE     prints every record as JSON: deleted flag and values
  dbf_tables.py amounts FOLDER
                              writes sume.dbf (dBase III) and sumevfp.dbf (Visual FoxPro)
                              with SUMA N(19,2) and SUS N(19,2), each row an amount read from
                              FOLDER/amounts.txt (one decimal text per line)
  dbf_tables.py firm FOLDER   writes a small firm's FoxPro tables (invoices, payments, articles,
                              salaries, cash book, rates, partners, stock): money columns beside
                              codes, quantities, percentages, years and counts
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


def firm(folder):
    D = decimal.Decimal

    def money(i, step=25000):
        return (i * 37 % 50 + 1) * step

    tables = {
        "facturi": ("NRFACT N(8,0); CODCLI N(6,0); DATA D; VALOARE N(15,2); TVA N(15,2); COTATVA N(5,2); "
                    "AN N(4,0); LUNA N(2,0)",
                    lambda i: (1000 + i, 100 + i % 7, datetime.date(2004, i % 12 + 1, 1), D(money(i)),
                               D(money(i, 4750)), D("19.00") if i % 3 else D("9.00"), 2004, i % 12 + 1)),
        "plati": ("NRDOC N(8,0); SUMA N(15,0); ZILE N(3,0)",
                  lambda i: (5000 + i * 13, money(i, 10000), i * 3 % 61)),
        "articole": ("CODART N(6,0); DENUMIRE C(30); PRET N(12,2); CANT N(10,3); EAN N(13,0)",
                     lambda i: (1000 + i, "Articol %d" % i, D(money(i, 1500)), D("%d.125" % (i * 3)),
                                5941234567891 + i * 2)),
        "salarii": ("MARCA N(5,0); SALBRUT N(15,0); IMPOZIT N(15,0); ORE N(3,0)",
                    lambda i: (100 + i, money(i, 200000), money(i, 30000), 160 + i % 9)),
        "casa": ("NRCRT N(5,0); INCASARI N(15,2); PLATI N(15,2); SOLD N(15,2)",
                 lambda i: (i, D(money(i, 5000)), D(money(i + 3, 2500)), D(money(i + 7, 100000)))),
        "curs": ("CURS N(10,4); AN N(4,0)", lambda i: (D("3612%d.4567" % (i % 10)), 2004)),
        "parteneri": ("CUI N(10,0); TELEFON N(10,0); SOLDINIT N(15,2)",
                      lambda i: (14399841 + i * 7918, 722123457 + i * 2, D(money(i, 60000)))),
        "stocuri": ("CODART N(6,0); STOC N(12,3); PRETMEDIU N(12,2)",
                    lambda i: (1000 + i, D("%d.%03d" % (i * 3, i * 7 % 1000 or 1)), D(money(i, 1200)))),
    }
    for name, (fields, row) in tables.items():
        t = dbf.Table(folder + "/" + name + ".dbf", fields, dbf_type="vfp")
        t.open(dbf.READ_WRITE)
        for i in range(1, 21):
            t.append(row(i))
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
    {"make": make, "dump": dump, "amounts": amounts, "firm": firm}[sys.argv[1]](sys.argv[2])
