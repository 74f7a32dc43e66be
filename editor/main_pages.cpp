#include "editor/main_pages.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "core/error_report.h"
#include "documents/buffer.h"
#include "documents/document_list.h"
#include "documents/numbering.h"
#include "editor/dictionaries.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/position_grid.h"
#include "editor/side_list.h"
#include "platform/message_box.h"
#include "platform/twips.h"
#include "register/chart_page.h"
#include "register/register_page.h"
#include "register/services.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>

using namespace twips;

MainPages::MainPages(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("mainPages");
    // The layout is measured for the classic 8-point dialog font.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    picWprowadzanie = new EntryPage(app_, this);
    dokumenty = new DocumentEditing(app_, picWprowadzanie);
    picKartoteka = new RegisterPage(app_, this);
    picKartoteka->hide();
    picWykres = new ChartPage(app_, this);
    picWykres->hide();
    // Below this the form's fields would overlap; the window cannot be made smaller.
    setMinimumSize(picWprowadzanie->minimumSize());
}

void MainPages::Form_Load()
{
    picWprowadzanie->picDokument()->Form_Load();
}

void MainPages::Przylacz()
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    auto& db = *app_.gBaseDb;
    DocumentForm* form = picWprowadzanie->picDokument();

    // The read-only lock comes first, so that no failure further on can leave an archive open
    // for changes.
    const bool ro = BaseParRead(app_, db, QStringLiteral("BazaOdczyt"), QStringLiteral("0")) == QLatin1String("1");
    app_.gBazaPar.BazaOdczyt = ro;
    picWprowadzanie->setSaveAvailable(!ro);
    emit trybOdczyt(ro);

    try {
        emit bazaNazwa(app_.gPrgPar.BazaNazwa);
        QApplication::restoreOverrideCursor();
        // The document that could not go into this database's buffer when the window let go of it
        // (a copy put in the file's place holds another one) lives only in the window: it goes
        // whole into the buffer, replacing what that holds, and the buffered one is not shown.
        const bool keepTyped = typedOnlyInForm_ == db.path();
        if (!keepTyped) rowsOnlyInForm_ = false;
        const std::optional<TypedDocument> typed = rowsOnlyInForm_ ? std::optional(form->typed()) : std::nullopt;
        form->attach();
        if (typed && form->restoreTyped(*typed)) rowsOnlyInForm_ = false;
        NumParRead(app_);
        form->applyNumbering();
        dokumenty->lista()->OdswiezListeDokumentow(QString());
        // The file is written only once these reads found it sound: a damaged one is let go
        // with its one message, and nothing more of the window is filled from it.
        if (letGo(db)) return;
        storeHeldDefaults(app_, db);
        // Nothing of the database left before may stay in the side list. The contractors are
        // read from every stored document: in the background, shown once read.
        picWprowadzanie->sideList()->clearList();
        backgroundDatabase(app_).read([list = QPointer<SideList>(picWprowadzanie->sideList())](db::Database& d) {
            auto contractors = std::make_shared<std::optional<Dictionary>>(readDictionary(d, slownik::Kontrahenci));
            return [list, contractors] {
                if (list && *contractors) list->showIfEmpty(slownik::Kontrahenci, **contractors);
            };
        });
        if (!keepTyped) {
            if (::BuforPusty(app_)) {
                if (!ro) form->NowyDokument();
                form->NaglowekDomyslny();
            } else {
                form->OdczytZBufora();
            }
            // The number belongs to the period of the issue date now shown; a stored document
            // still edited (its database attached again) keeps its own.
            if (app_.gBazaPar.NumAuto && !form->editState().poprawa()) {
                const QDate issue = form->issueDate();
                form->proposeNumber(issue.isValid() ? issue : QDate::currentDate());
            }
        }
        if (!rowsOnlyInForm_) typedOnlyInForm_.clear();  // the form shows this database's document now
        form->PozycjeSumuj();
        attachRegister(app_);
        // The window is filled: the contractors, then the whole file, are read in the background
        // from now on, also while the question below waits for an answer.
        backgroundDatabase(app_).start();
        const bool ask = BaseParRead(app_, db, QStringLiteral("DokNaglowek1"), QString()).isEmpty() && !db.isDamaged();
        if (ask &&
            ui::msgBox(
                QString::fromUtf8("Brak definicji nagłowka dokumentów. Chcesz zdefiniować nagłówki dokumentów teraz?"),
                ui::Buttons::YesNo, ui::Icon::Question, app_.title) == ui::Answer::Yes &&
            !letGo(db))
            emit mnuNarzParDok_Click();
        // The check in the background may have found the file damaged while the question waited:
        // the window let go of it then.
        if (letGo(db)) return;
        form->setRowLines(app_.gPrgPar.TabPozWiersz);
        dokumenty->lista()->lstDok_Click();
    } catch (...) {
        ErrorReport(app_, QString::fromUtf8("Przyłącz"));
        backgroundDatabase(app_).start();  // a file that failed the attach is checked all the same
    }
}

