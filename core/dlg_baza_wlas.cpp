#include "core/dlg_baza_wlas.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_backup.h"
#include "core/base_connect.h"
#include "core/base_files.h"
#include "core/base_par.h"
#include "core/dlg_baza_haslo.h"
#include "core/error_report.h"
#include "core/frm_input.h"
#include "core/main_frame.h"
#include "core/okno.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "core/start_database.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/named.h"
#include "platform/qor_controls.h"
#include "platform/repaint.h"
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLabel* wrapped(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

}  // namespace

Decimal toMegabytes(qint64 bytes)
{
    // The bytes as a whole number (their units times the scale) over 2^20, to four places.
    return Decimal::mulDiv(Decimal::fromUnits(bytes), Decimal(int(Decimal::kScale)), 1048576, Decimal::kPlaces);
}

qint64 WolneMiejsce(const QString& path)
{
    // The volume of the database's own folder, which may be a network share.
    QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() ? storage.bytesAvailable() : 0;
}

dlgBazaWlas::dlgBazaWlas(App& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("dlgBazaWlas"));
    setWindowTitle(QStringLiteral("Właściwości bazy"));
    tabBazaWlas = named(new QTabWidget(this), "tabBazaWlas");
    tabBazaWlas->setUsesScrollButtons(false);

    // General: name, place, size, programs.
    auto* ogolne = new QWidget;
    txtNazwaBazy = named(new QLineEdit(ogolne), "txtNazwaBazy");
    cmdZmienNazwe = named(new QPushButton(QStringLiteral("Zmień nazwę..."), ogolne), "cmdZmienNazwe");
    cmdZmienNazwe->setToolTip(QStringLiteral("Zmień nazwę bazy danych"));
    txtSciezkaBazy = named(new QLineEdit(ogolne), "txtSciezkaBazy");
    for (QLineEdit* e : {txtNazwaBazy, txtSciezkaBazy}) e->setReadOnly(true);
    txtRozBazy = named(new QorNumber(ogolne), "txtRozBazy");
    txtRozWolne = named(new QorNumber(ogolne), "txtRozWolne");
    for (QorNumber* n : {txtRozBazy, txtRozWolne}) {
        n->setLocked(true);
        n->setMaximumWidth(120);
    }
    lstProgramy = named(new QListWidget(ogolne), "lstProgramy");
    auto* g = new QGridLayout(ogolne);
    g->addWidget(new QLabel(QStringLiteral("Nazwa bazy"), ogolne), 0, 0);
    g->addWidget(txtNazwaBazy, 0, 1, 1, 2);
    g->addWidget(cmdZmienNazwe, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Lokalizacja bazy"), ogolne), 1, 0);
    g->addWidget(txtSciezkaBazy, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Rozmiar bazy [MB]"), ogolne), 2, 0);
    g->addWidget(txtRozBazy, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Wolny obszar [MB]"), ogolne), 3, 0);
    g->addWidget(txtRozWolne, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Struktura danych dla programów"), ogolne), 4, 0, 1, 4);
    g->addWidget(lstProgramy, 5, 0, 1, 4);
    g->setColumnStretch(2, 1);
    tabBazaWlas->addTab(ogolne, QStringLiteral("&Ogólne"));

    // Security: the password and the archive lock.
    auto* zabezpieczenia = new QWidget;
    labHasloBrak =
        named(new QLabel(QStringLiteral("Baza nie jest zabezpieczona hasłem"), zabezpieczenia), "labHasloBrak");
    labHasloJest = named(new QLabel(QStringLiteral("Baza jest zabezpieczona hasłem"), zabezpieczenia), "labHasloJest");
    cmdHaslo = named(new QPushButton(QStringLiteral("Wprowadź hasło..."), zabezpieczenia), "cmdHaslo");
    cbTylkoOdczyt =
        named(new QCheckBox(QStringLiteral("Baza archiwalna - dostęp w trybie \"tylko odczyt\""), zabezpieczenia),
              "cbTylkoOdczyt");
    labUwaga = named(new QLabel(QStringLiteral("Uwaga !"), zabezpieczenia), "labUwaga");
    QFont bold = labUwaga->font();
    bold.setBold(true);
    labUwaga->setFont(bold);
    Label4 =
        named(wrapped(QStringLiteral(" W przypadku utraty hasła dostęp do bazy będzie niemożliwy!"), zabezpieczenia),
              "Label4");
    auto* wspolne =
        wrapped(QStringLiteral("Hasło i tryb \"tylko odczyt\" obowiązują we wszystkich programach grupy Wirlan, "
                               "które korzystają z tej bazy. Hasło chroni bazę także przed innymi programami, "
                               "które potrafią otwierać pliki baz danych."),
                zabezpieczenia);
    auto* z = new QGridLayout(zabezpieczenia);
    z->addWidget(labHasloBrak, 0, 0);
    z->addWidget(labHasloJest, 1, 0);
    z->addWidget(cmdHaslo, 0, 1, 2, 1, Qt::AlignVCenter);
    z->addWidget(cbTylkoOdczyt, 2, 0, 1, 2);
    z->setRowMinimumHeight(3, 8);
    z->addWidget(labUwaga, 4, 0, 1, 2);
    z->addWidget(Label4, 5, 0, 1, 2);
    z->addWidget(wspolne, 6, 0, 1, 2);
    z->setRowStretch(7, 1);
    z->setColumnStretch(0, 1);
    tabBazaWlas->addTab(zabezpieczenia, QStringLiteral("&Zabezpieczenia"));

    // Backup: this user's settings of the periodic copy, and a copy made now.
    auto* kopia = new QWidget;
    cbKopia = named(new QCheckBox(QStringLiteral("Wykonuj kopię bazy przy starcie programu co"), kopia), "cbKopia");
    txtKopiadni = named(new QLineEdit(kopia), "txtKopiadni");
    txtKopiadni->setMaximumWidth(50);
    cbKopiaPot = named(new QCheckBox(QStringLiteral("Wymagaj potwierdzenia operacji"), kopia), "cbKopiaPot");
    cbKopiadzien = named(new QCheckBox(QStringLiteral("Twórz dzienne pliki kopii"), kopia), "cbKopiadzien");
    txtKopiaFolder = named(new QorClick(kopia), "txtKopiaFolder");
    txtKopiaFolder->setButtonText(QStringLiteral("Przeglądaj..."));
    txtKopiaData = named(new QLineEdit(kopia), "txtKopiaData");
    txtKopiaData->setEnabled(false);
    cmdKopiuj = named(new QPushButton(QStringLiteral("Kopiuj bazę..."), kopia), "cmdKopiuj");
    auto* k = new QGridLayout(kopia);
    auto* co = new QHBoxLayout;
    co->addWidget(cbKopia);
    co->addWidget(txtKopiadni);
    co->addWidget(new QLabel(QStringLiteral("dni"), kopia));
    co->addStretch();
    k->addLayout(co, 0, 0, 1, 3);
    k->addWidget(cbKopiaPot, 1, 0, 1, 3);
    k->addWidget(cbKopiadzien, 2, 0, 1, 3);
    k->setRowMinimumHeight(3, 8);
    k->addWidget(new QLabel(QStringLiteral("Kopiuj bazę do folderu"), kopia), 4, 0, 1, 3);
    k->addWidget(txtKopiaFolder, 5, 0, 1, 3);
    k->addWidget(new QLabel(QStringLiteral("- nazwa pliku: Kopia bazy xxx z dnia xx-xx-xxxx.mdb"), kopia), 6, 0, 1, 3);
    k->setRowMinimumHeight(7, 8);
    k->addWidget(new QLabel(QStringLiteral("Data ostatniej kopii bazy"), kopia), 8, 0);
    k->addWidget(txtKopiaData, 8, 1);
    k->addWidget(cmdKopiuj, 8, 2);
    k->setRowStretch(9, 1);
    k->setColumnStretch(1, 1);
    tabBazaWlas->addTab(kopia, QStringLiteral("&Kopia bazy"));

    cmbOk = named(new QPushButton(QStringLiteral("OK"), this), "cmbOk");
    cmbOk->setDefault(true);
    cbAnuluj = named(new QPushButton(QStringLiteral("Anuluj"), this), "cbAnuluj");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmbOk);
    buttons->addWidget(cbAnuluj);
    auto* main = new QVBoxLayout(this);
    main->addWidget(tabBazaWlas);
    main->addLayout(buttons);
    resize(520, 380);

    connect(cmdHaslo, &QPushButton::clicked, this, &dlgBazaWlas::cmdHaslo_Click);
    connect(cmdZmienNazwe, &QPushButton::clicked, this, &dlgBazaWlas::cmdZmienNazwe_Click);
    connect(cmdKopiuj, &QPushButton::clicked, this, &dlgBazaWlas::cmdKopiuj_Click);
    connect(txtKopiaFolder, &QorClick::Click, this, &dlgBazaWlas::txtKopiaFolder_Click);
    connect(cmbOk, &QPushButton::clicked, this, &dlgBazaWlas::cmbOk_Click);
    connect(cbAnuluj, &QPushButton::clicked, this, &dlgBazaWlas::cbAnuluj_Click);
    Form_Load();
}

void dlgBazaWlas::Form_Load()
{
    const QString path = app_.gPrgPar.BazaPlik;
    QString folder, plik;
    PathSplit(path, folder, plik);
    setWindowTitle(QStringLiteral("Właściwości: ") + plik);
    RozmiarBazy();
    txtNazwaBazy->setText(plik.left(plik.size() - 4));
    txtSciezkaBazy->setText(path);
    OdczytProgramy();
    UstawieniaOdczyt();
    HasloPrzycisk();
    ui::setDefaultPointer();
}

void dlgBazaWlas::RozmiarBazy()
{
    const QString path = app_.gPrgPar.BazaPlik;
    txtRozBazy->setValue(toMegabytes(QFileInfo(path).size()));
    txtRozWolne->setValue(toMegabytes(WolneMiejsce(path)));
}

void dlgBazaWlas::OdczytProgramy()
{
    lstProgramy->clear();
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    try {
        for (const db::Row& r : app_.gBaseDb->query(QStringLiteral("SELECT * FROM dbprg")))
            lstProgramy->addItem(RstToText(r, QStringLiteral("Nazwa")) + QStringLiteral(" w. ") +
                                 RstToText(r, QStringLiteral("VerMajor")) + '.' +
                                 RstToText(r, QStringLiteral("VerMinor")));
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":OdczytProgramy"));
    }
}

