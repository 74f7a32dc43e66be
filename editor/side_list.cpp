#include "editor/side_list.h"
#include "core/app.h"
#include "editor/dictionaries.h"
#include "editor/dictionary_model.h"
#include "editor/document_form.h"
#include "editor/drags.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/busy_pointer.h"
#include "platform/date_text.h"
#include "platform/twips.h"
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

using namespace slownik;

SideList::SideList(App& app, DocumentForm* form, QLabel* caption)
    : QTreeView(form), app_(app), form_(form), rows_(new DictionaryModel(this)), caption_(caption)
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
    for (QObject* field : std::initializer_list<QObject*>{
             form->txtDatawyst, form->txtDatasprz, form->txtNazkon, form->txtAdrkon, form->txtNipkon, form->cmbPlatFor,
             form->cmbPlatdni, form->cmbPlatTer, form->gridPoz, form->txtUwagi, form->txtWystawil})
        field->installEventFilter(this);
    // The grid's current cell moved by the user: the dictionary of its column.
    connect(form->gridPoz->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (form_->gridPoz->hasFocus() && !BlokadaSlownika) PozycjaSlownikPokaz();
    });
    connect(this, &QTreeView::doubleClicked, this, [this] { lstSlo_DblClick(); });
}

bool SideList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) GotFocus(watched);
    return QTreeView::eventFilter(watched, event);
}

