#include "core/app.h"
#include "core/error_report.h"
#include "register/chart_page.h"
#include "register/register_page.h"
#include "register/services.h"
#include <QApplication>

namespace {

// The register and chart pages of this run's windows (tests may hold several runs at once).
template <class Page>
std::vector<Page*> pagesOf(App& app)
{
    std::vector<Page*> pages;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<Page*>(top); p && &p->app() == &app) pages.push_back(p);
        for (Page* p : top->findChildren<Page*>())
            if (&p->app() == &app) pages.push_back(p);
    }
    return pages;
}

// Runs one step; a failure is reported with `where` and the next step runs.
template <class F>
void step(App& app, const QString& where, F&& f)
{
    try {
        f();
    } catch (...) {
        ErrorReport(app, where);
    }
}

}  // namespace

void KartotekaOdswiez(App& app)
{
    for (RegisterPage* p : pagesOf<RegisterPage>(app)) p->KartotekaOdswiez();
}

void WykresOdswiez(App& app)
{
    for (ChartPage* p : pagesOf<ChartPage>(app)) p->WykresOdswiez();
}

void attachRegister(App& app)
{
    const QString where = QStringLiteral("Przyłącz");
    for (RegisterPage* p : pagesOf<RegisterPage>(app)) step(app, where, [p] { p->attach(); });
    for (ChartPage* p : pagesOf<ChartPage>(app)) step(app, where, [p] { p->attach(); });
}

void refreshRegisterAfterSave(App& app)
{
    const QString where = QStringLiteral("ZapiszDokument");
    for (RegisterPage* p : pagesOf<RegisterPage>(app))
        step(app, where, [p] {
            p->refillLists();
            p->KartotekaOdswiez();
        });
    for (ChartPage* p : pagesOf<ChartPage>(app))
        step(app, where, [p] {
            p->refillLists();
            p->WykresOdswiez();
        });
}

void detachRegister(App& app)
{
    for (RegisterPage* p : pagesOf<RegisterPage>(app)) p->detach();
}

void reattachRegister(App& app)
{
    for (RegisterPage* p : pagesOf<RegisterPage>(app)) step(app, QStringLiteral("Przyłącz"), [p] { p->attach(); });
}
