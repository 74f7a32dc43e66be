-- Tables of a database file. The template database "Rolkwit.mbs" is built from this script.
-- Column types keep the names of the old engine so that readers know what a column holds:
--   CURRENCY  exact amount (and quantity) stored as an integer scaled by 10000
--   DATETIME  a date as ISO text YYYY-MM-DD
--   BIT       a yes/no value, 1 or 0
--   SHORT, LONG  integers; TEXT a text (empty texts are stored as NULL)
-- Only what every SQLite tool knows is used here, so that an office can check, query and export
-- its file with a plain sqlite3 shell. Texts compare without case with the built-in NOCASE (for
-- the letters A to Z; the unique document number relies on it). Where the program needs the
-- Polish alphabet's order or Polish letters without case, its statements say COLLATE PL.
-- The buffers (dodok, dopoz, dokor) keep exactly the column order of fadok and fapoz, since
-- documents are copied between them with SELECT *.

CREATE TABLE fadok (
  Stanowisko SHORT,
  Inddok TEXT COLLATE NOCASE,
  Numer TEXT COLLATE NOCASE,
  Datawyst DATETIME,
  Datasprz DATETIME,
  KorInddok TEXT COLLATE NOCASE,
  KorNumer TEXT COLLATE NOCASE,
  KorDatawyst DATETIME,
  Podstawa TEXT COLLATE NOCASE,
  Wydane TEXT COLLATE NOCASE,
  Nazkon TEXT COLLATE NOCASE,
  Adrkon TEXT COLLATE NOCASE,
  Nipkon TEXT COLLATE NOCASE,
  Nazdok TEXT COLLATE NOCASE,
  Numdok TEXT COLLATE NOCASE,
  Wyddok TEXT COLLATE NOCASE,
  Datadok DATETIME,
  RazNetto CURRENCY,
  RazVAT CURRENCY,
  RazBrutto CURRENCY,
  Potracenie CURRENCY,
  DoZaplaty CURRENCY,
  PlatFor TEXT COLLATE NOCASE,
  PlatDni LONG,
  PlatTer TEXT COLLATE NOCASE,
  PlatRach TEXT COLLATE NOCASE,
  Wystawil TEXT COLLATE NOCASE,
  Uwagi TEXT COLLATE NOCASE,
  Fundusz TEXT(100) COLLATE NOCASE,
  Zaplacono CURRENCY
);
CREATE UNIQUE INDEX fadok_numer ON fadok (Numer);
CREATE INDEX fadok_datawyst ON fadok (Datawyst);
CREATE INDEX fadok_kornumer ON fadok (KorNumer);
-- The side list's dictionaries (and the register's list of payment forms) read their values
-- from these alone, each exact spelling once; the program folds spellings that differ in case.
CREATE INDEX fadok_kontrahent ON fadok (Nazkon COLLATE BINARY, Adrkon COLLATE BINARY, Nipkon COLLATE BINARY,
  Nazdok COLLATE BINARY, Numdok COLLATE BINARY, Datadok COLLATE BINARY, Wyddok COLLATE BINARY, PlatRach COLLATE BINARY);
CREATE INDEX fadok_platfor ON fadok (PlatFor COLLATE BINARY);
CREATE INDEX fadok_platter ON fadok (PlatTer COLLATE BINARY);
CREATE INDEX fadok_uwagi ON fadok (Uwagi COLLATE BINARY);
CREATE INDEX fadok_wystawil ON fadok (Wystawil COLLATE BINARY);

