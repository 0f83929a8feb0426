-- Project template that rounds the new amounts to four decimals, which keeps
-- every whole amount in old lei exact. Everything else is Vamor.sql.
CREATE TEMP TABLE tRound (Digits INTEGER NOT NULL);
INSERT INTO tRound (Digits) VALUES (4);
.read Vamor.sql