void dlgBazaWlas::HasloPrzycisk()
{
    const bool brak = app_.gBazaHaslo.isEmpty();
    labHasloBrak->setVisible(brak);
    labHasloJest->setVisible(!brak);
    cmdHaslo->setText(brak ? QStringLiteral("Wprowadź hasło...") : QStringLiteral("Usuń hasło..."));
}

void dlgBazaWlas::UstawieniaOdczyt()
{
    ui::BusyPointer busy;
    try {
        const QString& key = app_.gRegProgramKey;
        auto on = [&](const QString& name, const QString& def) {
            return RegRead(key, name, def) == QLatin1String("1");
        };
        if (app_.gBazaOtwarta && app_.gBaseDb)
            cbTylkoOdczyt->setChecked(BaseParRead(app_, *app_.gBaseDb, QStringLiteral("BazaOdczyt"),
                                                  QStringLiteral("0")) == QLatin1String("1"));
        cbKopia->setChecked(on(QStringLiteral("BazaKopia"), QStringLiteral("0")));
        cbKopiaPot->setChecked(on(QStringLiteral("BazaKopiaPotwierdz"), QStringLiteral("0")));
        txtKopiadni->setText(RegRead(key, QStringLiteral("BazaKopiaCoDni"), QString()));
        cbKopiadzien->setChecked(on(QStringLiteral("BazaKopiaDzien"), QString()));
        QString folder = RegRead(key, QStringLiteral("BazaKopiaFolder"), QString());
        if (folder.isEmpty())
            folder = QDir::toNativeSeparators(QDir(app_.programFolder).filePath(QStringLiteral("Archiwum")));
        txtKopiaFolder->setText(folder);
        txtKopiaData->setText(backupDateShown(RegRead(key, QStringLiteral("BazaKopiaData"), QString())));
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":UstawieniaOdczyt"));
    }
}

