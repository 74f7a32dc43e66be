#include "core/dlg_par_prog.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/registry.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

namespace {

constexpr qint64 kLongMin = std::numeric_limits<qint32>::min();
constexpr qint64 kLongMax = std::numeric_limits<qint32>::max();

// "checked by the numeric value": any number but 0 checks the box.
bool numericFlag(const QString& text)
{
    return numericValue(text, kLongMin, kLongMax).value_or(0) != 0;
}

QLabel* note(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setIndent(20);
    return l;
}

QCheckBox* checkBox(const char* name, const QString& text, QWidget* parent)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QorUpDown* days(const char* name, QWidget* parent)
{
    auto* s = new QorUpDown(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 100);
    s->setMaxDigits(3);
    return s;
}

}  // namespace

dlgParProg::dlgParProg(App& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("dlgParProg"));
    setWindowTitle(QStringLiteral("Parametry programu"));
    tabPar = new QTabWidget(this);
    tabPar->setObjectName(QStringLiteral("tabPar"));
    tabPar->setUsesScrollButtons(false);

    auto* ogolne = new QWidget;
    cbZapiszWyjscie =
        checkBox("cbZapiszWyjscie", QStringLiteral("Zapisz ostatnie ustawienia przy wyjściu z programu"), ogolne);
    cbEnterToTab = checkBox("cbEnterToTab",
                            QStringLiteral("Przejście do następnego pola po przyciśnięciu klawisza Enter"), ogolne);
    cbPanelAsysta = checkBox("cbPanelAsysta", QStringLiteral("Automatycznie ustawiaj szerokość paneli"), ogolne);
    auto* zakres = new QGroupBox(QStringLiteral("Zakres dat wyświetlanych w panelu podpowiedzi"), ogolne);
    txtDataPrzed = days("txtDataPrzed", zakres);
    txtDataPo = days("txtDataPo", zakres);
    auto* z = new QGridLayout(zakres);
    z->addWidget(new QLabel(QStringLiteral("Przed datą"), zakres), 0, 0);
    z->addWidget(txtDataPrzed, 0, 1);
    z->addWidget(new QLabel(QStringLiteral("dni"), zakres), 0, 2);
    z->addWidget(new QLabel(QStringLiteral("Po dacie"), zakres), 1, 0);
    z->addWidget(txtDataPo, 1, 1);
    z->addWidget(new QLabel(QStringLiteral("dni"), zakres), 1, 2);
    z->setColumnStretch(3, 1);
    auto* o = new QVBoxLayout(ogolne);
    o->addWidget(cbZapiszWyjscie);
    o->addWidget(note(QStringLiteral("(takie jak: nazwa bazy, szerokość paneli"), ogolne));
    o->addWidget(cbEnterToTab);
    o->addWidget(cbPanelAsysta);
    o->addWidget(zakres);
    o->addStretch();
    tabPar->addTab(ogolne, QStringLiteral("&Ogólne"));

    auto* aplikacja = new QWidget;
    cmbPoczta = new QorCombo(aplikacja);
    cmbPoczta->setObjectName(QStringLiteral("cmbPoczta"));
    cmbPoczta->setRowSource(
        QStringLiteral("LIST 0;Outlook Express (Mail)|1;Inny program pocztowy|2;Outlook|3;Outlook 2010"));
    cbInstancje = checkBox("cbInstancje", QStringLiteral("Zezwól na uruchomienie wielu kopii programu"), aplikacja);
    auto* stanowisko = new QGroupBox(QStringLiteral("Stanowisko"), aplikacja);
    cmbStanowisko = new QComboBox(stanowisko);
    cmbStanowisko->setObjectName(QStringLiteral("cmbStanowisko"));
    for (int i = 0; i <= 9; ++i) cmbStanowisko->addItem(QString::number(i));
    auto* s = new QHBoxLayout(stanowisko);
    s->addWidget(new QLabel(QStringLiteral("Numer stanowiska programu (instalacji):"), stanowisko));
    s->addWidget(cmbStanowisko);
    s->addStretch();
    auto* a = new QVBoxLayout(aplikacja);
    a->addWidget(new QLabel(QStringLiteral("Uruchom pocztę elektroniczną używając:"), aplikacja));
    a->addWidget(cmbPoczta);
    a->addSpacing(8);
    a->addWidget(cbInstancje);
    a->addWidget(
        note(QStringLiteral("(zaznaczenie opcji pozwoli uruchomić równocześnie na jednym komputerze wiele okien "
                            "programu - ustawienie niezalecane)"),
             aplikacja));
    a->addWidget(stanowisko);
    a->addStretch();
    tabPar->addTab(aplikacja, QStringLiteral("&Aplikacja"));

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdZamknij = new QPushButton(QStringLiteral("Anuluj"), this);
    cmdZamknij->setObjectName(QStringLiteral("cmdZamknij"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdZamknij);
    auto* main = new QVBoxLayout(this);
    main->addWidget(tabPar);
    main->addLayout(buttons);
    setMinimumWidth(480);

    connect(cmdOk, &QPushButton::clicked, this, &dlgParProg::cmdOk_Click);
    connect(cmdZamknij, &QPushButton::clicked, this, &dlgParProg::cmdZamknij_Click);
    Form_Load();
}

