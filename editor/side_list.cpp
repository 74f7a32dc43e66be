#include "editor/side_list.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "editor/dictionaries.h"
#include "editor/dictionary_model.h"
#include "editor/document_form.h"
#include "editor/drags.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/busy_pointer.h"
#include "platform/column_fit.h"
#include "platform/date_text.h"
#include "platform/twips.h"
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <mutex>
#include <optional>

using namespace slownik;

namespace {

// Row `row` of `rows` holds `texts`, whatever the case of its letters.
bool sameEntry(const DictionaryRows& rows, int row, const QStringList& texts)
{
    for (int c = 0; c < rows.columns() && c < texts.size(); ++c)
        if (rows.text(row, c).compare(texts[c], Qt::CaseInsensitive) != 0) return false;
    return true;
}

}  // namespace

// Filled by the background connection's thread, taken in the list's.
struct SideList::FreshRead {
    QString name;
    std::mutex mutex;
    std::optional<Dictionary> read;
};

SideList::SideList(App& app, DocumentForm* form)
    : QTreeView(form), app_(app), form_(form), rows_(new DictionaryModel(this))
{
    setObjectName("lstSlo");
    rows_->setFont(font());
    setModel(rows_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    header()->setResizeContentsPrecision(50);  // widths from the first rows: a long list is not measured whole
    columns_ = new ColumnFit(this, header());
    caption_ = form->placeSideList(this, {[this] { return tag_; }, [this] { lstSlo_DblClick(); }});
    connect(form, &DocumentForm::fieldFocused, this, &SideList::GotFocus);
    // The grid's current cell moved by the user: the dictionary of its column.
    connect(form->positionGrid()->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        const PositionGrid* grid = form_->positionGrid();
        if (grid->hasFocus() && !grid->followsDrag() && !BlokadaSlownika) PozycjaSlownikPokaz();
    });
    connect(this, &QTreeView::doubleClicked, this, [this] { lstSlo_DblClick(); });
}

void SideList::GotFocus(FormField field)
{
    const QDate issue = form_->issueDate();
    switch (field) {
    case FormField::Datawyst: PanelSlownikPokaz(Daty, Datawyst, QDate::currentDate()); break;
    case FormField::Datasprz:
        if (issue.isValid()) PanelSlownikPokaz(Daty, Datasprz, issue);
        break;
    case FormField::Nazkon:
    case FormField::Adrkon:
    case FormField::Nipkon: PanelSlownikPokaz(Kontrahenci); break;
    case FormField::PlatFor: PanelSlownikPokaz(FormyPlatnosci); break;
    case FormField::Platdni:
        if (issue.isValid()) PanelSlownikPokaz(Daty, Dni, issue);
        break;
    case FormField::PlatTer: PanelSlownikPokaz(Terminy); break;
    case FormField::Pozycje:
        if (!BlokadaSlownika) PozycjaSlownikPokaz();
        break;
    case FormField::Uwagi: PanelSlownikPokaz(Uwagi); break;
    case FormField::Wystawil: PanelSlownikPokaz(Wystawil); break;
    default: break;  // a field without a dictionary
    }
}

void SideList::PanelSlownikPokaz(const QString& name, const QString& field, const QDate& anchor)
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    if (name == Daty) {
        PanelDaty(field, anchor);
        return;
    }
    const QString mark = dictionaryMark(name);
    if (mark.isEmpty() || mark == tag_) return;
    fresh_.reset();  // what a save was reading again is not shown now
    // After a save, the kind shown is read again in the background and shown meanwhile.
    if (mark == rereadKind_ && name == shownName_ && readInBackground(name)) {
        tag_ = mark;
        return;
    }
    try {
        if (auto d = readDictionary(*app_.gBaseDb, name)) {
            display(std::move(*d));
            shownName_ = name;
        }
    } catch (...) {
        // The list keeps what it showed, under its kind, and the next request reads again.
    }
}

void SideList::showIfEmpty(const QString& name, const Dictionary& d)
{
    if (!tag_.isEmpty() || !app_.gBazaOtwarta) return;
    display(d);
    shownName_ = name;
}

