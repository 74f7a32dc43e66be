#include "editor/main_window.h"
#include "core/app.h"
#include "core/base_files.h"
#include "core/dlg_baza_wlas.h"
#include "core/dlg_par_prog.h"
#include "core/error_report.h"
#include "core/frm_splash.h"
#include "core/mail_services.h"
#include "core/okno.h"
#include "core/registry.h"
#include "core/start_database.h"
#include "editor/dlg_par_dok.h"
#include "editor/document_commands.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/edit_commands.h"
#include "editor/entry_page.h"
#include "editor/help_commands.h"
#include "editor/main_pages.h"
#include "editor/position_grid.h"
#include "editor/window_keys.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/repaint.h"
#include "register/chart_page.h"
#include "register/preview_panel.h"
#include "register/register_page.h"
#include "register/services.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {})
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption, bool popupOnly = false)
{
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromUtf8(name));
    m->menuAction()->setObjectName(QString::fromUtf8(name));
    if (popupOnly) m->menuAction()->setVisible(false);
    return m;
}

QToolBar* toolbar(QWidget* parent, const char* name)
{
    auto* t = new QToolBar(QString::fromUtf8(name), parent);
    t->setObjectName(QString::fromUtf8(name));
    t->setMovable(false);
    t->setFloatable(false);
    t->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    t->setIconSize(QSize(20, 20));
    return t;
}

QAction* button(QToolBar* t, const char* key, const QString& caption, QStyle::StandardPixmap icon,
                QActionGroup* group = nullptr, bool pressed = false)
{
    QAction* a = t->addAction(t->style()->standardIcon(icon), caption);
    a->setObjectName(QString::fromUtf8(key));
    a->setData(QString::fromUtf8(key));
    if (caption.isEmpty()) a->setToolTip(QString::fromUtf8(key));
    if (group) {
        a->setCheckable(true);
        a->setChecked(pressed);
        group->addAction(a);
    }
    return a;
}

}  // namespace

