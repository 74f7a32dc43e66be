#include "documents/hand_over_text.h"
#include <QStringList>

namespace {
const QString kMarker = QStringLiteral(">Wirlan Data");
const QChar kSep = QLatin1Char('|');
}  // namespace

QString handOverText(const HandOver& h)
{
    if (h.programCode.size() != 2 || h.databaseFile.isEmpty() || h.numer.isEmpty()) return {};
    if (h.databaseFile.contains(kSep) || h.haslo.contains(kSep) || h.programCode.contains(kSep)) return {};
    if (h.inddok.trimmed().isEmpty() || h.inddok.size() > 3 || h.inddok.contains(kSep)) return {};
    if (h.numer.contains(QLatin1Char('\n')) || h.numer.contains(QLatin1Char('\r'))) return {};
    return QStringList{kMarker, h.programCode, h.databaseFile, h.haslo, h.inddok.leftJustified(3, QLatin1Char(' ')),
                       h.numer}
        .join(kSep);
}

std::optional<HandOver> parseHandOver(const QString& text)
{
    if (!text.startsWith(kMarker + kSep)) return std::nullopt;
    // The number is the rest of the line: split into the first five fields and the rest only.
    QStringList f;
    qsizetype from = 0;
    for (int i = 0; i < 5; ++i) {
        const qsizetype at = text.indexOf(kSep, from);
        if (at < 0) return std::nullopt;
        f << text.mid(from, at - from);
        from = at + 1;
    }
    HandOver h{f[1], f[2], f[3], f[4], text.mid(from)};
    if (h.programCode.size() != 2 || h.databaseFile.isEmpty() || h.inddok.size() != 3 || h.kind().isEmpty())
        return std::nullopt;
    if (h.numer.isEmpty() || h.numer.contains(QLatin1Char('\n')) || h.numer.contains(QLatin1Char('\r')))
        return std::nullopt;
    return h;
}
