#pragma once
#include "platform/decimal.h"
#include <QString>

// An amount in Polish words, as the invoice states the amount to pay: the whole złote in words,
// the grosze as a fraction over 100 ("jeden  tysiąc  dwieście  trzydzieści  cztery 56/100").
// Every word brings one blank on each side, so neighbouring words stand two blanks apart; the
// result has no blank at either end.

// The amount rounded to grosze (halves to even) in words, "minus " before a negative amount,
// "zero" for less than one złoty, followed by the grosze, "/100 " and the suffix.
// "***" when the amount cannot be written out.
QString Slownie(Decimal kwota, const QString& sufiks = QString());

// The words of one group of up to three digits (each a one-character text, empty where the number
// is too short) put in front of `tekst`.
QString SlownieTrojka(const QString& jednosci, const QString& dziesiatki, const QString& setki, const QString& tekst);

// The word of one digit from each word table put in front of `tekst`; a digit the table has no
// word for leaves `tekst` as it is.
QString SlownieJednosci(const QString& cyfra, const QString& tekst);
QString SlownieNastki(const QString& cyfra, const QString& tekst);
QString SlownieDziesiatki(const QString& cyfra, const QString& tekst);
QString SlownieSetki(const QString& cyfra, const QString& tekst);