void SideList::PanelDaty(const QString& field, const QDate& anchor)
{
    if (field == tag_) return;
    fresh_.reset();
    display(datesList(field, anchor, app_.gPrgPar.DataPrzed, app_.gPrgPar.DataPo));
    shownName_.clear();
}

void SideList::afterSave()
{
    const QString shown = tag_;
    tag_.clear();
    fresh_.reset();
    rereadKind_ = shown;
    if (auto field = form_->focusedField()) GotFocus(*field);
    if (tag_.isEmpty() && !shownName_.isEmpty()) PanelSlownikPokaz(shownName_);
    rereadKind_.clear();
    if (tag_.isEmpty() && shownName_.isEmpty()) tag_ = shown;  // the dates do not change with a save
}

bool SideList::readInBackground(const QString& name)
{
    auto fresh = std::make_shared<FreshRead>();
    fresh->name = name;
    BackgroundDatabase& watch = backgroundDatabase(app_);
    const bool queued =
        watch.read([list = QPointer<SideList>(this), fresh](db::Database& d) -> BackgroundDatabase::Delivery {
            auto read = readDictionary(d, fresh->name);
            {
                std::lock_guard lock(fresh->mutex);
                fresh->read = std::move(read);
            }
            return [list, fresh] {
                if (list && list->fresh_ == fresh) list->settle();
            };
        });
    if (!queued) return false;
    watch.start();
    fresh_ = std::move(fresh);
    return true;
}

bool SideList::settle()
{
    if (!fresh_) return true;
    const std::shared_ptr<FreshRead> fresh = std::move(fresh_);
    std::optional<Dictionary> d;
    {
        std::lock_guard lock(fresh->mutex);
        d = std::move(fresh->read);
    }
    // Not read in the background yet (or given up there): read here, as a request would.
    if (!d) {
        try {
            if (app_.gBaseDb) d = readDictionary(*app_.gBaseDb, fresh->name);
        } catch (...) {
            // As a request that fails (PanelSlownikPokaz): the rows shown stay, the next request reads again.
        }
    }
    if (!d) {
        tag_.clear();  // the rows shown lack the document stored: nothing applies them
        return false;
    }
    showFresh(fresh->name, std::move(*d));
    return true;
}

void SideList::showFresh(const QString& name, Dictionary d)
{
    // The entry picked in the rows shown so far stays picked, where the fresh rows have it.
    const QModelIndex current = currentIndex();
    QStringList picked;
    if (current.isValid() && selectionModel()->isRowSelected(current.row()))
        picked = rows_->dictionary().rows.texts(current.row());
    const int scrolled = verticalScrollBar()->value();
    display(std::move(d));
    shownName_ = name;
    const DictionaryRows& rows = rows_->dictionary().rows;
    for (int r = 0; !picked.isEmpty() && r < rows.size(); ++r) {
        if (!sameEntry(rows, r, picked)) continue;
        setCurrentIndex(rows_->index(r, 0));
        scrollTo(currentIndex());
        return;
    }
    verticalScrollBar()->setValue(scrolled);
}

void SideList::display(Dictionary d)
{
    const QString mark = d.mark, caption = d.caption;
    setUpdatesEnabled(false);
    rows_->show(std::move(d));
    // The widths are the least a column gets: a short weekday or a heading is never cut.
    const auto& columns = rows_->dictionary().columns;
    std::vector<int> widths;
    for (int c = 0; c < int(columns.size()); ++c)
        widths.push_back(
            std::max({twips::px(columns[size_t(c)].width), sizeHintForColumn(c), header()->sectionSizeHint(c)}));
    columns_->setWidths(std::move(widths));
    setUpdatesEnabled(true);
    tag_ = mark;
    setCaption(caption);
}

int SideList::rowCount()
{
    settle();
    return rows_->rowCount();
}

QString SideList::text(int row, int column)
{
    settle();
    return row >= 0 && row < rowCount() && column < rows_->dictionary().rows.columns()
               ? rows_->dictionary().rows.text(row, column)
               : QString();
}

void SideList::setCaption(const QString& text)
{
    captionText_ = text;
    caption_->setText(text);
    // The form lays the caption out over the list, as many lines as it takes.
    form_->picDokument_Resize();
}

