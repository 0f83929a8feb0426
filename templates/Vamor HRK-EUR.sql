-- Project template for the Croatian kuna's changeover to the euro on
-- 1 January 2023 at the irrevocable rate 1 EUR = 7.53450 HRK. Everything but
-- the changeover and the arithmetic of the new amounts is Vamor.sql.
CREATE TEMP TABLE tChangeoverSetup (
  OldName TEXT, NewName TEXT, OldCode TEXT, NewCode TEXT, Rate TEXT, Rounding TEXT, Description TEXT
);
INSERT INTO tChangeoverSetup VALUES ('HRK', 'EUR', 'HRK', 'EUR', '7.53450', '',
  'Kuna croata in euro: 1 EUR = 7,53450 HRK, de la 1 ianuarie 2023');
.read Vamor.sql
.read rate-changeover.sql.inc