void MainPages::Odlacz()
{
    // The side list keeps what it shows: the database attached next shows its own. A document
    // that only the window holds stays on screen whole.
    picWprowadzanie->picDokument()->detach(rowsOnlyInForm_);
    detachRegister(app_);
    QApplication::restoreOverrideCursor();
}

void MainPages::reattachSameDatabase()
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    picWprowadzanie->picDokument()->attach();
    reattachRegister(app_);
}

bool MainPages::letGo(const db::Database& db) const
{
    return !app_.gBazaOtwarta || app_.gBaseDb.get() != &db || db.isDamaged();
}

void MainPages::showNoDatabase()
{
    typedOnlyInForm_.clear();
    rowsOnlyInForm_ = false;
    picWprowadzanie->lstDokRows()->clear();
    picWprowadzanie->picDokument()->clearEditState();
    picWprowadzanie->sideList()->clearList();
}

void MainPages::NaglowekDomyslny()
{
    picWprowadzanie->picDokument()->NaglowekDomyslny();
}

bool MainPages::Form_Unload()
{
    typedOnlyInForm_.clear();
    rowsOnlyInForm_ = false;
    if (app_.gBazaPar.BazaOdczyt || !app_.gBazaOtwarta || !app_.gBaseDb) return true;
    if (picWprowadzanie->picDokument()->ZapiszDoBufora(false)) return true;
    typedOnlyInForm_ = app_.gBaseDb->path();
    rowsOnlyInForm_ = app_.gBaseDb->isChanged();
    return false;
}

bool MainPages::BuforPusty()
{
    return ::BuforPusty(app_);
}

bool MainPages::BazaPusta()
{
    return ::BazaPusta(app_);
}

void MainPages::ToolbarTrybOdczyt(bool enable)
{
    picWprowadzanie->setSaveAvailable(enable);
    PositionGrid* grid = picWprowadzanie->picDokument()->positionGrid();
    for (QAction* a : {grid->mnuPopPozDodaj, grid->mnuPopPozUsun, grid->mnuPopPozWstaw}) a->setEnabled(enable);
}

void MainPages::toolWprowadz_ButtonClick(const QString& key)
{
    QWidget* show = key == QLatin1String("Wprowadzanie") ? static_cast<QWidget*>(picWprowadzanie)
                    : key == QLatin1String("Kartoteka")  ? static_cast<QWidget*>(picKartoteka)
                    : key == QLatin1String("Wykres")     ? static_cast<QWidget*>(picWykres)
                                                         : nullptr;
    if (!show) return;
    for (QWidget* page : std::initializer_list<QWidget*>{picWprowadzanie, picKartoteka, picWykres})
        page->setVisible(page == show);
}

void MainPages::resizeEvent(QResizeEvent*)
{
    Form_Resize();
}

void MainPages::Form_Resize()
{
    // Every page takes the whole area, so switching pages never shows one of another size.
    for (QWidget* page : std::initializer_list<QWidget*>{picWprowadzanie, picKartoteka, picWykres})
        page->setGeometry(rect());
}