void SideList::clearList()
{
    fresh_.reset();
    rows_->clear();
    tag_.clear();
    shownName_.clear();
    setCaption(QString());
}

void SideList::PozycjaSlownikPokaz()
{
    const int column = form_->positionGrid()->currentIndex().column();
    if (column == PositionModel::Indjed)
        PanelSlownikPokaz(Jednostki);
    else if (column == PositionModel::Indvat)
        PanelSlownikPokaz(StawkiVAT);
    else
        PanelSlownikPokaz(Produkty);
}

void SideList::lstSlo_DblClick()
{
    if (!settle()) return;
    const QModelIndex current = currentIndex();
    if (rowCount() == 0 || !current.isValid() || !selectionModel()->isRowSelected(current.row())) return;
    const int row = current.row();
    DocumentForm* f = form_;
    const QString first = text(row, 0);
    if (tag_ == Datawyst) {
        f->setIssueDate(text(row, 1));
    } else if (tag_ == Datasprz) {
        f->setSaleDate(text(row, 1));
    } else if (tag_ == FormyPlatnosci) {
        f->setPaymentForm(first);
        f->showBeginning({FormField::PlatFor});
    } else if (tag_ == Odroczenia) {
        f->setPaymentDays(first);
    } else if (tag_ == Terminy) {
        f->setPaymentTerm(first);
        f->showBeginning({FormField::PlatTer});
    } else if (tag_ == Dni) {
        f->setPaymentDays(text(row, 2) == Kotwica ? QStringLiteral("0") : text(row, 2));
    } else if (tag_ == Kontrahenci) {
        f->setSeller(
            {first, text(row, 1), text(row, 2), text(row, 3), text(row, 4), text(row, 5), text(row, 6), text(row, 7)});
        f->showBeginning({FormField::Nazkon, FormField::Adrkon, FormField::Nipkon, FormField::Nazdok, FormField::Numdok,
                          FormField::Wyddok, FormField::PlatRach});
    } else if (tag_ == Produkty) {
        produkt(row);
    } else if (tag_ == Jednostki) {
        jednostka(row);
    } else if (tag_ == StawkiVAT) {
        stawkaVat(row);
    } else if (tag_ == Uwagi) {
        f->setNotes(first);
    } else if (tag_ == Wystawiajacy) {
        f->setIssuer(first);
        f->showBeginning({FormField::Wystawil});
    }
}

void SideList::produkt(int row)
{
    DocumentForm* f = form_;
    if (!f->isInvoice()) return;  // a correction keeps the corrected invoice's products
    PositionGrid* grid = f->positionGrid();
    int r = grid->currentIndex().row();
    if (r < 0 || r >= f->positions()->rowCount()) {
        grid->mnuPopPozDodaj_Click();
        r = grid->currentIndex().row();
    }
    ui::BusyPointer busy;
    f->positions()->applyProduct(r, text(row, 0), text(row, 1), text(row, 2), text(row, 3));
}

void SideList::jednostka(int row)
{
    form_->positions()->applyUnit(form_->positionGrid()->currentIndex().row(), text(row, 0));
}

void SideList::stawkaVat(int row)
{
    ui::BusyPointer busy;
    form_->positions()->applyVat(form_->positionGrid()->currentIndex().row(), text(row, 0));
}

void SideList::mousePressEvent(QMouseEvent* e)
{
    pressedAt_ = e->position().toPoint();
    QTreeView::mousePressEvent(e);
}

void SideList::mouseMoveEvent(QMouseEvent* e)
{
    // A drag of the selected entry (of the fresh rows); the list's own rubber band and row
    // tracking stay off.
    if (dragStarts(e->buttons(), pressedAt_, e->position().toPoint())) {
        if (!settle()) return;
        const QModelIndex current = currentIndex();
        if (current.isValid() && selectionModel()->isRowSelected(current.row())) {
            runDrag(this, sideListDragData(tag_));
            return;
        }
    }
    if (e->buttons() == Qt::NoButton) QTreeView::mouseMoveEvent(e);
}