void dlgBazaWlas::UstawieniaZapisz()
{
    try {
        if (app_.gBazaOtwarta && app_.gBaseDb) {
            db::Database& db = *app_.gBaseDb;
            BaseParSave(app_, db, QStringLiteral("BazaOdczyt"), settingText(cbTylkoOdczyt->isChecked()));
            // The window follows what the database really holds now.
            app_.gBazaPar.BazaOdczyt =
                BaseParRead(app_, db, QStringLiteral("BazaOdczyt"), QStringLiteral("0")) == QLatin1String("1");
            if (app_.mainFrame) app_.mainFrame->ToolbarTrybOdczyt(!app_.gBazaPar.BazaOdczyt);
        }
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":UstawieniaZapisz"));
    }
    // The program's own settings are stored even when the database refused its part.
    try {
        const QString& key = app_.gRegProgramKey;
        RegSave(key, QStringLiteral("BazaKopia"), settingText(cbKopia->isChecked()));
        RegSave(key, QStringLiteral("BazaKopiaPotwierdz"), settingText(cbKopiaPot->isChecked()));
        RegSave(key, QStringLiteral("BazaKopiaDzien"), settingText(cbKopiadzien->isChecked()));
        RegSave(key, QStringLiteral("BazaKopiaCoDni"), txtKopiadni->text());
        RegSave(key, QStringLiteral("BazaKopiaFolder"), txtKopiaFolder->text());
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":UstawieniaZapisz"));
    }
}

