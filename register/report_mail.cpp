#include "register/report_mail.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "documents/doc_header.h"
#include "documents/positions.h"
#include "platform/app_error.h"
#include "platform/date_text.h"
#include "platform/mail.h"
#include "platform/message_box.h"
#include "register/invoice_report.h"
#include "register/print_state.h"
#include "register/report_format.h"
#include "register/report_sql.h"
#include "register/slownie.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace {

// The character set of the templates and of the message they make.
constexpr const char* kCharset = "ISO-8859-2";
const QString kCrLf = QStringLiteral("\r\n");

// The sample rows that a template holds once, character for character, and that the message
// repeats: one per position (`lp` names the placeholder of the position number) and one per VAT
// rate. They are quoted-printable text: "=3D" is "=", and the "=" closing the tenth line of a
// position row is a soft line break.
QString positionLine(const char* lp)
{
    return QStringList{QStringLiteral("    <TR>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dright>%1</TD>").arg(QLatin1String(lp)),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dleft>@NAZWA</TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dright><STRONG>@ILOSC</STRONG></TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dleft>@JED</TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dright>@CENA</TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dright><STRONG>@WNETTO</STRONG></TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dmiddle>@INDVAT</TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop align=3Dright>@WARTVAT</TD>"),
                       QStringLiteral("      <TD vAlign=3Dtop ="),
                       QStringLiteral("align=3Dright><STRONG>@WBRUTTO</STRONG></TD></TR>")}
        .join(kCrLf);
}
const QString kWierszFaktury = positionLine("@LP");
const QString kWierszKorekty = positionLine("@KP");
const QString kWierszVat = QStringList{QStringLiteral("    <TR>"),
                                       QStringLiteral("      <TD>&nbsp;</TD>"),
                                       QStringLiteral("      <TD align=3Dright>@WARTNETTO</TD>"),
                                       QStringLiteral("      <TD align=3Dmiddle>@INDVAT</TD>"),
                                       QStringLiteral("      <TD align=3Dright>@WARTVAT</TD>"),
                                       QStringLiteral("      <TD align=3Dright>@WARTBRUTTO</TD></TR>")}
                               .join(kCrLf);

const QString kOswiadczenie = QStringLiteral(
    "Oświadczam, że jestem rolnikiem ryczałtowym zwolnionym od podatku od towarów i usług na podstawie art.43 "
    "ust.1 pkt 3 ustawy o podatku od towarów i usług.");

bool isCorrection(const QString& rodzaj)
{
    return rodzaj.left(3) == QLatin1String("KFR");
}
bool isInvoice(const QString& rodzaj)
{
    return rodzaj.left(2) == QLatin1String("FR");
}

// Whether the message's character set has the character (the upper half read from the codec).
bool inCharset(char32_t c)
{
    static const QSet<char32_t> upper = [] {
        QByteArray bytes;
        for (int b = 0xA0; b <= 0xFF; ++b) bytes += char(b);
        QStringDecoder decode(kCharset);
        const QString chars = decode(bytes);
        QSet<char32_t> s;
        for (char32_t u : chars.toUcs4()) s.insert(u);
        return s;
    }();
    return c < 0x80 || upper.contains(c);
}

OptDecimal withoutSign(OptDecimal v, bool abs)
{
    if (abs && v && *v < Decimal()) return -*v;
    return v;
}
// "#,##0.00"; empty for a missing value.
QString kwota(const OptDecimal& v, bool abs = false)
{
    return v ? reportAmountText(*withoutSign(v, abs)) : QString();
}
// A plain number with as many decimals as it has ("12345,67", "800").
QString liczba(const OptDecimal& v, bool abs)
{
    return v ? withoutSign(v, abs)->toString().replace(QLatin1Char('.'), QLatin1Char(',')) : QString();
}

// The payment terms: the form, the days and the term, then the bank account when there is one.
QString termin(const DocHeader& h)
{
    QString t = h.PlatFor;
    if (h.PlatDni && *h.PlatDni > 0)
        t += QLatin1Char(' ') + QString::number(*h.PlatDni) +
             (textDate(h.PlatTer).isValid() ? QStringLiteral(" dni - ") : QStringLiteral(" dni ")) + h.PlatTer;
    if (!h.PlatRach.isEmpty()) t += QStringLiteral(" Nr rachunku bankowego: ") + h.PlatRach;
    return t;
}

