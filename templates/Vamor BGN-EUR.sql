-- Project template for the Bulgarian lev's changeover to the euro on
-- 1 January 2026 at the irrevocable rate 1 EUR = 1.95583 BGN. Everything but
-- the changeover and the arithmetic of the new amounts is Vamor.sql.
CREATE TEMP TABLE tChangeoverSetup (
  OldName TEXT, NewName TEXT, OldCode TEXT, NewCode TEXT, Rate TEXT, Rounding TEXT, Description TEXT
);
INSERT INTO tChangeoverSetup VALUES ('BGN', 'EUR', 'BGN', 'EUR', '1.95583', '',
  'Lev bulgaresc in euro: 1 EUR = 1,95583 BGN, de la 1 ianuarie 2026');
.read Vamor.sql
.read rate-changeover.sql.inc
