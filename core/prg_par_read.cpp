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
    if (auto v = numericValue(text, minimum, maximum)) return int(*v);
    return int(numericValue(defaultValue, minimum, maximum).value_or(0));
}

bool flag(App& app, const QString& name, const QString& defaultValue)
{
    return RegParRead(app, name, defaultValue) == QLatin1String("1");
}

}  // namespace

void PrgParRead(App& app)
{
    PrgPar& p = app.gPrgPar;
    const PrgPar d;  // the defaults
    p.BazaPlik = RegParRead(app, QStringLiteral("BazaPlik"), d.BazaPlik);
    p.BazaNazwa = BaseNameFromPath(p.BazaPlik);
    p.BezMAPI = number(app, QStringLiteral("BezMAPI"), settingText(d.BezMAPI), kShortMin, kShortMax);
    p.EnterToTab = flag(app, QStringLiteral("EnterToTab"), settingText(d.EnterToTab));
    p.DataPrzed = number(app, QStringLiteral("DataPrzed"), settingText(d.DataPrzed), kLongMin, kLongMax);
    p.DataPo = number(app, QStringLiteral("DataPo"), settingText(d.DataPo), kLongMin, kLongMax);
    p.TabPozLicz = number(app, QStringLiteral("TabPozLicz"), settingText(d.TabPozLicz), kShortMin, kShortMax);
    p.TabPozWiersz = number(app, QStringLiteral("TabPozWiersz"), settingText(d.TabPozWiersz), kShortMin, kShortMax);
    p.TabKorKol = number(app, QStringLiteral("TabKorKol"), settingText(d.TabKorKol), kLongMin, kLongMax);
    p.PanelAsysta = flag(app, QStringLiteral("PanelAsysta"), settingText(d.PanelAsysta));
    p.UstawPocz = flag(app, QStringLiteral("UstawPocz"), settingText(d.UstawPocz));
    p.PlatDni = RegParRead(app, QStringLiteral("PlatDni"), d.PlatDni);
    p.PlatForma = RegParRead(app, QStringLiteral("PlatForma"), d.PlatForma);
    p.PlatTermin = RegParRead(app, QStringLiteral("PlatTermin"), d.PlatTermin);
    p.DokNazwa = RegParRead(app, QStringLiteral("DokNazwa"), d.DokNazwa);
    p.Wystawil = RegParRead(app, QStringLiteral("Wystawil"), d.Wystawil);
}

void HelpFileSet(App& app)
{
    app.helpFile = programFile(app, QStringLiteral("Rolkwit.chm"));
}
