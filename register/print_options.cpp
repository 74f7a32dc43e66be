#include "register/print_options.h"
#include "core/app.h"
#include "core/registry.h"
#include "platform/twips.h"
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {

const QString kOn = QStringLiteral("1");
const QString kOff = QStringLiteral("0");

void store(App& app, const QString& name, const QString& value)
{
    RegSave(app.gRegProgramKey, name, value);
    RegParSave(app, name, value);
}

int indexOf(const QString& tekst)
{
    for (size_t i = 0; i < kPrintOptions.size(); ++i)
        if (tekst == QString::fromUtf8(kPrintOptions[i].tekst)) return int(i);
    return -1;
}

}  // namespace

void PanelDrukuPokaz(App& app, const QString& panel, QTreeWidget* lstPardruk)
{
    if (panel == QLatin1String("Podglad dokumentu")) DrukParametryLista(app, lstPardruk);
}

void DrukParametryLista(App& app, QTreeWidget* lst)
{
    if (!lst || lst->topLevelItemCount() > 0) return;
    // The program's own check marks are no user's changes.
    QSignalBlocker quiet(lst);
    lst->clear();
    lst->setColumnCount(1);
    lst->setHeaderLabels({QStringLiteral("Nazwa parametru")});
    lst->setColumnWidth(0, twips::px(2500));
    for (size_t i = 0; i < kPrintOptions.size(); ++i) {
        auto* item = new QTreeWidgetItem(lst, {QString::fromUtf8(kPrintOptions[i].tekst)});
        const bool duplikat = i == 2;
        const bool on = !duplikat && RegParRead(app, QString::fromUtf8(kPrintOptions[i].nazwa), kOff) == kOn;
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    lst->setProperty("Tag", QStringLiteral("Parametry wydruku"));
}

int printOptionChanged(App& app, const QString& tekst, bool zaznaczona)
{
    const int i = indexOf(tekst);
    if (i < 0) return -1;
    const QString value = zaznaczona ? kOn : kOff;
    store(app, QString::fromUtf8(kPrintOptions[size_t(i)].nazwa), value);
    if (i > 1) return -1;
    const int other = 1 - i;
    store(app, QString::fromUtf8(kPrintOptions[size_t(other)].nazwa), kOff);
    return zaznaczona ? other : -1;
}

void turnOffDuplicate(App& app, QTreeWidget* lst)
{
    store(app, QStringLiteral("DrukDuplikat"), kOff);
    if (lst && lst->topLevelItemCount() > 2) {
        QSignalBlocker quiet(lst);
        lst->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    }
}
