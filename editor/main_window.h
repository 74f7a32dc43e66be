#pragma once
#include "core/main_frame.h"
#include <QMainWindow>
#include <functional>

class App;
class DocumentCommands;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class MainPages;
class QToolBar;

// The program's one working window ("mdiMenu"): the menu bar with its hidden popup menus, the
// toolbars and the page area. Pages (document form, register, chart, preview) are added to the
// page area by their own classes; the frame switches the commands that need a database and
// writes the settings back when it closes.
class MainWindow final : public QMainWindow, public MainFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)
public:
    explicit MainWindow(App& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    // MainFrame
    void Form_Load() override;
    bool Przylacz() override;
    void reattachSameDatabase() override;
    bool Odlacz() override;
    void dropDatabase() override;
    void MenuBaseEnable(bool enable) override;
    void ToolbarTrybOdczyt(bool enable) override;
    QWidget* frameWidget() override { return this; }

    // The working area: the entry, register and chart pages.
    MainPages* pages() const { return pages_; }
    // The popups' document commands: new, delete, copy for another program, the form's popup.
    DocumentCommands* documentCommands() const { return documentCommands_; }

    // Button `number` (from 1) of a toolbar, as the commands refer to them.
    static QAction* toolButton(QToolBar* toolbar, int number);

    // Menu bar: "&Baza", "&Edycja", "&Narzędzia", "&Pomoc".
    QMenu* mnuBaza;
    QAction* mnuBazaNowa;
    QAction* mnuBazaOtworz;
    QAction* mnuBazaWlas;
    QAction* mnuBazaDrukuj;
    QAction* mnuBazaPodglad;
    QAction* mnuBazaZamknij;
    QMenu* mnuEdycja;
    QAction* mnuEdycjaWytnij;
    QAction* mnuEdycjaKopiuj;
    QAction* mnuEdycjaWklej;
    QMenu* mnuNarzedzia;
    QAction* mnuNarzParProg;
    QAction* mnuNarzParDok;
    QAction* mnuNarzAktual;
    QMenu* mnuPomoc;
    QAction* mnuPomocSpis;
    QAction* mnuPomocIndeks;
    QAction* mnuPomocPodrecznik;
    QAction* mnuPomocInternet;
    QAction* mnuPomocPytanie;
    QAction* mnuPomocOprog;

    // Popup menus: hidden entries of the menu bar, opened with the right mouse button.
    QMenu* mnuPopKartoteka;
    QAction* mnuPopKarNowy;
    QAction* mnuPopKarPopraw;
    QAction* mnuPopKarUsun;
    QAction* mnuPopKarKopiuj;
    QAction* mnuPopKarWklej;
    QAction* mnuPopKarDrukuj;
    QAction* mnuPopKarPodglad;
    QAction* mnuPopKarWyslij;  // object name "mnuPopKarWyślij"
    QAction* mnuPopKarZapisz;
    QMenu* mnuPopDokument;
    QAction* mnuPopDokNowy;
    QAction* MnuPopDokZapisz;
    QAction* mnuPopDokWklej;
    QAction* mnuPopDokPar;
    QMenu* mnuPopKar;
    QAction* mnuPopKarZaplacono;
    QAction* mnuPopKarNieZaplacono;
    QAction* mnuPopKarDrukuj2;
    QAction* mnuPopKarWyslij2;  // object name "mnuPopKarWyślij2"
    QAction* mnuPopKarZapisz2;
    QAction* mnuKarWierszeZaznacz;
    QAction* mnuKarWierszeKopiuj;
    QAction* mnuPopKarOdswiez;
    QMenu* mnuWykres;
    QAction* mnuWykOdswiez;

    // Toolbars; each button's object name is its key.
    QToolBar* toolWprowadz;  // pages: Wprowadzanie, Kartoteka, Wykres (one pressed)
    QAction* btnWprowadzanie;
    QAction* btnKartoteka;
    QAction* btnWykres;
    // The entry page's own toolbars, reached from here for the commands that switch them.
    QToolBar* toolEdycja;  // entry page view: Dokument, Podglad (one pressed)
    QAction* btnDokument;
    QAction* btnPodglad;
    QToolBar* toolZapisz;  // document: Zapisz, Drukuj, Wyslij
    QAction* btnZapisz;
    QAction* btnDrukuj;
    QAction* btnWyslij;
    QToolBar* toolPomoc;
    QAction* btnPomoc;
    QToolBar* toolCRView;  // print preview; placed on the preview page by its owner
    QAction* btnPierwszy;
    QAction* btnPoprzedni;
    QAction* btnNastepny;
    QAction* btnOstatni;
    QAction* btnCala;
    QAction* btnSzerokosc;
    QAction* btnSkala100;

    QLabel* labBaza;
    QLabel* labNazwaBazy;

    void mnuBaza_Click();
    void mnuBazaOtworz_Click();
    void mnuBazaNowa_Click();
    void mnuPomocPytanie_Click();
    void mnuPomocOprog_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbars();
    // Connects a menu or toolbar command; what it throws is reported, never let through.
    void command(QAction* action, const char* where, const std::function<void()>& handler);
    void Form_Unload();
    // Opens another database (or a new one) through `open`, then attaches the pages again.
    void switchDatabase(const std::function<bool()>& open);

    App& app_;
    MainPages* pages_;
    DocumentCommands* documentCommands_ = nullptr;
    bool unloaded_ = false;
};