// The header's placeholders, their values as plain text.
QHash<QString, QString> mailHeaderFields(const QString& rodzaj, const DocHeader& h, const QStringList& naglowki)
{
    QHash<QString, QString> p;
    for (int i = 1; i <= 5; ++i) p.insert(QStringLiteral("@FIRMANAG%1").arg(i), naglowki.value(i));
    p.insert(QStringLiteral("@NAZWADOK"), documentTitle(rodzaj));
    p.insert(QStringLiteral("@NUMER"), h.Numer);
    p.insert(QStringLiteral("@DATAWYST"), dateText(h.Datawyst));
    p.insert(QStringLiteral("@DATASPRZ"), dateText(h.Datasprz));
    p.insert(QStringLiteral("@KORYGOWANY"), isCorrection(rodzaj) ? correctedDocumentText(h) : QString());
    p.insert(QStringLiteral("@DUPLIKAT"), QString());
    p.insert(QStringLiteral("@NAZWANAB"), h.Nazkon);
    p.insert(QStringLiteral("@ADRESNAB"), h.Adrkon);
    p.insert(QStringLiteral("@NIPNAB"), h.Nipkon);
    const bool dowod = !h.Nazdok.isEmpty();
    p.insert(QStringLiteral("@DOWNAZWA"), dowod ? h.Nazdok + QLatin1Char(' ') + h.Numdok : QString());
    p.insert(QStringLiteral("@DOWWYDANY"),
             dowod ? QStringLiteral("Wydany przez: ") + h.Wyddok + QStringLiteral(" w dniu: ") + dateText(h.Datadok)
                   : QString());
    p.insert(QStringLiteral("@PODSTAWA"), h.Podstawa);
    p.insert(QStringLiteral("@WYDANE"), h.Wydane);
    p.insert(QStringLiteral("@SLOWNIE"), Slownie(h.DoZaplaty.value_or(Decimal()), QString()));
    p.insert(QStringLiteral("@UWAGI"), h.Uwagi);
    p.insert(QStringLiteral("@WYSTAWIL"), h.Wystawil);
    p.insert(QStringLiteral("@OSWIADCZENIE"), kOswiadczenie);
    const bool wzrost = h.RazBrutto && *h.RazBrutto > Decimal();
    p.insert(QStringLiteral("@OPISKWOTA"), isInvoice(rodzaj) ? QStringLiteral("Kwota nalezności")
                                           : wzrost          ? QStringLiteral("Kwota zwiększenia")
                                                             : QStringLiteral("Kwota zmniejszenia"));
    p.insert(QStringLiteral("@OPISDOWYPLATY"), isInvoice(rodzaj) ? QStringLiteral("DO WYPŁATY")
                                               : wzrost          ? QStringLiteral("DOPŁATA")
                                                                 : QStringLiteral("ZWROT"));
    p.insert(QStringLiteral("@TERMIN"), termin(h));
    const bool potracenie = h.Potracenie && *h.Potracenie > Decimal();
    p.insert(QStringLiteral("@OPISPOTRACENIE"),
             potracenie ? QStringLiteral("Potrącenie 0,1 % wartości netto na ") + h.Fundusz.trimmed() + QLatin1Char(':')
                        : QString());
    p.insert(QStringLiteral("@POTRACENIE"), potracenie ? kwota(h.Potracenie) : QString());
    p.insert(QStringLiteral("@RAZNETTO"), kwota(h.RazNetto));
    p.insert(QStringLiteral("@RAZVAT"), kwota(h.RazVAT));
    p.insert(QStringLiteral("@RAZBRUTTO"), kwota(h.RazBrutto));
    p.insert(QStringLiteral("@RZBRUTTO"), kwota(h.RazBrutto, true));
    p.insert(QStringLiteral("@DOWYPLATY"), kwota(h.DoZaplaty));
    for (QString& v : p) v = htmlQuotedPrintable(v);
    return p;
}

// One filled sample row per position; a correction's corrected positions (stored negated) go to
// `korekty` and show positive.
void positionLines(const QString& rodzaj, const std::vector<db::Row>& rows, QStringList& faktury, QStringList& korekty)
{
    for (const db::Row& r : rows) {
        const Position p = Position::fromRow(r);
        const bool kor = isCorrection(rodzaj) && r.boolean(QStringLiteral("Korekta"));
        const QHash<QString, QString> pola{
            {kor ? QStringLiteral("@KP") : QStringLiteral("@LP"), p.Pozycja ? QString::number(*p.Pozycja) : QString()},
            {QStringLiteral("@NAZWA"), htmlQuotedPrintable(p.Nazwa)},
            {QStringLiteral("@ILOSC"), liczba(p.Ilosc, kor)},
            {QStringLiteral("@JED"), htmlQuotedPrintable(p.Indjed)},
            {QStringLiteral("@CENA"), kwota(p.Cenanet, kor)},
            {QStringLiteral("@INDVAT"), htmlQuotedPrintable(p.Indvat)},
            {QStringLiteral("@WNETTO"), kwota(p.WartNetto, kor)},
            {QStringLiteral("@WARTVAT"), kwota(p.WartVAT, kor)},
            {QStringLiteral("@WBRUTTO"), kwota(p.WartBrutto, kor)}};
        (kor ? korekty : faktury) << fillFields(kor ? kWierszKorekty : kWierszFaktury, pola);
    }
}

QStringList vatLines(const std::vector<VatRateSum>& stawki)
{
    QStringList out;
    for (const VatRateSum& s : stawki)
        out << fillFields(kWierszVat, {{QStringLiteral("@WARTNETTO"), reportAmountText(s.netto)},
                                       {QStringLiteral("@INDVAT"), htmlQuotedPrintable(s.kod)},
                                       {QStringLiteral("@WARTVAT"), reportAmountText(s.vat)},
                                       {QStringLiteral("@WARTBRUTTO"), reportAmountText(s.brutto)}});
    return out;
}