void dlgBazaWlas::attachDatabase()
{
    if (BaseConnect(app_, app_.gPrgPar.BazaPlik)) {
        if (app_.mainFrame) app_.mainFrame->Przylacz();
    } else if (app_.mainFrame) {
        app_.mainFrame->MenuBaseEnable(false);
    }
}

bool dlgBazaWlas::detachDatabase()
{
    if (!app_.mainFrame || app_.mainFrame->Odlacz()) return true;
    // The edited header could not go into the buffer (its error was shown): a file rewritten or
    // copied now would carry an older one. Nothing is changed; the window, which keeps the
    // header, is attached again to the database that stays open, shared again if it was taken.
    if (app_.gBaseDb) app_.gBaseDb->releaseSoleUse();
    app_.mainFrame->Przylacz();
    return false;
}

bool dlgBazaWlas::HasloZmiana()
{
    const QString where = windowTitle() + QStringLiteral(":HasloZmiana");
    QString nowe;
    if (app_.gBazaHaslo.isEmpty()) {
        ui::setBusyPointer();
        std::optional<QString> wpisane = askNewDatabasePassword(this, app_.gBazaHaslo);
        ui::setDefaultPointer();
        // Nothing typed leaves the file as it is: there is no password to set.
        if (!wpisane || wpisane->isEmpty()) return false;
        nowe = *wpisane;
    } else if (ui::msgBox(QStringLiteral("Zabezpieczenie bazy hasłem zostanie usunięte. Usunąć hasło bazy danych?"),
                          ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Zapisanie nowego hasła"),
                          ui::Answer::No) != ui::Answer::Yes) {
        return false;
    }

    ui::BusyPointer busy;
    const QString path = app_.gPrgPar.BazaPlik;
    // While another workstation has the file open the change is refused before the window lets
    // go of anything: the typed document stays as it is. From here nobody else can open it.
    if (!soleUse(app_, where)) return false;
    if (!detachDatabase()) return false;
    // The connection leaves the window's reach while a worker thread rewrites the file under the
    // new key: nothing on this thread can read through it meanwhile, and the window paints.
    std::unique_ptr<db::Database> changing = std::move(app_.gBaseDb);
    BaseDisconnect(app_);
    bool zmienione = false;
    try {
        ui::runPainting([&] { changing->changePassword(nowe); });
        app_.gBazaHaslo = nowe;
        zmienione = true;
    } catch (...) {
        ErrorReport(app_, where);
        // Only a plain file has no password: the file itself says which one is in force.
        if (db::isPlainDatabaseFile(path) == nowe.isEmpty()) {
            app_.gBazaHaslo = nowe;
            zmienione = true;
        }
    }
    changing.reset();
    // The same documents under another key: the window takes up the connection again keeping
    // what it shows, as it was before the change.
    if (BaseConnect(app_, path)) {
        if (app_.mainFrame) app_.mainFrame->reattachSameDatabase();
        backgroundDatabase(app_).start();
    } else if (app_.mainFrame) {
        app_.mainFrame->MenuBaseEnable(false);
    }
    HasloPrzycisk();
    return zmienione;
}

