-- Tables of a database file. The template database "Rolkwit.mbs" is built from this script.
-- Column types keep the names of the old engine so that readers know what a column holds:
--   CURRENCY  exact amount (and quantity) stored as an integer scaled by 10000
--   DATETIME  a date as ISO text YYYY-MM-DD
--   BIT       a yes/no value, 1 or 0
--   SHORT, LONG  integers; TEXT a text (empty texts are stored as NULL)
-- Texts compare and sort without case, in Polish order (collation PL).
-- The buffers (dodok, dopoz, dokor) keep exactly the column order of fadok and fapoz, since
-- documents are copied between them with SELECT *.

CREATE TABLE fadok (
  Stanowisko SHORT,
  Inddok TEXT COLLATE PL,
  Numer TEXT COLLATE PL,
  Datawyst DATETIME,
  Datasprz DATETIME,
  KorInddok TEXT COLLATE PL,
  KorNumer TEXT COLLATE PL,
  KorDatawyst DATETIME,
  Podstawa TEXT COLLATE PL,
  Wydane TEXT COLLATE PL,
  Nazkon TEXT COLLATE PL,
  Adrkon TEXT COLLATE PL,
  Nipkon TEXT COLLATE PL,
  Nazdok TEXT COLLATE PL,
  Numdok TEXT COLLATE PL,
  Wyddok TEXT COLLATE PL,
  Datadok DATETIME,
  RazNetto CURRENCY,
  RazVAT CURRENCY,
  RazBrutto CURRENCY,
  Potracenie CURRENCY,
  DoZaplaty CURRENCY,
  PlatFor TEXT COLLATE PL,
  PlatDni LONG,
  PlatTer TEXT COLLATE PL,
  PlatRach TEXT COLLATE PL,
  Wystawil TEXT COLLATE PL,
  Uwagi TEXT COLLATE PL,
  Fundusz TEXT(100) COLLATE PL,
  Zaplacono CURRENCY
);
CREATE UNIQUE INDEX fadok_numer ON fadok (Numer);
CREATE INDEX fadok_datawyst ON fadok (Datawyst);
CREATE INDEX fadok_kornumer ON fadok (KorNumer);
CREATE INDEX fadok_platfor ON fadok (PlatFor);

CREATE TABLE dodok (
  Stanowisko SHORT,
  Inddok TEXT COLLATE PL,
  Numer TEXT COLLATE PL,
  Datawyst DATETIME,
  Datasprz DATETIME,
  KorInddok TEXT COLLATE PL,
  KorNumer TEXT COLLATE PL,
  KorDatawyst DATETIME,
  Podstawa TEXT COLLATE PL,
  Wydane TEXT COLLATE PL,
  Nazkon TEXT COLLATE PL,
  Adrkon TEXT COLLATE PL,
  Nipkon TEXT COLLATE PL,
  Nazdok TEXT COLLATE PL,
  Numdok TEXT COLLATE PL,
  Wyddok TEXT COLLATE PL,
  Datadok DATETIME,
  RazNetto CURRENCY,
  RazVAT CURRENCY,
  RazBrutto CURRENCY,
  Potracenie CURRENCY,
  DoZaplaty CURRENCY,
  PlatFor TEXT COLLATE PL,
  PlatDni LONG,
  PlatTer TEXT COLLATE PL,
  PlatRach TEXT COLLATE PL,
  Wystawil TEXT COLLATE PL,
  Uwagi TEXT COLLATE PL,
  Fundusz TEXT(100) COLLATE PL,
  Zaplacono CURRENCY
);
CREATE INDEX dodok_stanowisko ON dodok (Stanowisko);

CREATE TABLE fapoz (
  Stanowisko SHORT,
  Inddok TEXT COLLATE PL,
  Numer TEXT COLLATE PL,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE PL,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE PL,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE PL,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX fapoz_numer ON fapoz (Numer, Inddok);

CREATE TABLE dopoz (
  Stanowisko SHORT,
  Inddok TEXT COLLATE PL,
  Numer TEXT COLLATE PL,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE PL,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE PL,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE PL,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX dopoz_stanowisko ON dopoz (Stanowisko, Pozycja);
CREATE TABLE dokor (
  Stanowisko SHORT,
  Inddok TEXT COLLATE PL,
  Numer TEXT COLLATE PL,
  Pozycja LONG,
  Korekta BIT,
  Nazwa TEXT COLLATE PL,
  Ilosc CURRENCY,
  Indjed TEXT COLLATE PL,
  Cenanet CURRENCY,
  Indvat TEXT COLLATE PL,
  WartNetto CURRENCY,
  WartVAT CURRENCY,
  WartBrutto CURRENCY
);
CREATE INDEX dokor_stanowisko ON dokor (Stanowisko, Pozycja);

CREATE TABLE dbprg (
  Indprg TEXT COLLATE PL PRIMARY KEY,
  Nazwa TEXT COLLATE PL,
  VerMajor LONG,
  VerMinor LONG,
  VerRevision LONG
);
INSERT INTO dbprg (Indprg, Nazwa, VerMajor, VerMinor, VerRevision) VALUES ('FR', 'Rolkwit', 3, 5, 12);

CREATE TABLE dbpar (
  Indpar TEXT COLLATE PL PRIMARY KEY,
  Wartosc TEXT COLLATE PL
);

CREATE TABLE dbbin (
  Indpar TEXT COLLATE PL PRIMARY KEY,
  Wartosc LONGBINARY
);

CREATE TABLE dboso (
  Indoso TEXT COLLATE PL PRIMARY KEY,
  Imie TEXT COLLATE PL,
  Nazwisko TEXT COLLATE PL,
  Haslo TEXT,
  Aktywny BIT,
  Admin BIT
);

CREATE TABLE dbupr (
  Indoso TEXT COLLATE PL,
  Indprg TEXT COLLATE PL,
  Poziom TEXT
);