// The message: the template with its placeholders and sample rows replaced in one pass, so that
// nothing inserted is read as a placeholder again.
QString wiadomosc(const QString& szablon, const QString& rodzaj, const QStringList& naglowki,
                  const std::vector<db::Row>& rows, const std::vector<VatRateSum>& stawki)
{
    const DocHeader h = DocHeader::fromRow(rows.front());
    QHash<QString, QString> pola = mailHeaderFields(rodzaj, h, naglowki);
    pola.insert(QStringLiteral("@ADRESAT"), QString());
    // A header line: an encoded word when it is not plain ASCII.
    pola.insert(QStringLiteral("@TEMAT"),
                QString::fromLatin1(mail::headerText(h.Inddok + QLatin1Char(' ') + h.Numer + QStringLiteral(" - ") +
                                                     naglowki.value(1))));
    QStringList faktury, korekty;
    positionLines(rodzaj, rows, faktury, korekty);
    pola.insert(kWierszFaktury, faktury.join(kCrLf));
    if (isCorrection(rodzaj)) pola.insert(kWierszKorekty, korekty.join(kCrLf));
    pola.insert(kWierszVat, vatLines(stawki).join(kCrLf));
    return fillFields(szablon, pola);
}

}  // namespace

QString KodujQP(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('='), QLatin1String("=3D"));
    s.replace(QChar(0x0179), QLatin1String("=AC"));  // Ź
    s.replace(QChar(0x017A), QLatin1String("=BC"));  // ź
    s.replace(QChar(0x0104), QLatin1String("=A1"));  // Ą
    s.replace(QChar(0x0105), QLatin1String("=B1"));  // ą
    s.replace(QChar(0x015A), QLatin1String("=A6"));  // Ś
    s.replace(QChar(0x015B), QLatin1String("=B6"));  // ś
    s.remove(QChar(0x00AE));                         // ®
    return s;
}

QString htmlQuotedPrintable(const QString& text)
{
    QString out;
    const QString t =
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (char32_t c : t.toUcs4()) {
        switch (c) {
        case U'&': out += QLatin1String("&amp;"); break;
        case U'<': out += QLatin1String("&lt;"); break;
        case U'>': out += QLatin1String("&gt;"); break;
        case U'"': out += QLatin1String("&quot;"); break;
        case U'\n': out += QLatin1String("<BR>"); break;
        case U'\t': out += QLatin1Char(' '); break;
        case U'®': out += QChar(c); break;  // KodujQP drops it
        default:
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) break;  // control characters
            if (inCharset(c))
                out += QString::fromUcs4(&c, 1);
            else
                out += QStringLiteral("&#%1;").arg(quint32(c));
        }
    }
    return KodujQP(out);
}

QString ReportMail(App& app, const QString& kind, const QString& templ)
{
    if (kind != QLatin1String("FANET")) return QString();
    const PrintState& st = printState(app);
    const QString rodzaj = st.gRepPar[0];
    const QString numer = st.gRepPar[1];
    QString nazwa;
    if (isInvoice(rodzaj))
        nazwa = QStringLiteral("Szablon Rolkwit.eml");
    else if (isCorrection(rodzaj))
        nazwa = QStringLiteral("Szablon korekty rr.eml");
    else
        return QString();  // no template for any other kind
    const QString szablonPlik = programFile(app, nazwa);
    if (!QFileInfo(szablonPlik).isFile()) {
        ui::msgBox(QStringLiteral("Brak pliku: ") + QDir::toNativeSeparators(szablonPlik) +
                       QStringLiteral(". Sprawdź czy plik istnieje oraz czy nie został uszkodzony."),
                   ui::Buttons::Ok, ui::Icon::Critical);
        return QString();
    }
    try {
        QFile f(szablonPlik);
        if (!f.open(QIODevice::ReadOnly))
            throw AppError(err::kPermissionDenied, QStringLiteral("ReportMail"),
                           QStringLiteral("Nie można odczytać pliku: ") + QDir::toNativeSeparators(szablonPlik));
        QStringDecoder decode(kCharset);
        const QString szablon = decode(f.readAll());

        QStringList naglowki;
        const ReportQuery q = RaportSQL(app, kind, templ, naglowki);
        if (q.isEmpty()) return QString();
        const std::vector<db::Row> rows = app.gBaseDb->query(q.sql, q.params);
        if (rows.empty()) return QString();
        const QString tekst = wiadomosc(szablon, rodzaj, naglowki, rows, vatRateSums(*app.gBaseDb, numer));

        // Each message gets a file of its own: one a mail program still shows is never replaced.
        const QString wanted = userDataFile(QStringLiteral("fakturarr.eml"));
        QStringEncoder encode(kCharset);
        const QString plik = mail::writeNewFile(wanted, encode(tekst));
        if (plik.isEmpty())
            throw AppError(err::kPathFileAccess, QStringLiteral("ReportMail"),
                           QStringLiteral("Nie można zapisać pliku: ") + QDir::toNativeSeparators(wanted));
        return plik;
    } catch (...) {
        ErrorReport(app, QStringLiteral("ReportMail"));
        return QString();
    }
}
