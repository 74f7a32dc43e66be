#include "documents/validation.h"
#include "core/app.h"
#include "core/shared_procs.h"
#include "documents/position_math.h"

namespace {

std::optional<CheckFault> fault(const QString& text, std::optional<FormField> focus, int row = -1)
{
    return CheckFault{text, focus, row};
}

QString nr(const Position& p)
{
    return p.Pozycja ? QString::number(*p.Pozycja) : QString();
}

// An unnamed row is an empty line of the grid unless it carries a value.
bool hasValue(const Position& p)
{
    OptDecimal net = netValue(p.Ilosc, p.Cenanet);
    return (p.WartNetto && !p.WartNetto->isZero()) || (net && !net->isZero());
}

// The row's gross value recomputed from its quantity, price and VAT code.
Decimal brutto(const Position& p)
{
    return vatValues(netValue(p.Ilosc, p.Cenanet), p.Indvat).WartBrutto.value_or(Decimal());
}

std::optional<CheckFault> missingNameFault(const Position& p, FormField grid)
{
    return fault(QStringLiteral("Błędna pozycja dokumentu nr ") + nr(p) +
                     QStringLiteral(". Brak nazwy towaru / usługi. Jeżeli nie chcesz wprowadzać pozycji wprowadź 0 "
                                    "(zero) do pola ilość lub usuń pozycję."),
                 grid, 0);
}

}  // namespace

QString missingNumberMessage()
{
    return QStringLiteral("Brak numeru dokumentu. Wprowadź numer i spróbuj ponownie.");
}

QString helpAddress(const App& app)
{
    return app.supportAddress;
}

std::optional<CheckFault> checkHeader(const DocHeader& h, bool numerZapisu)
{
    if (h.Numer.trimmed().isEmpty()) return fault(missingNumberMessage(), FormField::Numer);
    // A number that could not be proposed must never become a document's number.
    if (numerZapisu && h.Numer.startsWith('?'))
        return fault(QStringLiteral("Błędny numer dokumentu. Nie można było zaproponować numeru. "
                                    "Wprowadź numer i spróbuj ponownie."),
                     FormField::Numer);
    if (!h.Datawyst.isValid())
        return fault(QStringLiteral("Brak daty wystawienia dokumentu. Wprowadź datę i spróbuj ponownie."),
                     FormField::Datawyst);
    if (!h.Datasprz.isValid())
        return fault(QStringLiteral("Brak daty sprzedaży dokumentu. Wprowadź datę i spróbuj ponownie."),
                     FormField::Datasprz);
    if (h.Nazkon.isEmpty())
        return fault(QStringLiteral("Brak nazwy sprzedawcy. Wprowadź nazwę i spróbuj ponownie."), FormField::Nazkon);
    if (h.Adrkon.isEmpty())
        return fault(QStringLiteral("Brak adresu sprzedawcy. Wprowadź adres i spróbuj ponownie."), FormField::Adrkon);
    if (h.PlatFor.isEmpty())
        return fault(QStringLiteral("Brak formy płatności dokumentu. Określ formę płatności i spróbuj ponownie."),
                     FormField::PlatFor);
    // A correction names the invoice it corrects, or it would be stored as an invoice of the
    // correction's kind.
    if (h.isCorrection() && h.KorNumer.isEmpty())
        return fault(
            QStringLiteral("Brak numeru dokumentu korygowanego. Wybierz dokument korygowany i spróbuj ponownie."),
            FormField::Kornum);
    if (h.RazBrutto.value_or(Decimal()).isZero())
        return fault(QStringLiteral("Wprowadź pozycje dokumentu. Nie można zapisać dokumentu z zerową wartością."),
                     FormField::TabPoz);
    return std::nullopt;
}

std::optional<CheckFault> checkPositions(const App& app, const DocHeader& h, const std::vector<Position>& dopoz,
                                         const std::vector<Position>& dokor, std::set<qint64>* erasedRows)
{
    const QString blad = QStringLiteral("Błędna pozycja dokumentu nr ");
    Decimal suma;
    for (size_t i = 0; i < dopoz.size(); ++i) {
        const Position& p = dopoz[i];
        if (p.Nazwa.isEmpty()) {
            if (hasValue(p)) return missingNameFault(p, FormField::Pozycje);
            // An erased name goes through the checks of a named row this once.
            if (!erasedRows || !erasedRows->erase(p.id)) continue;
        }
        if (p.Indjed.isEmpty())
            return fault(
                blad + nr(p) +
                    QStringLiteral(". Brak jednostki miary. Jeżeli nie chcesz określać jednostki wprowadź ---"),
                FormField::Pozycje, 0);
        if (p.Indvat.isEmpty())
            return fault(blad + nr(p) + QStringLiteral(". Brak stawki podatku VAT."), FormField::Pozycje, int(i));
        if (!p.WartNetto)
            return fault(
                blad + nr(p) +
                    QStringLiteral(". Zerowa wartość pozycji. Wprowadź ilość i cenę. Jeżeli nie chcesz, aby "
                                   "porogram uwzględniał tą pozycję usuń nazwę towaru / usługi lub usuń pozycję."),
                FormField::Pozycje, int(i));
        suma += brutto(p);
    }
    if (h.isCorrection()) {
        for (const Position& p : dokor) {
            if (p.Nazwa.isEmpty()) {
                if (hasValue(p)) return missingNameFault(p, FormField::PozycjeKor);
                continue;
            }
            suma -= brutto(p);
        }
    }

    const Decimal razBrutto = h.RazBrutto.value_or(Decimal());
    const QString zglos = QStringLiteral(" Usuń pozycje dokumentu i wprowadź je ponownie. Jeżeli błąd jest powtarzalny "
                                         "zgłoś go - napisz na adres ") +
                          helpAddress(app);
    if (NumRound(suma, 2) != razBrutto)
        return fault(QStringLiteral("Błędne wartości netto, VAT lub brutto pozycji dokumentu.") + zglos +
                         QStringLiteral(" [") + suma.toString().replace('.', ',') + QStringLiteral("]"),
                     std::nullopt);
    if (NumRound(h.RazNetto.value_or(Decimal()) + h.RazVAT.value_or(Decimal()), 2) != razBrutto)
        return fault(QStringLiteral("Błędne wartości netto, VAT lub brutto dokumentu.") + zglos + QStringLiteral(" "),
                     std::nullopt);
    return std::nullopt;
}

bool isOwnNumber(const EditState& state, const QString& numer)
{
    return state.poprawa() && !numer.isEmpty() && state.numer.compare(numer, Qt::CaseInsensitive) == 0;
}

QString replaceQuestion(const QString& numer)
{
    return QStringLiteral("Dokument o numerze ") + numer +
           QStringLiteral(" istnieje w bazie danych. Zastąpić istniejący dokument?");
}

QString deletedMeanwhileQuestion(const QString& numer)
{
    return QStringLiteral("Dokument o numerze ") + numer +
           QStringLiteral(" został w międzyczasie usunięty z bazy danych. Zapisać go ponownie?");
}

QString renumberedQuestion(const QString& numer, const QString& nowy)
{
    return QStringLiteral("Dokument o numerze ") + numer + QStringLiteral(" otrzymał w międzyczasie numer ") + nowy +
           QStringLiteral(". Zastąpić dokument o numerze ") + nowy + QStringLiteral(" dokumentem o numerze ") + numer +
           QStringLiteral("?");
}
