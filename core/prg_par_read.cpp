#include "core/prg_par_read.h"
#include "core/app.h"
#include "core/program_files.h"
#include "core/registry.h"
#include <limits>

namespace {

constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
constexpr qint64 kLongMin = std::numeric_limits<qint32>::min();
constexpr qint64 kLongMax = std::numeric_limits<qint32>::max();

int number(App& app, const QString& name, const QString& defaultValue, qint64 minimum, qint64 maximum)
{
    QString text = RegParRead(app, name, defaultValue);
    if (auto v = NumericValue(text, minimum, maximum)) return int(*v);
    return int(NumericValue(defaultValue, minimum, maximum).value_or(0));
}

bool flag(App& app, const QString& name, const QString& defaultValue)
{
    return RegParRead(app, name, defaultValue) == QLatin1String("1");
}

} // namespace

void PrgParRead(App& app)
{
    PrgPar& p = app.gPrgPar;
    p.BazaPlik = RegParRead(app, QStringLiteral("BazaPlik"), QString());
    p.BazaNazwa = BaseNameFromPath(p.BazaPlik);
    p.BezMAPI = number(app, QStringLiteral("BezMAPI"), QStringLiteral("0"), kShortMin, kShortMax);
    p.EnterToTab = flag(app, QStringLiteral("EnterToTab"), QStringLiteral("1"));
    p.DataPrzed = number(app, QStringLiteral("DataPrzed"), QStringLiteral("10"), kLongMin, kLongMax);
    p.DataPo = number(app, QStringLiteral("DataPo"), QStringLiteral("20"), kLongMin, kLongMax);
    p.TabPozLicz = number(app, QStringLiteral("TabPozLicz"), QStringLiteral("3"), kShortMin, kShortMax);
    p.TabPozWiersz = number(app, QStringLiteral("TabPozWiersz"), QStringLiteral("3"), kShortMin, kShortMax);
    p.TabKorKol = number(app, QStringLiteral("TabKorKol"), QStringLiteral("14811135"), kLongMin, kLongMax);
    p.PanelAsysta = flag(app, QStringLiteral("PanelAsysta"), QStringLiteral("0"));
    p.UstawPocz = flag(app, QStringLiteral("UstawPocz"), QStringLiteral("0"));
    p.PlatDni = RegParRead(app, QStringLiteral("PlatDni"), QString());
    p.PlatForma = RegParRead(app, QStringLiteral("PlatForma"), QString());
    p.PlatTermin = RegParRead(app, QStringLiteral("PlatTermin"), QString());
    p.DokNazwa = RegParRead(app, QStringLiteral("DokNazwa"), QString());
    p.Wystawil = RegParRead(app, QStringLiteral("Wystawil"), QString());
}

void HelpFileSet(App& app)
{
    app.helpFile = ProgramFile(app, QStringLiteral("Rolkwit.chm"));
}