void dlgParProg::Form_Load()
{
    const QString& key = app_.gRegProgramKey;
    const PrgPar d;
    try {
        cbZapiszWyjscie->setChecked(numericFlag(RegRead(key, QStringLiteral("AutoZapis"), settingText(d.AutoZapis))));
        cbInstancje->setChecked(numericFlag(RegRead(key, QStringLiteral("Instancje"), settingText(d.Instancje))));
        {
            ChangeGuard quiet{cmbPoczta};
            cmbPoczta->Refill();
            cmbPoczta->setBoundValue(RegRead(key, QStringLiteral("BezMAPI"), settingText(d.BezMAPI)));
        }
        cbEnterToTab->setChecked(app_.gPrgPar.EnterToTab);
        cbPanelAsysta->setChecked(app_.gPrgPar.PanelAsysta);
        txtDataPrzed->setValue(app_.gPrgPar.DataPrzed);
        txtDataPo->setValue(app_.gPrgPar.DataPo);
        // The number stored for the next start, which may differ from the one in use.
        cmbStanowisko->setCurrentIndex(
            cmbStanowisko->findText(RegRead(key, QStringLiteral("Stanowisko"), settingText(d.Stanowisko))));
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":Form_Load"));
    }
    ui::setDefaultPointer();
}

bool dlgParProg::Zapisz()
{
    bool wynik = false;
    try {
        ui::BusyPointer busy;
        const QString& key = app_.gRegProgramKey;
        RegSave(key, QStringLiteral("AutoZapis"), settingText(cbZapiszWyjscie->isChecked()));
        RegSave(key, QStringLiteral("Instancje"), settingText(cbInstancje->isChecked()));

        const QString poczta = cmbPoczta->boundValue().toString();
        RegParSave(app_, QStringLiteral("BezMAPI"), poczta);
        RegParSave(app_, QStringLiteral("PanelAsysta"), settingText(cbPanelAsysta->isChecked()));
        RegParSave(app_, QStringLiteral("EnterToTab"), settingText(cbEnterToTab->isChecked()));
        RegParSave(app_, QStringLiteral("DataPrzed"), settingText(txtDataPrzed->value()));
        RegParSave(app_, QStringLiteral("DataPo"), settingText(txtDataPo->value()));
        RegParSaveAll(app_);

        PrgPar& p = app_.gPrgPar;
        p.BezMAPI = int(numericValue(poczta, kLongMin, kLongMax).value_or(0));
        p.Instancje = cbInstancje->isChecked();
        p.AutoZapis = cbZapiszWyjscie->isChecked();
        p.PanelAsysta = cbPanelAsysta->isChecked();
        p.EnterToTab = cbEnterToTab->isChecked();
        p.DataPrzed = txtDataPrzed->value();
        p.DataPo = txtDataPo->value();

        if (cmbStanowisko->currentIndex() >= 0) {
            RegSave(key, QStringLiteral("Stanowisko"), cmbStanowisko->currentText());
            p.Stanowisko = cmbStanowisko->currentText().toInt();
        }
        wynik = true;
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":Zapisz"));
        return false;
    }
    if (cmbStanowisko->currentIndex() >= 0 && cmbStanowisko->currentText().toInt() != app_.gStanowisko)
        ui::msgBox(QStringLiteral("Nowy numer stanowiska będzie obowiązywał po ponownym uruchomieniu programu. Zapisz "
                                  "edytowany dokument, gdyż po zmianie stanowiska będzie niedostępny."),
                   ui::Buttons::Ok, ui::Icon::Information);
    return wynik;
}

void dlgParProg::cmdOk_Click()
{
    if (Zapisz()) accept();
}

void dlgParProg::cmdZamknij_Click()
{
    reject();
}
