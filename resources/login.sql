-- The login database shipped as login.dat beside the program files. The
-- build runs this script once into a fresh file; nothing creates, alters or
-- compacts the database at run time.
--
-- Text compares without regard to case, as the statements expect. No column
-- carries a length limit: protected text is several hundred characters even
-- for a short value, and a limit would only turn long input into a failed
-- statement. Zero-length strings are ordinary values (empty parameters are
-- written as empty strings, not NULL). Identifiers are 32-bit numbers.

-- A plain single file: a committed change is in the file itself, so a byte
-- copy of it holds every committed row.
PRAGMA journal_mode = DELETE;

BEGIN;

-- One row per captured login; several accounts of one site differ in
-- AccountName.
CREATE TABLE LoginInfo (
    DomainName    TEXT COLLATE NOCASE NOT NULL,
    ItemNames     TEXT COLLATE NOCASE NOT NULL,
    ItemValues    TEXT COLLATE NOCASE NOT NULL,
    LoginUrl      TEXT COLLATE NOCASE,
    PasswordName  TEXT COLLATE NOCASE,
    PasswordValue TEXT COLLATE NOCASE,
    AccountName   TEXT COLLATE NOCASE,
    FavorName     TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX LoginInfoDomainAccount ON LoginInfo (DomainName, AccountName);

-- Logins typed into the tool; one row per domain or core name.
CREATE TABLE LoginInput (
    DomainName    TEXT COLLATE NOCASE NOT NULL,
    LoginName     TEXT COLLATE NOCASE NOT NULL,
    LoginPassword TEXT COLLATE NOCASE NOT NULL
);
CREATE UNIQUE INDEX LoginInputDomain ON LoginInput (DomainName);

-- Saved forms. AUTOINCREMENT never hands out a number again after its row
-- is deleted, so fields left behind by a deleted form cannot attach to a
-- new one.
CREATE TABLE FormInfo (
    FormId     INTEGER PRIMARY KEY AUTOINCREMENT
               CHECK (FormId BETWEEN -2147483648 AND 2147483647),
    FormUrl    TEXT COLLATE NOCASE NOT NULL,
    DomainName TEXT COLLATE NOCASE NOT NULL
);

-- Saved fields, tied to their form only through FormId (no cascade).
CREATE TABLE FieldInfo (
    FieldId    INTEGER PRIMARY KEY AUTOINCREMENT
               CHECK (FieldId BETWEEN -2147483648 AND 2147483647),
    FieldName  TEXT COLLATE NOCASE NOT NULL,
    FieldType  TEXT COLLATE NOCASE NOT NULL,
    FieldValue TEXT COLLATE NOCASE NOT NULL,
    FormId     INTEGER NOT NULL CHECK (FormId BETWEEN -2147483648 AND 2147483647)
);
CREATE INDEX FieldInfoForm ON FieldInfo (FormId);

COMMIT;