CREATE TABLE dodok (
  Stanowisko SHORT,
  Inddok TEXT COLLATE NOCASE,
  Numer TEXT COLLATE NOCASE,
  Datawyst DATETIME,
  Datasprz DATETIME,
  KorInddok TEXT COLLATE NOCASE,
  KorNumer TEXT COLLATE NOCASE,
  KorDatawyst DATETIME,
  Podstawa TEXT COLLATE NOCASE,
  Wydane TEXT COLLATE NOCASE,
  Nazkon TEXT COLLATE NOCASE,
  Adrkon TEXT COLLATE NOCASE,
  Nipkon TEXT COLLATE NOCASE,
  Nazdok TEXT COLLATE NOCASE,
  Numdok TEXT COLLATE NOCASE,
  Wyddok TEXT COLLATE NOCASE,
  Datadok DATETIME,
  RazNetto CURRENCY,
  RazVAT CURRENCY,
  RazBrutto CURRENCY,
  Potracenie CURRENCY,
  DoZaplaty CURRENCY,
  PlatFor TEXT COLLATE NOCASE,
  PlatDni LONG,
  PlatTer TEXT COLLATE NOCASE,
  PlatRach TEXT COLLATE NOCASE,
  Wystawil TEXT COLLATE NOCASE,
  Uwagi TEXT COLLATE NOCASE,
  Fundusz TEXT(100) COLLATE NOCASE,
  Zaplacono CURRENCY
);
CREATE INDEX dodok_stanowisko ON dodok (Stanowisko);

CREATE TABLE fapoz (
  Stanowisko SHORT,
  Inddok TEXT COLLATE NOCASE,
  Numer TEXT COLLATE NOCASE,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE NOCASE,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE NOCASE,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE NOCASE,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX fapoz_numer ON fapoz (Numer, Inddok);
CREATE INDEX fapoz_produkt ON fapoz (Nazwa COLLATE BINARY, Indjed COLLATE BINARY, Indvat COLLATE BINARY, Cenanet);
CREATE INDEX fapoz_indjed ON fapoz (Indjed COLLATE BINARY);
CREATE INDEX fapoz_indvat ON fapoz (Indvat COLLATE BINARY);

CREATE TABLE dopoz (
  Stanowisko SHORT,
  Inddok TEXT COLLATE NOCASE,
  Numer TEXT COLLATE NOCASE,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE NOCASE,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE NOCASE,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE NOCASE,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX dopoz_stanowisko ON dopoz (Stanowisko, Pozycja);
CREATE TABLE dokor (
  Stanowisko SHORT,
  Inddok TEXT COLLATE NOCASE,
  Numer TEXT COLLATE NOCASE,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE NOCASE,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE NOCASE,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE NOCASE,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX dokor_stanowisko ON dokor (Stanowisko, Pozycja);

-- The stored document a workstation's buffer holds for editing under its own number, so that
-- the edit resumes after a restart: the number it was loaded under, its fadok row and a digest of
-- what it held then. No row: the buffer holds a new document. The program makes this table in a
-- file that lacks it (a file of an older version) with the same statement.
CREATE TABLE dopopr (Stanowisko SHORT PRIMARY KEY, Numer TEXT COLLATE NOCASE, Wiersz LONG, Skrot LONGBINARY);

CREATE TABLE dbprg (
  Indprg TEXT COLLATE NOCASE PRIMARY KEY,
  Nazwa TEXT COLLATE NOCASE,
  VerMajor LONG,
  VerMinor LONG,
  VerRevision LONG
);
INSERT INTO dbprg (Indprg, Nazwa, VerMajor, VerMinor, VerRevision) VALUES ('FR', 'Rolkwit', 3, 5, 12);

CREATE TABLE dbpar (
  Indpar TEXT COLLATE NOCASE PRIMARY KEY,
  Wartosc TEXT COLLATE NOCASE
);

CREATE TABLE dbbin (
  Indpar TEXT COLLATE NOCASE PRIMARY KEY,
  Wartosc LONGBINARY
);

CREATE TABLE dboso (
  Indoso TEXT COLLATE NOCASE PRIMARY KEY,
  Imie TEXT COLLATE NOCASE,
  Nazwisko TEXT COLLATE NOCASE,
  Haslo TEXT,
  Aktywny BIT,
  Admin BIT
);

CREATE TABLE dbupr (
  Indoso TEXT COLLATE NOCASE,
  Indprg TEXT COLLATE NOCASE,
  Poziom TEXT
);