void SideList::GotFocus(QObject* field)
{
    DocumentForm* f = form_;
    const QDate issue = textDate(f->txtDatawyst->text());
    if (field == f->txtDatawyst) {
        PanelSlownikPokaz(Daty, Datawyst, QDate::currentDate());
    } else if (field == f->txtDatasprz) {
        if (issue.isValid()) PanelSlownikPokaz(Daty, Datasprz, issue);
    } else if (field == f->txtNazkon || field == f->txtAdrkon || field == f->txtNipkon) {
        PanelSlownikPokaz(Kontrahenci);
    } else if (field == f->cmbPlatFor) {
        PanelSlownikPokaz(FormyPlatnosci);
    } else if (field == f->cmbPlatdni) {
        if (issue.isValid()) PanelSlownikPokaz(Daty, Dni, issue);
    } else if (field == f->cmbPlatTer) {
        PanelSlownikPokaz(Terminy);
    } else if (field == f->gridPoz) {
        if (!BlokadaSlownika) PozycjaSlownikPokaz();
    } else if (field == f->txtUwagi) {
        PanelSlownikPokaz(Uwagi);
    } else if (field == f->txtWystawil) {
        PanelSlownikPokaz(Wystawil);
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
    try {
        if (auto d = readDictionary(*app_.gBaseDb, name)) pokaz(std::move(*d));
    } catch (...) {
        // The list keeps what it showed, under its kind, and the next request reads again.
    }
}

void SideList::PanelDaty(const QString& field, const QDate& anchor)
{
    if (field == tag_) return;
    pokaz(datesList(field, anchor, app_.gPrgPar.DataPrzed, app_.gPrgPar.DataPo));
}

void SideList::pokaz(Dictionary d)
{
    const QString mark = d.mark, caption = d.caption;
    setUpdatesEnabled(false);
    rows_->show(std::move(d));
    // The widths are the least a column gets: a short weekday or a heading is never cut.
    const auto& columns = rows_->dictionary().columns;
    for (int c = 0; c < int(columns.size()); ++c)
        setColumnWidth(
            c, std::max({twips::px(columns[size_t(c)].width), sizeHintForColumn(c), header()->sectionSizeHint(c)}));
    setUpdatesEnabled(true);
    tag_ = mark;
    setCaption(caption);
}

int SideList::rowCount() const
{
    return rows_->rowCount();
}

QString SideList::text(int row, int column) const
{
    return row >= 0 && row < rowCount() && column < rows_->dictionary().rows.columns()
               ? rows_->dictionary().rows.text(row, column)
               : QString();
}

void SideList::setCaption(const QString& text)
{
    captionText_ = text;
    // The label is as wide as the list (the form sizes both alike).
    const QString shown = caption_->fontMetrics().elidedText(text, Qt::ElideRight, width());
    caption_->setText(shown);
    caption_->setToolTip(shown == text ? QString() : text);
}

void SideList::resizeEvent(QResizeEvent* e)
{
    QTreeView::resizeEvent(e);
    setCaption(captionText_);
}

void SideList::Wyczysc()
{
    rows_->clear();
    tag_.clear();
    setCaption(QString());
}

void SideList::PozycjaSlownikPokaz()
{
    const int column = form_->gridPoz->currentIndex().column();
    if (column == PositionModel::Indjed)
        PanelSlownikPokaz(Jednostki);
    else if (column == PositionModel::Indvat)
        PanelSlownikPokaz(StawkiVAT);
    else
        PanelSlownikPokaz(Produkty);
}

void SideList::lstSlo_DblClick()
{
    const QModelIndex current = currentIndex();
    if (rowCount() == 0 || !current.isValid() || !selectionModel()->isRowSelected(current.row())) return;
    const int row = current.row();
    DocumentForm* f = form_;
    const QString first = text(row, 0);
    if (tag_ == Datawyst) {
        f->txtDatawyst->setText(text(row, 1));
        f->txtDatasprz->setText(f->txtDatawyst->text());
        // As when the field is left: the number proposed for the date's period.
        f->txtDatawyst_LostFocus();
    } else if (tag_ == Datasprz) {
        f->txtDatasprz->setText(text(row, 1));
    } else if (tag_ == FormyPlatnosci) {
        f->cmbPlatFor->setEditText(first);
    } else if (tag_ == Odroczenia) {
        f->cmbPlatdni->setEditText(first);
    } else if (tag_ == Terminy) {
        f->cmbPlatTer->setEditText(first);
    } else if (tag_ == Dni) {
        f->cmbPlatdni->setEditText(text(row, 2) == Kotwica ? QStringLiteral("0") : text(row, 2));
        f->cmbPlatdni_Click();
    } else if (tag_ == Kontrahenci) {
        f->txtNazkon->setText(first);
        f->txtAdrkon->setText(text(row, 1));
        f->txtNipkon->setText(text(row, 2));
        f->cmbNazdok->setEditText(text(row, 3));
        f->txtNumdok->setText(text(row, 4));
        f->txtDatadok->setText(text(row, 5));
        f->txtWyddok->setText(text(row, 6));
        f->txtPlatRach->setText(text(row, 7));
    } else if (tag_ == Produkty) {
        produkt(row);
    } else if (tag_ == Jednostki) {
        jednostka(row);
    } else if (tag_ == StawkiVAT) {
        stawkaVat(row);
    } else if (tag_ == Uwagi) {
        f->txtUwagi->setPlainText(first);
    } else if (tag_ == Wystawiajacy) {
        f->txtWystawil->setText(first);
    }
}

void SideList::produkt(int row)
{
    DocumentForm* f = form_;
    if (!f->isInvoice()) return;  // a correction keeps the corrected invoice's products
    PositionGrid* grid = f->gridPoz;
    int r = grid->currentIndex().row();
    if (r < 0 || r >= f->dataPoz->rowCount()) {
        grid->mnuPopPozDodaj_Click();
        r = grid->currentIndex().row();
    }
    ui::BusyPointer busy;
    f->dataPoz->applyProduct(r, text(row, 0), text(row, 1), text(row, 2), text(row, 3));
}

void SideList::jednostka(int row)
{
    form_->dataPoz->applyUnit(form_->gridPoz->currentIndex().row(), text(row, 0));
}

void SideList::stawkaVat(int row)
{
    ui::BusyPointer busy;
    form_->dataPoz->applyVat(form_->gridPoz->currentIndex().row(), text(row, 0));
}

void SideList::mousePressEvent(QMouseEvent* e)
{
    pressedAt_ = e->position().toPoint();
    QTreeView::mousePressEvent(e);
}

void SideList::mouseMoveEvent(QMouseEvent* e)
{
    // A drag of the selected entry; the list's own rubber band and row tracking stay off.
    const QModelIndex current = currentIndex();
    if (dragStarts(e->buttons(), pressedAt_, e->position().toPoint()) && current.isValid() &&
        selectionModel()->isRowSelected(current.row())) {
        runDrag(this, sideListDragData(tag_));
        return;
    }
    if (e->buttons() == Qt::NoButton) QTreeView::mouseMoveEvent(e);
}