void dlgBazaWlas::cmdZmienNazwe_Click()
{
    try {
        const QString path = app_.gPrgPar.BazaPlik;
        QString folder, plik;
        PathSplit(path, folder, plik);
        const QString stara = plik.left(plik.size() - 4);
        const double tpp = twipsPerPixel(*this);
        QString nowa = InputText(QStringLiteral("Podaj nazwę bazy danych"), QStringLiteral("Zmiana nazwy bazy danych"),
                                 stara, int(x() * tpp) + 1500, int(y() * tpp) + 1500, this);
        if (nowa.isEmpty()) return;
        if (nowa.contains('.')) nowa = nowa.left(nowa.indexOf('.'));
        // The edited header goes into the buffer first, so that the copy carries it.
        if (!detachDatabase()) return;
        if (BaseRename(app_, path, stara, nowa)) {
            if (!BaseConnect(app_, app_.gPrgPar.BazaPlik)) {
                // The old file is still there: work goes on in it.
                app_.gPrgPar.BazaPlik = path;
                app_.gPrgPar.BazaNazwa = stara;
            }
            txtNazwaBazy->setText(BaseNameFromPath(app_.gPrgPar.BazaPlik));
            txtSciezkaBazy->setText(app_.gPrgPar.BazaPlik);
        }
        if (!app_.gBazaOtwarta) {
            attachDatabase();
        } else if (app_.mainFrame) {
            app_.mainFrame->Przylacz();
        }
    } catch (...) {
        ErrorReport(app_, QStringLiteral("cmdZmienNazwe"));
    }
}

void dlgBazaWlas::cmdKopiuj_Click()
{
    BazaKopia(app_, app_.gPrgPar.BazaPlik, true, programBackupSettings(app_));
    txtKopiaData->setText(backupDateShown(RegRead(app_.gRegProgramKey, QStringLiteral("BazaKopiaData"), QString())));
}

void dlgBazaWlas::txtKopiaFolder_Click()
{
    runCommand(app_, windowTitle() + QStringLiteral(":txtKopiaFolder_Click"), [this] {
        QString folder = txtKopiaFolder->text();
        txtKopiaFolder->setText(FolderBrowse(this, QStringLiteral("Wybierz folder"), folder));
    });
}

void dlgBazaWlas::cmbOk_Click()
{
    UstawieniaZapisz();
    accept();
}

void dlgBazaWlas::cbAnuluj_Click()
{
    reject();
}
