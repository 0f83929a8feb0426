-- Project template: the schema of a Vamor project and one row per kind of
-- data source. The build runs this script with the sqlite3 shell into a new
-- file, Vamor.vmt.
--
-- The conversion templates round the new amounts to at most
-- temp.tRound.Digits decimals (fewer where the amount column keeps fewer):
-- 2 (to the ban) unless a script that reads this one has set another number
-- first (see "Vamor 4 zecimale.sql").
--
-- The changeover (table tChangeover) is the 2005 denomination of the leu
-- unless a script that reads this one has described another in
-- temp.tChangeoverSetup first (see "Vamor BGN-EUR.sql").

PRAGMA foreign_keys = ON;

CREATE TEMP TABLE IF NOT EXISTS tRound (Digits INTEGER NOT NULL);
INSERT INTO tRound (Digits) SELECT 2 WHERE NOT EXISTS (SELECT 1 FROM tRound);
CREATE TEMP TABLE IF NOT EXISTS tChangeoverSetup (
  OldName TEXT, NewName TEXT, OldCode TEXT, NewCode TEXT, Rate TEXT, Rounding TEXT, Description TEXT
);
INSERT INTO tChangeoverSetup
  SELECT 'Lei VECHI', 'Lei NOI', 'ROL', 'RON', '10000', '',
         'Leu romanesc: 10 000 lei vechi (ROL) = 1 leu nou (RON), denominarea din 1 iulie 2005'
  WHERE NOT EXISTS (SELECT 1 FROM tChangeoverSetup);

BEGIN;

CREATE TABLE tConfig (
  Version TEXT COLLATE NOCASE
);

CREATE TABLE tConnType (
  IdConnType INTEGER PRIMARY KEY,
  Description TEXT COLLATE NOCASE,
  Enabled BOOLEAN,
  ConnString TEXT COLLATE NOCASE,
  DataSourceTag TEXT COLLATE NOCASE,
  UserNameTag TEXT COLLATE NOCASE,
  PasswordTag TEXT COLLATE NOCASE,
  SecurityFileTag TEXT COLLATE NOCASE,
  DBPasswordTag TEXT COLLATE NOCASE,
  DatabaseTag TEXT COLLATE NOCASE,
  IntegratedSecurityTag TEXT COLLATE NOCASE,
  CreateFieldSQL TEXT COLLATE NOCASE,
  DropFieldSQL TEXT COLLATE NOCASE,
  ConvertSQL TEXT COLLATE NOCASE,
  ConvertBackSQL TEXT COLLATE NOCASE
);

CREATE TABLE tConn (
  IdConn INTEGER PRIMARY KEY AUTOINCREMENT,
  IdConnType INTEGER,
  Description TEXT COLLATE NOCASE,
  DataSource TEXT COLLATE NOCASE,
  UserName TEXT COLLATE NOCASE,
  Password TEXT COLLATE NOCASE,
  ConnString TEXT COLLATE NOCASE,
  SecurityFile TEXT COLLATE NOCASE,
  DBPassword TEXT COLLATE NOCASE,
  Database TEXT COLLATE NOCASE,
  IntegratedSecurity BOOLEAN DEFAULT 0,
  Offline BOOLEAN DEFAULT 0
);

CREATE TABLE tTable (
  IdTable INTEGER PRIMARY KEY AUTOINCREMENT,
  IdConn INTEGER,
  TableName TEXT COLLATE NOCASE,
  Owner TEXT COLLATE NOCASE,
  SQLWhere TEXT COLLATE NOCASE,
  FOREIGN KEY (IdConn) REFERENCES tConn (IdConn) ON DELETE CASCADE
);
CREATE INDEX tTable_IdConn ON tTable (IdConn);

CREATE TABLE tField (
  IdField INTEGER PRIMARY KEY AUTOINCREMENT,
  IdTable INTEGER,
  FieldName TEXT COLLATE NOCASE,
  RecFieldName TEXT COLLATE NOCASE,
  SQLWhere TEXT COLLATE NOCASE,
  Converted BOOLEAN NOT NULL DEFAULT 0,
  Error TEXT COLLATE NOCASE,
  Rounding TEXT COLLATE NOCASE,
  FOREIGN KEY (IdTable) REFERENCES tTable (IdTable) ON DELETE CASCADE
);
CREATE INDEX tField_IdTable ON tField (IdTable);

INSERT INTO tConfig (Version) VALUES ('1.0');