MainWindow::MainWindow(App& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName(QStringLiteral("mdiMenu"));
    setWindowTitle(app.title);
    pages_ = new MainPages(app, this);
    setCentralWidget(pages_);
    buildMenus();
    buildToolbars();
    connect(pages_, &MainPages::bazaNazwa, labNazwaBazy, &QLabel::setText);
    // An archive database: the commands that would change documents are switched off.
    connect(pages_, &MainPages::trybOdczyt, this, [this](bool locked) { ToolbarTrybOdczyt(!locked); });
    for (QAction* a : {btnWprowadzanie, btnKartoteka, btnWykres})
        command(a, "toolWprowadz_ButtonClick", [this, a] { pages_->toolWprowadz_ButtonClick(a->data().toString()); });
    // The document list's popup follows its selected row; the document popup's "Zapisz" saves.
    pages_->dokumenty->lista()->setPopup({mnuPopKartoteka, mnuPopKarPopraw, mnuPopKarUsun, mnuPopKarKopiuj,
                                          mnuPopKarWklej, mnuPopKarDrukuj, mnuPopKarPodglad, mnuPopKarWyslij,
                                          mnuPopKarZapisz});
    command(MnuPopDokZapisz, "MnuPopDokZapisz_Click", [this] { pages_->dokumenty->Zapisz(); });
    // "Wklej z...": a document another program put on the clipboard.
    command(mnuPopKarWklej, "mnuPopKarWklej_Click", [this] { pages_->dokumenty->lista()->mnuPopKarWklej_Click(); });
    command(mnuPopDokWklej, "mnuPopDokWklej_Click",
            [this] { pages_->dokumenty->DokumentWklej(QStringLiteral("nowy")); });
    // The settings dialogs.
    command(mnuBazaWlas, "mnuBazaWlas_Click", [this] {
        ui::setBusyPointer();
        dlgBazaWlas dialog(app_, this);
        ui::execDialog(dialog);
    });
    command(mnuNarzParProg, "mnuNarzParProg_Click", [this] {
        dlgParProg dialog(app_, this);
        ui::execDialog(dialog);
    });
    auto openDocumentParameters = [this](int tab) { showDocumentParameters(app_, pages_, this, tab); };
    for (QAction* a : {mnuNarzParDok, mnuPopDokPar})
        command(a, "mnuNarzParDok_Click", [openDocumentParameters] { openDocumentParameters(-1); });
    connect(pages_, &MainPages::mnuNarzParDok_Click, this, [openDocumentParameters] { openDocumentParameters(-1); });
    connect(pages_->picWprowadzanie->picDokument()->positionGrid(), &PositionGrid::mnuPopPozPocz_Click, this,
            [openDocumentParameters] { openDocumentParameters(dlgParDok::TabPozycje); });
    // The register's and the chart's popups.
    pages_->picKartoteka->setPopup({mnuPopKar, mnuPopKarZaplacono, mnuPopKarNieZaplacono, mnuPopKarDrukuj2,
                                    mnuPopKarWyslij2, mnuPopKarZapisz2, mnuKarWierszeZaznacz, mnuKarWierszeKopiuj,
                                    mnuPopKarOdswiez});
    pages_->picWykres->setPopup(mnuWykres, mnuWykOdswiez);
    // Printing, preview, sending and saving the document selected in the document list.
    EntryPage* entry = pages_->picWprowadzanie;
    for (QAction* a : {mnuBazaDrukuj, mnuPopKarDrukuj})
        command(a, "DokumentDrukuj", [this, entry] { DokumentDrukuj(app_, entry->listedDocument()); });
    command(mnuBazaPodglad, "mnuBazaPodglad_Click", [entry] {
        if (entry->previewAvailable()) entry->toolEdycja_ButtonClick(QStringLiteral("Podglad"));
    });
    command(mnuPopKarPodglad, "mnuPopKarPodglad_Click",
            [entry] { entry->toolEdycja_ButtonClick(QStringLiteral("Podglad")); });
    command(mnuPopKarWyslij, "mnuPopKarWyslij_Click", [this, entry] {
        DokumentRepPrint(app_, {entry->lstDokText(), entry->lstDokNumer()}, QStringLiteral("wyslij"));
    });
    command(mnuPopKarZapisz, "mnuPopKarZapisz_Click", [this, entry] {
        DokumentRepPrint(app_, {entry->lstDokText(), entry->lstDokNumer()}, QStringLiteral("zapisz"));
    });
    // The document commands of the popups, and the form's popup on its right button.
    documentCommands_ = new DocumentCommands(app_, entry, pages_->dokumenty, mnuPopDokument, mnuPopDokWklej);
    command(mnuPopKarNowy, "mnuPopKarNowy_Click", [this] { documentCommands_->mnuPopKarNowy_Click(); });
    command(mnuPopKarPopraw, "mnuPopKarPopraw_Click", [this] { pages_->dokumenty->lista()->lstDok_DblClick(); });
    command(mnuPopKarUsun, "UsunDokument", [this] { documentCommands_->UsunDokument(); });
    command(mnuPopKarKopiuj, "mnuPopKarKopiuj_Click", [this] { documentCommands_->mnuPopKarKopiuj_Click(); });
    command(mnuPopDokNowy, "mnuPopDokNowy_Click", [entry] { entry->picDokument()->NowyDokument(); });
    // The window's own keys: Enter as Tab, Ctrl+Enter saves, Ctrl+N starts a new document.
    new WindowKeys(
        app_, this, [this] { pages_->dokumenty->Zapisz(); }, [entry] { entry->picDokument()->NowyDokument(); });
    // "Drukuj" and "Podgląd wydruku" of the menu, shortcuts included, follow their toolbar buttons.
    connect(entry, &EntryPage::previewAvailableChanged, mnuBazaPodglad, &QAction::setEnabled);
    connect(entry, &EntryPage::printAvailableChanged, mnuBazaDrukuj, &QAction::setEnabled);
    // As designed: the window opens maximized unless a placement was saved; this is the size it
    // takes when the user restores it.
    resize(12555 / 15, 9700 / 15);
    setWindowState(Qt::WindowMaximized);
}

