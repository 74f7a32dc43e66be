#pragma once
#include "core/app.h"
#include "documents/buffer.h"
#include "documents/doc_header.h"
#include "documents/position_math.h"
#include "documents/positions.h"
#include "documents/save.h"
#include "platform/app_error.h"
#include <QStringList>
#include <vector>

// Documents typed into a workstation's buffer without a window, computed as the grid computes them.

// One position as typed: name, quantity, unit, price, VAT code (an empty text stands for a cell
// left empty).
struct TypedRow {
    QString nazwa;
    QString ilosc;
    QString jed = QStringLiteral("kg");
    QString cena;
    QString vat = QStringLiteral("7");
};

inline Decimal dec(const char* text)
{
    return *Decimal::parse(QString::fromUtf8(text));
}

// An invoice header with the fields every check asks for.
inline DocHeader invoiceHeader(const QString& numer, const QDate& data = QDate(2024, 5, 6))
{
    DocHeader h;
    h.Inddok = QStringLiteral("FR");
    h.Numer = numer;
    h.Datawyst = data;
    h.Datasprz = data;
    h.Nazkon = QStringLiteral("Jan O'Brien");
    h.Adrkon = QStringLiteral("Wola 1");
    h.PlatFor = QStringLiteral("przelew");
    h.PlatDni = 14;
    h.Wystawil = QStringLiteral("Anna");
    return h;
}

// A correction of invoice `korNumer` (issued `korData`) with the fields every check asks for.
inline DocHeader correctionHeader(const QString& numer, const QString& korNumer, const QDate& korData = QDate())
{
    DocHeader h = invoiceHeader(numer);
    h.Inddok = QStringLiteral("KFR");
    h.KorInddok = QStringLiteral("FR");
    h.KorNumer = korNumer;
    h.KorDatawyst = korData;
    return h;
}

// A correction of 1/04/2024 with every header field set, each to a value that no other field
// holds (the workstation and the paid amount excepted).
inline DocHeader everyFieldHeader()
{
    return {.Inddok = "KFR",
            .Numer = "8/05/2024",
            .Datawyst = QDate(2024, 5, 6),
            .Datasprz = QDate(2024, 5, 4),
            .KorInddok = "FR",
            .KorNumer = "1/04/2024",
            .KorDatawyst = QDate(2024, 4, 2),
            .Podstawa = "umowa kontraktacji",
            .Wydane = "WZ 12",
            .Nazkon = "Jan O'Brien",
            .Adrkon = "Łąkowa 1, Kęty",
            .Nipkon = "84010112345",
            .Nazdok = "Paszport",
            .Numdok = "AB 123",
            .Wyddok = "Wójt",
            .Datadok = QDate(2019, 3, 4),
            .RazNetto = dec("3500"),
            .RazVAT = dec("245"),
            .RazBrutto = dec("3745"),
            .Potracenie = dec("4"),
            .DoZaplaty = dec("3741"),
            .PlatFor = "przelew",
            .PlatDni = 14,
            .PlatTer = "od dnia dostarczenia towaru",
            .PlatRach = "12 1020",
            .Wystawil = "Anna",
            .Uwagi = "uwagi\ndwie linie",
            .Fundusz = "Fundusz Promocji Mleka",
            .Zaplacono = std::nullopt};
}

// A typed row numbered `n`, its values computed as the grid computes them.
inline Position typedPosition(const TypedRow& r, qint64 n)
{
    Position p;
    p.Pozycja = n;
    p.Nazwa = r.nazwa;
    p.Ilosc = Decimal::parse(r.ilosc);
    p.Indjed = r.jed;
    p.Cenanet = Decimal::parse(r.cena);
    p.Indvat = r.vat;
    const RowValues v = vatValues(netValue(p.Ilosc, p.Cenanet), p.Indvat);
    p.WartNetto = v.WartNetto;
    p.WartVAT = v.WartVAT;
    p.WartBrutto = v.WartBrutto;
    return p;
}

// Replaces one position buffer with the typed rows, numbered from 1.
inline void typeRows(App& app, PositionTable table, const std::vector<TypedRow>& rows)
{
    PositionBuffer b(app, table);
    b.clear();
    qint64 n = 0;
    for (const TypedRow& r : rows) b.insert(typedPosition(r, ++n));
}

// Puts a whole document into the buffer: the rows, then the header with the totals the form
// would show for them. Gives the header as buffered.
inline DocHeader bufferDocument(App& app, DocHeader h, const std::vector<TypedRow>& poz,
                                const std::vector<TypedRow>& kor = {})
{
    typeRows(app, PositionTable::Dopoz, poz);
    typeRows(app, PositionTable::Dokor, kor);
    Sums k = PositionBuffer(app, PositionTable::Dokor).sums();
    h.setTotals(PozycjeSumuj(PositionBuffer(app, PositionTable::Dopoz).sums(), h.isCorrection() ? &k : nullptr,
                             !h.Fundusz.isEmpty()));
    ZapiszDoBufora(app, h);
    return h;
}

// Stores the buffered document as a new one (a replace question is answered Yes).
inline SaveResult saveBuffered(App& app, const EditState& state = {})
{
    return ZapiszDokument(app, state, [](const QString&) { return true; });
}

// The window's part of a save, for tests without a window: answers the replace question with
// `yes`, and keeps the questions asked and the places of the errors reported through the app
// (installed as its reporter for the life of the object).
struct Replies {
    bool yes = true;
    QStringList questions;
    QStringList reported;
    QString lastError;  // the description of the last error reported
    explicit Replies(App& app) : app_(app)
    {
        app.errorReporter = [this](App&, const QString& where, const QString&) {
            reported << where;
            try {
                throw;
            } catch (const AppError& e) {
                lastError = e.description();
            } catch (...) {
            }
        };
    }
    ~Replies() { app_.errorReporter = nullptr; }
    Replies(const Replies&) = delete;
    Replies& operator=(const Replies&) = delete;
    Question ask()
    {
        return [this](const QString& q) {
            questions << q;
            return yes;
        };
    }

private:
    App& app_;
};