-- The changeover the project converts: the currencies' names as the user
-- reads them and their codes, the rate (old units for one new unit, an exact
-- decimal text used in full), the decimals of the new amounts and the
-- fields' default rounding rule ('' halves away from zero, 'SUS' up when the
-- next decimal is not zero). tField.Rounding, when not empty, is a field's
-- own rule. A project without this table is the 2005 leu.
CREATE TABLE tChangeover (
  OldName TEXT, NewName TEXT, OldCode TEXT, NewCode TEXT,
  Rate TEXT NOT NULL, Decimals INTEGER, Rounding TEXT, Description TEXT
);
INSERT INTO tChangeover
  SELECT OldName, NewName, OldCode, NewCode, Rate, (SELECT Digits FROM temp.tRound), Rounding, Description
  FROM temp.tChangeoverSetup;

-- Tags that a type does not use are empty texts rather than Null, so a value
-- left behind by another panel of the same data source adds nothing.

-- 0: Access databases through the MDB Tools ODBC driver. The driver reads
-- DBQ only (files without a database password or workgroup security); it
-- cannot write, so a conversion reports the driver's error. The statements
-- are those of the Jet engine.
INSERT INTO tConnType VALUES (0, 'Microsoft Access', 1,
  'Driver=MDBTools;',
  'DBQ=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', 'SystemDB=[VALUE];', 'PWD=[VALUE];', '', '',
  'ALTER TABLE [TABLE_NAME] ADD COLUMN [FIELD_NAME] [FIELD_TYPE]',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = Sgn([FIELD_NAME]) * Int(Abs([FIELD_NAME]) / 10^(4 - [DECIMALS:{DIGITS}]) + 0.5) / 10^[DECIMALS:{DIGITS}] WHERE [FIELD_NAME] IS NOT NULL AND [REC_FIELD_NAME] IS NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = Null WHERE [REC_FIELD_NAME] IS NOT NULL');

-- The statements below run unchanged on SQL Server, Oracle, PostgreSQL,
-- MariaDB/MySQL and SQLite. What they promise, and why it holds.
--
-- Placeholders besides the names and the condition: [FIELD_TYPE] is the type
-- of the amount column as its database declares it (read from the catalog
-- when the recovery column is made); [DECIMALS:N] is the number of decimals
-- the amount column keeps (0 for integer types, the scale of an exact numeric
-- type), at most N, and N for floating-point types and numerics without a
-- scale; [AMOUNT] is the amount as the arithmetic reads it: the column
-- itself, or a single-precision column widened to double precision
-- ("+ 0E0"), since PostgreSQL turns a real into a decimal with only 6
-- significant digits (1234549 would be divided as 1234550).
--
-- * The recovery column has the amount column's own type, so copying an
--   amount into it and back is exact by construction, whatever the type:
--   INTEGER/BIGINT/SMALLINT, DECIMAL/NUMERIC of any precision (PostgreSQL's
--   NUMERIC without one included), REAL, FLOAT and DOUBLE (the same binary
--   value), PostgreSQL's money. On SQL Server int, bigint, decimal(p,s),
--   float, real, money and smallmoney copy into a column of the same type
--   without any conversion; on Oracle NUMBER and NUMBER(p,s) keep every
--   digit of a value of the same declaration, and BINARY_DOUBLE the same
--   IEEE value. (A DECIMAL(38,10) recovery column would not be exact:
--   PostgreSQL casts a double to numeric with 15 significant digits and a
--   real with 6.)
-- * Converting to new lei touches only rows whose recovery value is Null,
--   and converting back only rows whose recovery value is not Null: a field
--   is never converted twice, whatever a probe may have said.
-- * One UPDATE copies the amount and converts it, so a table without
--   transactions is never left half converted. Both assignments read only
--   the amount column, so engines that assign left to right (MariaDB) and
--   engines that read the old row (the others) give the same result.
-- * The amount is cast to an exact decimal before the division, so the
--   division never truncates (SQLite keeps an integer an integer) and
--   ROUND(decimal, n) rounds halves away from zero everywhere. Old-lei
--   amounts with up to 5 decimals divide exactly on every engine (SQL
--   Server keeps 9 decimals of a DECIMAL(38,10) divided by 10000.0).
-- * The new amount is rounded once, to the decimals the column keeps (at
--   most the template's), so no engine rounds it again when storing it;
--   SQL Server, which truncates a decimal stored in an integer column,
--   receives a whole number there.
-- * Rows whose amount is Null are left alone: their recovery value stays
--   Null.
-- * Converting back copies the recovery value first and empties the
--   recovery column second, which is right in either evaluation order. It
--   takes no condition: it restores every row the conversion changed, even
--   when a condition that names the amount itself no longer selects them.

-- 1: SQL Server through FreeTDS. Integrated security is Kerberos
-- (Trusted_Connection): it needs a Kerberos ticket of the user.
INSERT INTO tConnType VALUES (1, 'Microsoft SQL Server', 1,
  'Driver=FreeTDS;',
  'Server=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', '', '', 'Database=[VALUE];', 'Trusted_Connection=Yes;',
  'ALTER TABLE [TABLE_NAME] ADD [FIELD_NAME] [FIELD_TYPE]',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = ROUND(CAST([AMOUNT] AS DECIMAL(38,10)) / 10000.0, [DECIMALS:{DIGITS}]) WHERE [FIELD_NAME] IS NOT NULL AND [REC_FIELD_NAME] IS NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL');

-- 2: Oracle through the vendor's ODBC driver registered as "Oracle"; the
-- host is a TNS name or host:port/service. Integrated security is the
-- operating-system login ("/").
INSERT INTO tConnType VALUES (2, 'Oracle Data Server', 1,
  'Driver=Oracle;',
  'DBQ=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', '', '', '', 'UID=/;PWD=;',
  'ALTER TABLE [TABLE_NAME] ADD [FIELD_NAME] [FIELD_TYPE]',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = ROUND(CAST([AMOUNT] AS DECIMAL(38,10)) / 10000.0, [DECIMALS:{DIGITS}]) WHERE [FIELD_NAME] IS NOT NULL AND [REC_FIELD_NAME] IS NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL');

-- 3, 4, 5: folders of DBF files (FoxPro, Visual FoxPro, dBase), served by
-- the program's own DBF provider ("Provider=DBF;Data Source=FOLDER"): the
-- statements run over an in-memory copy of the table and the changed table
-- is written back whole, as a new file renamed over the old one.
--
-- * The recovery column has the amount column's own type ([FIELD_TYPE]:
--   N(w,d), F(w,d), Y, I or B), as wide as the field with the same decimals,
--   so the copy is exact by construction. In a Visual FoxPro table it may
--   hold Null; in a dBase table an empty numeric value is its Null.
-- * N, F and Y amounts are exact decimal text inside the provider, never a
--   binary double: DECIMAL_SHIFT(x, -4) divides by 10 000 exactly and
--   DECIMAL_ROUND(x, n) rounds once, halves away from zero, to the decimals
--   the column keeps ([DECIMALS:N]), so storing the result rounds nothing
--   again; a value that would not fit exactly fails the statement.
-- * The row guards are those of the other types: to new lei only rows whose
--   recovery value is Null, back only rows whose recovery value is not Null,
--   with no condition on the way back.
-- * A column that an index file of the table may use is refused with a
--   message: the index would no longer match the records.
INSERT INTO tConnType VALUES (3, 'FoxPro Free Table Directory', 1,
  'Provider=DBF;',
  'Data Source=[VALUE];', '', '', '', '', '', '',
  'ALTER TABLE [TABLE_NAME] ADD COLUMN [FIELD_NAME] [FIELD_TYPE]',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = DECIMAL_ROUND(DECIMAL_SHIFT([FIELD_NAME], -4), [DECIMALS:{DIGITS}]) WHERE [FIELD_NAME] IS NOT NULL AND [REC_FIELD_NAME] IS NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL');
INSERT INTO tConnType
  SELECT 4, 'Visual FoxPro Project', Enabled, ConnString, DataSourceTag, UserNameTag, PasswordTag,
         SecurityFileTag, DBPasswordTag, DatabaseTag, IntegratedSecurityTag,
         CreateFieldSQL, DropFieldSQL, ConvertSQL, ConvertBackSQL
  FROM tConnType WHERE IdConnType = 3;
INSERT INTO tConnType
  SELECT 5, 'DBase', Enabled, ConnString, DataSourceTag, UserNameTag, PasswordTag,
         SecurityFileTag, DBPasswordTag, DatabaseTag, IntegratedSecurityTag,
         CreateFieldSQL, DropFieldSQL, ConvertSQL, ConvertBackSQL
  FROM tConnType WHERE IdConnType = 3;

-- 6: any source, reached through the connection string typed whole: an ODBC
-- string or "Provider=SQLite;Data Source=FILE". No head and no tags.
INSERT INTO tConnType
  SELECT 6, 'Unknown Data Source', 1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
         CreateFieldSQL, DropFieldSQL, ConvertSQL, ConvertBackSQL
  FROM tConnType WHERE IdConnType = 1;

UPDATE tConnType SET ConvertSQL = replace(ConvertSQL, '{DIGITS}', (SELECT Digits FROM temp.tRound));

COMMIT;
