#pragma once
#include <QWidget>

class App;
namespace db {
class Database;
}
class ChartPage;
class DocumentEditing;
class EntryPage;
class RegisterPage;

// The working area of the main window below its top band: the entry, register and chart pages
// in one rectangle, one of them visible. It carries the window's life around the open database:
// load, attach (Przylacz), detach (Odlacz), the unload step and the small services the window and
// its dialogs use. The main window's frame places it, forwards its own steps to it and answers its
// signals.
class MainPages : public QWidget {
    Q_OBJECT
public:
    explicit MainPages(App& app, QWidget* parent = nullptr);

    EntryPage* picWprowadzanie;
    // The entry page's document road: the document list, loading, the save commands.
    DocumentEditing* dokumenty;
    RegisterPage* picKartoteka;
    ChartPage* picWykres;

    // The pages' part of the window's load step: today's dates, the fixed lists.
    void Form_Load();
    // Attaches the pages to the database that was just opened; errors are reported as "Przyłącz".
    void Przylacz();
    // Releases the database before it is closed or replaced.
    void Odlacz();
    // Binds the pages again to the database they were released from, which stays open (another
    // was not chosen): the window shows what it showed, the edited document included.
    void reattachSameDatabase();
    // No database is open any more: nothing is edited, the document list and the side list are
    // empty.
    void showNoDatabase();
    // The default header of a new document.
    void NaglowekDomyslny();
    // The pages' part of closing the window or letting go of the database: the header goes into
    // the buffer whatever it holds. False when it could not be written there (the file changed
    // under the window, or refused the write): the window then keeps the only copy of the whole
    // document, which the next attach of that database writes into its buffer whole.
    bool Form_Unload();
    bool BuforPusty();
    bool BazaPusta();
    // Enables or disables the entry page's data-changing commands (false for an archive database):
    // the save button and the row commands; the view switch stays.
    void ToolbarTrybOdczyt(bool enable);
    // Shows the page of the page toolbar's button: "Wprowadzanie", "Kartoteka" or "Wykres".
    void toolWprowadz_ButtonClick(const QString& key);
    void Form_Resize();

signals:
    // The name of the attached database, for the label labNazwaBazy of the top band.
    void bazaNazwa(const QString& name);
    // The user agreed to define the document headers now: open the document parameters dialog.
    void mnuNarzParDok_Click();
    // The read-only lock of the attached database (true: nothing may be changed).
    void trybOdczyt(bool locked);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // Whether the window let go of `db` (found damaged, or another database opened) meanwhile.
    bool letGo(const db::Database& db) const;

    App& app_;
    // The database whose buffer lacks the header the window shows (its write failed as the window
    // let go of it); empty when the buffer holds it. With `rowsOnlyInForm_` the file changed under
    // the window, and its buffer holds nothing of the typed document: the rows are kept on screen
    // and the whole document goes into the buffer of the file attached next under that name.
    QString typedOnlyInForm_;
    bool rowsOnlyInForm_ = false;
};
