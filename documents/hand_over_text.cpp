#include "documents/hand_over_text.h"
#include <QStringList>

namespace {
const QString kMarker = QStringLiteral(">Wirlan Data");
const QChar kSep = QLatin1Char('|');

const QString kPasswordRefusal =
    QStringLiteral("Hasło bazy danych zawiera znak \"|\", którego odnośnik do dokumentu między programami nie może "
                   "przenieść: żaden z programów nie odczytałby go poprawnie. Zmień hasło bazy danych, z której "
                   "pochodzi dokument, i skopiuj go ponownie.");
const QString kPathRefusal =
    QStringLiteral("Ścieżka pliku bazy danych zawiera znak \"|\", którego odnośnik do dokumentu między programami "
                   "nie może przenieść. Zmień nazwę pliku lub folderu bazy danych i spróbuj ponownie.");

bool oneLine(const QString& s)
{
    return !s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r'));
}

// The reading of `rest` (what follows the path and its "|") whose password ends at the "|" at
// `at`: a three-character kind without "|" that is not blank, its "|", and a number.
std::optional<HandOver> readingAt(const QString& rest, qsizetype at)
{
    const QString inddok = rest.mid(at + 1, 3);
    if (inddok.size() != 3 || inddok.contains(kSep) || inddok.trimmed().isEmpty()) return std::nullopt;
    if (rest.size() <= at + 4 || rest.at(at + 4) != kSep) return std::nullopt;
    const QString numer = rest.mid(at + 5);
    if (numer.isEmpty() || !oneLine(numer)) return std::nullopt;
    return HandOver{QString(), QString(), rest.left(at), inddok, numer};
}

}  // namespace

QString handOverText(const HandOver& h, QString* refusal)
{
    if (h.programCode.size() != 2 || h.databaseFile.isEmpty() || h.numer.isEmpty()) return {};
    if (h.databaseFile.contains(kSep)) {
        if (refusal) *refusal = kPathRefusal;
        return {};
    }
    if (h.haslo.contains(kSep)) {
        if (refusal) *refusal = kPasswordRefusal;
        return {};
    }
    if (h.programCode.contains(kSep) || h.inddok.trimmed().isEmpty() || h.inddok.size() > 3 ||
        h.inddok.contains(kSep) || !oneLine(h.numer))
        return {};
    const QString text =
        QStringList{kMarker, h.programCode, h.databaseFile, h.haslo, h.inddok.leftJustified(3, QLatin1Char(' ')),
                    h.numer}
            .join(kSep);
    // Written only when every reader of the family gets back exactly these fields.
    const auto back = parseHandOver(text, refusal);
    if (!back || back->haslo != h.haslo || back->numer != h.numer || back->inddok.trimmed() != h.inddok.trimmed())
        return {};
    return text;
}

std::optional<HandOver> parseHandOver(const QString& text, QString* refusal)
{
    if (!text.startsWith(kMarker + kSep)) return std::nullopt;
    // The code and the path: each up to its "|".
    const qsizetype codeEnd = text.indexOf(kSep, kMarker.size() + 1);
    if (codeEnd < 0) return std::nullopt;
    const qsizetype pathEnd = text.indexOf(kSep, codeEnd + 1);
    if (pathEnd < 0) return std::nullopt;
    const QString code = text.mid(kMarker.size() + 1, codeEnd - kMarker.size() - 1);
    const QString path = text.mid(codeEnd + 1, pathEnd - codeEnd - 1);
    if (code.size() != 2 || path.isEmpty()) return std::nullopt;

    // The family reads the password up to the next "|". A text that reads well only with the
    // password ending at a later "|", or that also reads so, is not read: its fields would shift.
    const QString rest = text.mid(pathEnd + 1);
    const qsizetype first = rest.indexOf(kSep);
    if (first < 0) return std::nullopt;
    std::optional<HandOver> h = readingAt(rest, first);
    for (qsizetype at = rest.indexOf(kSep, first + 1); at >= 0; at = rest.indexOf(kSep, at + 1)) {
        if (readingAt(rest, at)) {
            if (refusal) *refusal = kPasswordRefusal;
            return std::nullopt;
        }
    }
    if (!h) return std::nullopt;
    h->programCode = code;
    h->databaseFile = path;
    return h;
}
