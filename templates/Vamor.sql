-- Project template: the schema of a Vamor project and one row per kind of
-- data source. The build runs this script with the sqlite3 shell into a new
-- file, Vamor.vmt.
--
-- The conversion templates round the new amounts to temp.tRound.Digits
-- decimals: 2 (to the ban) unless a script that reads this one has set
-- another number first (see "Vamor 4 zecimale.sql").

PRAGMA foreign_keys = ON;

CREATE TEMP TABLE IF NOT EXISTS tRound (Digits INTEGER NOT NULL);
INSERT INTO tRound (Digits) SELECT 2 WHERE NOT EXISTS (SELECT 1 FROM tRound);

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
  FOREIGN KEY (IdTable) REFERENCES tTable (IdTable) ON DELETE CASCADE
);
CREATE INDEX tField_IdTable ON tField (IdTable);

INSERT INTO tConfig (Version) VALUES ('1.0');

-- Tags that a type does not use are empty texts rather than Null, so a value
-- left behind by another panel of the same data source adds nothing.

-- 0: Access databases through the MDB Tools ODBC driver. The driver reads
-- DBQ only (files without a database password or workgroup security); it
-- cannot write, so a conversion reports the driver's error. The statements
-- are those of the Jet engine.
INSERT INTO tConnType VALUES (0, 'Microsoft Access', 1,
  'Driver=MDBTools;',
  'DBQ=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', 'SystemDB=[VALUE];', 'PWD=[VALUE];', '', '',
  'ALTER TABLE [TABLE_NAME] ADD COLUMN [FIELD_NAME] DECIMAL(28,10)',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = Sgn([FIELD_NAME]) * Int(Abs([FIELD_NAME]) / 10^(4 - {DIGITS}) + 0.5) / 10^{DIGITS} WHERE [FIELD_NAME] IS NOT NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = Null WHERE [REC_FIELD_NAME] IS NOT NULL[AND]');

-- The statements below run unchanged on SQL Server, Oracle, PostgreSQL,
-- MariaDB/MySQL and SQLite:
--  * the recovery column DECIMAL(38,10) holds every amount of an integer,
--    decimal, money or double column exactly;
--  * one UPDATE copies the amount and converts it, so a table without
--    transactions is never left half converted. Both assignments read only
--    the amount column, so engines that assign left to right (MariaDB) and
--    engines that read the old row (the others) give the same result;
--  * the amount is cast to an exact decimal before the division, so the
--    division never truncates (SQLite keeps an integer an integer) and
--    ROUND(decimal, n) rounds halves away from zero everywhere;
--  * rows whose amount is Null are left alone: their recovery value stays
--    Null;
--  * converting back copies the recovery value first and empties the
--    recovery column second, which is right in either evaluation order.

-- 1: SQL Server through FreeTDS. Integrated security is Kerberos
-- (Trusted_Connection): it needs a Kerberos ticket of the user.
INSERT INTO tConnType VALUES (1, 'Microsoft SQL Server', 1,
  'Driver=FreeTDS;',
  'Server=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', '', '', 'Database=[VALUE];', 'Trusted_Connection=Yes;',
  'ALTER TABLE [TABLE_NAME] ADD [FIELD_NAME] DECIMAL(38,10)',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = ROUND(CAST([FIELD_NAME] AS DECIMAL(38,10)) / 10000.0, {DIGITS}) WHERE [FIELD_NAME] IS NOT NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL[AND]');

-- 2: Oracle through the vendor's ODBC driver registered as "Oracle"; the
-- host is a TNS name or host:port/service. Integrated security is the
-- operating-system login ("/").
INSERT INTO tConnType VALUES (2, 'Oracle Data Server', 1,
  'Driver=Oracle;',
  'DBQ=[VALUE];', 'UID=[VALUE];', 'PWD=[VALUE];', '', '', '', 'UID=/;PWD=;',
  'ALTER TABLE [TABLE_NAME] ADD [FIELD_NAME] DECIMAL(38,10)',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = ROUND(CAST([FIELD_NAME] AS DECIMAL(38,10)) / 10000.0, {DIGITS}) WHERE [FIELD_NAME] IS NOT NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL[AND]');

-- 3, 4, 5: folders of DBF files, served by the program's own DBF provider.
-- Hidden from the wizard until that provider is part of the program.
-- Numeric DBF columns are at most 20 characters wide.
INSERT INTO tConnType VALUES (3, 'FoxPro Free Table Directory', 0,
  'Provider=DBF;',
  'Data Source=[VALUE];', '', '', '', '', '', '',
  'ALTER TABLE [TABLE_NAME] ADD COLUMN [FIELD_NAME] N(20,4)',
  'ALTER TABLE [TABLE_NAME] DROP COLUMN [FIELD_NAME]',
  'UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = ROUND([FIELD_NAME] / 10000, {DIGITS}) WHERE [FIELD_NAME] IS NOT NULL[AND]',
  'UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL WHERE [REC_FIELD_NAME] IS NOT NULL[AND]');
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