MainWindow::~MainWindow()
{
    if (app_.mainFrame == this) app_.mainFrame = nullptr;
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    mnuBaza = menu(bar, "mnuBaza", QStringLiteral("&Baza"));
    mnuBazaNowa = item(mnuBaza, "mnuBazaNowa", QStringLiteral("Nowa"));
    mnuBazaOtworz = item(mnuBaza, "mnuBazaOtworz", QStringLiteral("Otwórz"), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuBaza->addSeparator();
    mnuBazaWlas = item(mnuBaza, "mnuBazaWlas", QStringLiteral("Właściwości"));
    mnuBaza->addSeparator();
    mnuBazaDrukuj = item(mnuBaza, "mnuBazaDrukuj", QStringLiteral("Drukuj"), QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuBazaPodglad =
        item(mnuBaza, "mnuBazaPodglad", QStringLiteral("Podgląd wydruku"), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuBaza->addSeparator();
    mnuBazaZamknij = item(mnuBaza, "mnuBazaZamknij", QStringLiteral("Zamknij"));

    mnuEdycja = menu(bar, "mnuEdycja", QStringLiteral("&Edycja"));
    mnuEdycjaWytnij = item(mnuEdycja, "mnuEdycjaWytnij", QStringLiteral("Wyt&nij"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEdycjaKopiuj = item(mnuEdycja, "mnuEdycjaKopiuj", QStringLiteral("&Kopiuj"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEdycjaWklej = item(mnuEdycja, "mnuEdycjaWklej", QStringLiteral("Wkl&ej"), QKeySequence(Qt::CTRL | Qt::Key_V));

    mnuNarzedzia = menu(bar, "mnuNarzedzia", QStringLiteral("&Narzędzia"));
    mnuNarzParProg = item(mnuNarzedzia, "mnuNarzParProg", QStringLiteral("Parametry programu"));
    mnuNarzParDok = item(mnuNarzedzia, "mnuNarzParDok", QStringLiteral("Parametry dokumentów"));
    mnuNarzedzia->addSeparator();
    mnuNarzAktual = item(mnuNarzedzia, "mnuNarzAktual", QStringLiteral("Aktualizuj program"));

    mnuPomoc = menu(bar, "mnuPomoc", QStringLiteral("&Pomoc"));
    mnuPomocSpis = item(mnuPomoc, "mnuPomocSpis", QStringLiteral("&Spis treści"));
    mnuPomocIndeks = item(mnuPomoc, "mnuPomocIndeks", QStringLiteral("&Indeks"));
    mnuPomoc->addSeparator();
    mnuPomocPodrecznik = item(mnuPomoc, "mnuPomocPodrecznik", QStringLiteral("&Podręcznik użytkownika (pdf)"));
    mnuPomoc->addSeparator();
    mnuPomocInternet = item(mnuPomoc, "mnuPomocInternet", QStringLiteral("S&trona internetowa programu"));
    mnuPomocPytanie = item(mnuPomoc, "mnuPomocPytanie", QStringLiteral("Mam pytanie... (E-Mail)"));
    mnuPomoc->addSeparator();
    mnuPomocOprog = item(mnuPomoc, "mnuPomocOprog", QStringLiteral("&O programie"));

    mnuPopKartoteka = menu(bar, "mnuPopKartoteka", QStringLiteral("Kartoteka"), true);
    mnuPopKarNowy = item(mnuPopKartoteka, "mnuPopKarNowy", QStringLiteral("Nowy"));
    mnuPopKarPopraw = item(mnuPopKartoteka, "mnuPopKarPopraw", QStringLiteral("Popraw"));
    mnuPopKarUsun = item(mnuPopKartoteka, "mnuPopKarUsun", QStringLiteral("Usuń"));
    mnuPopKartoteka->addSeparator();
    mnuPopKarKopiuj = item(mnuPopKartoteka, "mnuPopKarKopiuj", QStringLiteral("Kopiuj"));
    mnuPopKarWklej = item(mnuPopKartoteka, "mnuPopKarWklej", QStringLiteral("Wklej z..."));
    mnuPopKartoteka->addSeparator();
    mnuPopKarDrukuj = item(mnuPopKartoteka, "mnuPopKarDrukuj", QStringLiteral("Drukuj"));
    mnuPopKarPodglad = item(mnuPopKartoteka, "mnuPopKarPodglad", QStringLiteral("Podgląd wydruku"));
    mnuPopKartoteka->addSeparator();
    mnuPopKarWyslij = item(mnuPopKartoteka, "mnuPopKarWyślij", QStringLiteral("Wyślij..."));
    mnuPopKarZapisz = item(mnuPopKartoteka, "mnuPopKarZapisz", QStringLiteral("Zapisz jako..."));

    mnuPopDokument = menu(bar, "mnuPopDokument", QStringLiteral("Dokument"), true);
    mnuPopDokNowy = item(mnuPopDokument, "mnuPopDokNowy", QStringLiteral("Nowy"));
    MnuPopDokZapisz = item(mnuPopDokument, "MnuPopDokZapisz", QStringLiteral("Zapisz"));
    mnuPopDokument->addSeparator();
    mnuPopDokWklej = item(mnuPopDokument, "mnuPopDokWklej", QStringLiteral("Wklej z..."));
    mnuPopDokument->addSeparator();
    mnuPopDokPar = item(mnuPopDokument, "mnuPopDokPar", QStringLiteral("Parametry..."));

    mnuPopKar = menu(bar, "mnuPopKar", QStringLiteral("Kartoteka"), true);
    mnuPopKarZaplacono = item(mnuPopKar, "mnuPopKarZaplacono", QStringLiteral("Zapłacone"));
    mnuPopKarNieZaplacono = item(mnuPopKar, "mnuPopKarNieZaplacono", QStringLiteral("Niezapłacone"));
    mnuPopKar->addSeparator();
    mnuPopKarDrukuj2 = item(mnuPopKar, "mnuPopKarDrukuj2", QStringLiteral("Drukuj"));
    mnuPopKarWyslij2 = item(mnuPopKar, "mnuPopKarWyślij2", QStringLiteral("Wyślij..."));
    mnuPopKarZapisz2 = item(mnuPopKar, "mnuPopKarZapisz2", QStringLiteral("Zapisz jako..."));
    mnuPopKar->addSeparator();
    mnuKarWierszeZaznacz = item(mnuPopKar, "mnuKarWierszeZaznacz", QStringLiteral("Zaznacz wiersze"));
    mnuKarWierszeKopiuj = item(mnuPopKar, "mnuKarWierszeKopiuj", QStringLiteral("Kopiuj wiersze"));
    mnuPopKar->addSeparator();
    mnuPopKarOdswiez = item(mnuPopKar, "mnuPopKarOdswiez", QStringLiteral("Odśwież"));

    mnuWykres = menu(bar, "mnuWykres", QStringLiteral("Wykres"), true);
    mnuWykOdswiez = item(mnuWykres, "mnuWykOdswiez", QStringLiteral("Odśwież"));

    connect(mnuBaza, &QMenu::aboutToShow, this,
            [this] { runCommand(app_, "mnuBaza_Click", [this] { mnuBaza_Click(); }); });
    command(mnuBazaOtworz, "mnuBazaOtworz_Click", [this] { mnuBazaOtworz_Click(); });
    command(mnuBazaNowa, "mnuBazaNowa_Click", [this] { mnuBazaNowa_Click(); });
    command(mnuPomocPytanie, "mnuPomocPytanie_Click", [this] { mnuPomocPytanie_Click(); });
    command(mnuPomocOprog, "mnuPomocOprog_Click", [this] { mnuPomocOprog_Click(); });
    // Closing from the menu is closing the window: the document is buffered, the settings written.
    command(mnuBazaZamknij, "mnuBazaZamknij_Click", [this] { close(); });
    command(mnuEdycjaWytnij, "mnuEdycjaWytnij_Click", [this] { mnuEdycjaWytnij_Click(focusWidget()); });
    command(mnuEdycjaKopiuj, "mnuEdycjaKopiuj_Click", [this] { mnuEdycjaKopiuj_Click(focusWidget()); });
    command(mnuEdycjaWklej, "mnuEdycjaWklej_Click", [this] { mnuEdycjaWklej_Click(focusWidget()); });
    command(mnuNarzAktual, "mnuNarzAktual_Click", [this] { mnuNarzAktual_Click(app_, windowTitle()); });
    for (QAction* a : {mnuPomocSpis, mnuPomocIndeks})
        command(a, "mnuPomocSpis_Click", [this] { mnuPomocSpis_Click(app_); });
    command(mnuPomocPodrecznik, "mnuPomocPodrecznik_Click", [this] { mnuPomocPodrecznik_Click(app_); });
    command(mnuPomocInternet, "mnuPomocInternet_Click", [this] { mnuPomocInternet_Click(app_); });
}

void MainWindow::buildToolbars()
{
    toolWprowadz = toolbar(this, "toolWprowadz");
    auto* pagesGroup = new QActionGroup(toolWprowadz);
    btnWprowadzanie = button(toolWprowadz, "Wprowadzanie", QStringLiteral("Wprowadzanie danych "),
                             QStyle::SP_FileDialogDetailedView, pagesGroup, true);
    btnKartoteka = button(toolWprowadz, "Kartoteka", QStringLiteral("Kartoteka dokumentów "),
                          QStyle::SP_FileDialogListView, pagesGroup);
    btnWykres = button(toolWprowadz, "Wykres", QStringLiteral("Wykres zakupów          "),
                       QStyle::SP_FileDialogInfoView, pagesGroup);
    addToolBar(Qt::TopToolBarArea, toolWprowadz);

    // The open database's name, between the page and the help toolbars.
    auto* band = new QToolBar(QStringLiteral("Baza"), this);
    band->setObjectName(QStringLiteral("bandBaza"));
    band->setMovable(false);
    auto* names = new QWidget(band);
    auto* v = new QVBoxLayout(names);
    v->setContentsMargins(12, 0, 12, 0);
    v->setSpacing(0);
    labBaza = new QLabel(QStringLiteral("Baza"), names);
    labBaza->setObjectName(QStringLiteral("labBaza"));
    labNazwaBazy = new QLabel(names);
    labNazwaBazy->setObjectName(QStringLiteral("labNazwaBazy"));
    labNazwaBazy->setMinimumWidth(3240 / 15);
    QFont bold = labNazwaBazy->font();
    bold.setBold(true);
    labNazwaBazy->setFont(bold);
    v->addWidget(labBaza);
    v->addWidget(labNazwaBazy);
    band->addWidget(names);
    addToolBar(Qt::TopToolBarArea, band);

    toolPomoc = toolbar(this, "toolPomoc");
    // The last toolbar of the band takes the room left: its button goes to the right edge.
    auto* room = new QWidget(toolPomoc);
    room->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolPomoc->addWidget(room);
    btnPomoc = button(toolPomoc, "Pomoc", QString(), QStyle::SP_MessageBoxQuestion);
    addToolBar(Qt::TopToolBarArea, toolPomoc);
    command(btnPomoc, "toolPomoc_ButtonClick", [this] { mnuPomocSpis_Click(app_); });

    EntryPage* entry = pages_->picWprowadzanie;
    toolEdycja = entry->toolEdycja();
    btnDokument = entry->toolEdycjaDokument();
    btnPodglad = entry->toolEdycjaPodglad();
    toolZapisz = entry->toolZapisz();
    btnZapisz = entry->toolZapiszZapisz();
    btnDrukuj = entry->toolZapiszDrukuj();
    btnWyslij = entry->toolZapiszWyslij();

    PreviewPanel* podglad = entry->picPodglad();
    toolCRView = podglad->toolCRView;
    btnPierwszy = podglad->btnPierwszy;
    btnPoprzedni = podglad->btnPoprzedni;
    btnNastepny = podglad->btnNastepny;
    btnOstatni = podglad->btnOstatni;
    btnCala = podglad->btnCala;
    btnSzerokosc = podglad->btnSzerokosc;
    btnSkala100 = podglad->btnSkala100;
}

void MainWindow::command(QAction* action, const char* where, const std::function<void()>& handler)
{
    connect(action, &QAction::triggered, this,
            [this, where, handler] { runCommand(app_, QString::fromLatin1(where), handler); });
}

QAction* MainWindow::toolButton(QToolBar* toolbar, int number)
{
    int n = 0;
    for (QAction* a : toolbar->actions()) {
        if (a->isSeparator() || a->data().toString().isEmpty()) continue;
        if (++n == number) return a;
    }
    return nullptr;
}

void MainWindow::Form_Load()
{
    pages_->Form_Load();
    splashUnload(app_);
    OknoRead(app_, *this);
    ui::repaintNow();
    show();
    ui::repaintNow();
}

bool MainWindow::Przylacz()
{
    pages_->Przylacz();
    return true;
}

void MainWindow::reattachSameDatabase()
{
    pages_->reattachSameDatabase();
}

bool MainWindow::Odlacz()
{
    // The edited header goes to this database's buffer, as on closing.
    const bool kept = !app_.gBazaOtwarta || pages_->Form_Unload();
    pages_->Odlacz();
    return kept;
}

void MainWindow::dropDatabase()
{
    pages_->Odlacz();
    MenuBaseEnable(false);
    pages_->showNoDatabase();
}

void MainWindow::ToolbarTrybOdczyt(bool enable)
{
    for (QAction* a : {mnuPopDokNowy, MnuPopDokZapisz, mnuPopKarNowy, mnuPopKarPopraw, mnuPopKarUsun, mnuPopKarZapisz,
                       mnuPopKarWklej, mnuPopDokWklej})
        a->setEnabled(enable);
    pages_->ToolbarTrybOdczyt(enable);
}

void MainWindow::MenuBaseEnable(bool enable)
{
    for (QAction* a : {mnuBazaPodglad, mnuBazaDrukuj, mnuBazaWlas, mnuNarzParDok, mnuNarzParProg, btnWprowadzanie,
                       btnKartoteka, btnWykres})
        a->setEnabled(enable);
    pages_->picWprowadzanie->enableDocumentCommands(enable);
}

void MainWindow::mnuBaza_Click()
{
    mnuBazaPodglad->setEnabled(pages_->picWprowadzanie->previewAvailable());
    mnuBazaDrukuj->setEnabled(pages_->picWprowadzanie->printAvailable());
}

void MainWindow::mnuBazaOtworz_Click()
{
    switchDatabase([this] { return BaseOpenDialog(app_, databasePasswordPrompt(app_), this); });
}

void MainWindow::mnuBazaNowa_Click()
{
    switchDatabase([this] { return BaseCreate(app_, databasePasswordPrompt(app_), this); });
}

void MainWindow::switchDatabase(const std::function<bool()>& open)
{
    // The pages let go of the database, keeping the edited header in its buffer: a successful
    // open replaces it. When the header cannot be buffered (another workstation holds the file;
    // the write's error was the one message), nothing is opened: the database and the form stay.
    const bool wasOpen = app_.gBazaOtwarta;
    // A file changed under the window takes no header into its buffer; the form keeps it, and the
    // user may well be opening that file anew: the dialog opens all the same.
    if (!Odlacz() && !(app_.gBaseDb && app_.gBaseDb->isChanged())) {
        pages_->reattachSameDatabase();
        return;
    }
    const bool changed = open();
    if (!changed && wasOpen && app_.gBazaOtwarta) {
        // Cancelled, or the chosen file was refused: the open database stays, and so does the window.
        pages_->reattachSameDatabase();
        return;
    }
    if (changed) {
        RegSave(app_.gRegProgramKey, QStringLiteral("BazaPlik"), app_.gPrgPar.BazaPlik);
        RegSave(app_.gRegProgramKey, QStringLiteral("BazaNazwa"), BaseNameFromPath(app_.gPrgPar.BazaPlik));
    }
    MenuBaseEnable(app_.gBazaOtwarta);
    if (app_.gBazaOtwarta) {
        ui::BusyPointer busy;
        Przylacz();
    } else {
        pages_->showNoDatabase();
    }
}

void MainWindow::mnuPomocPytanie_Click()
{
    PytanieWyslij(app_);
}

void MainWindow::mnuPomocOprog_Click()
{
    frmAbout about(app_, this);
    ui::execDialog(about);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    // The typed header goes into the file connected anew when the file was changed meanwhile.
    if (!pages_->Form_Unload() && app_.gBaseDb && app_.gBaseDb->isChanged() && databaseChanged(app_))
        pages_->Form_Unload();
    RegParSave(app_, QStringLiteral("BazaPlik"), app_.gPrgPar.BazaPlik);
    RegParSaveAll(app_);
    OknoSave(app_, *this);
}
