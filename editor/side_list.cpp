#include "editor/side_list.h"
#include "core/app.h"
#include "editor/dictionaries.h"
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
    : QTreeWidget(form), app_(app), form_(form), caption_(caption)
{
    setObjectName("lstSlo");
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    header()->setResizeContentsPrecision(50);  // widths from the first rows: a long list is not measured whole
    setColumnCount(0);
    for (QObject* field : std::initializer_list<QObject*>{
             form->txtDatawyst, form->txtDatasprz, form->txtNazkon, form->txtAdrkon, form->txtNipkon, form->cmbPlatFor,
             form->cmbPlatdni, form->cmbPlatTer, form->gridPoz, form->txtUwagi, form->txtWystawil})
        field->installEventFilter(this);
    // The grid's current cell moved by the user: the dictionary of its column.
    connect(form->gridPoz->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (form_->gridPoz->hasFocus() && !BlokadaSlownika) PozycjaSlownikPokaz();
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this] { lstSlo_DblClick(); });
}

bool SideList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) GotFocus(watched);
    return QTreeWidget::eventFilter(watched, event);
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
        if (auto d = readDictionary(*app_.gBaseDb, name)) pokaz(*d);
    } catch (...) {
        // The list keeps what it showed, under its kind, and the next request reads again.
    }
}

void SideList::showIfEmpty(const Dictionary& d)
{
    if (tag_.isEmpty() && app_.gBazaOtwarta) pokaz(d);
}

void SideList::PanelDaty(const QString& field, const QDate& anchor)
{
    if (field == tag_) return;
    pokaz(datesList(field, anchor, app_.gPrgPar.DataPrzed, app_.gPrgPar.DataPo));
}

void SideList::pokaz(const Dictionary& d)
{
    setUpdatesEnabled(false);
    clear();
    setColumnCount(int(d.columns.size()));
    QStringList headers;
    for (const DictionaryColumn& c : d.columns) headers << c.header;
    setHeaderLabels(headers);
    for (int c = 0; c < int(d.columns.size()); ++c)
        headerItem()->setTextAlignment(c, d.columns[size_t(c)].rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                                                            : Qt::AlignLeft | Qt::AlignVCenter);
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(d.rows.size()));
    for (const DictionaryRow& r : d.rows) {
        auto* it = new QTreeWidgetItem(r.texts);
        for (int c = 0; c < int(d.columns.size()); ++c)
            if (d.columns[size_t(c)].rightAligned) it->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        // A day's name and date carry its marks; its distance from the anchor stays plain.
        for (int c = 0; c < 2 && c < r.texts.size(); ++c) {
            if (r.bold) {
                QFont bold = font();
                bold.setBold(true);
                it->setFont(c, bold);
            }
            if (r.colour.isValid()) it->setForeground(c, r.colour);
        }
        items << it;
    }
    addTopLevelItems(items);
    // The widths are the least a column gets: a short weekday or a heading is never cut.
    for (int c = 0; c < int(d.columns.size()); ++c)
        setColumnWidth(
            c, std::max({twips::px(d.columns[size_t(c)].width), sizeHintForColumn(c), header()->sectionSizeHint(c)}));
    setUpdatesEnabled(true);
    tag_ = d.mark;
    setCaption(d.caption);
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
    QTreeWidget::resizeEvent(e);
    setCaption(captionText_);
}

void SideList::Wyczysc()
{
    clear();
    setColumnCount(0);
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
    QTreeWidgetItem* row = currentItem();
    if (topLevelItemCount() == 0 || !row || !row->isSelected()) return;
    DocumentForm* f = form_;
    const QString text = row->text(0);
    if (tag_ == Datawyst) {
        f->txtDatawyst->setText(row->text(1));
        f->txtDatasprz->setText(f->txtDatawyst->text());
        // As when the field is left: the number proposed for the date's period.
        f->txtDatawyst_LostFocus();
    } else if (tag_ == Datasprz) {
        f->txtDatasprz->setText(row->text(1));
    } else if (tag_ == FormyPlatnosci) {
        f->cmbPlatFor->setEditText(text);
    } else if (tag_ == Odroczenia) {
        f->cmbPlatdni->setEditText(text);
    } else if (tag_ == Terminy) {
        f->cmbPlatTer->setEditText(text);
    } else if (tag_ == Dni) {
        f->cmbPlatdni->setEditText(row->text(2) == Kotwica ? QStringLiteral("0") : row->text(2));
        f->cmbPlatdni_Click();
    } else if (tag_ == Kontrahenci) {
        f->txtNazkon->setText(text);
        f->txtAdrkon->setText(row->text(1));
        f->txtNipkon->setText(row->text(2));
        f->cmbNazdok->setEditText(row->text(3));
        f->txtNumdok->setText(row->text(4));
        f->txtDatadok->setText(row->text(5));
        f->txtWyddok->setText(row->text(6));
        f->txtPlatRach->setText(row->text(7));
    } else if (tag_ == Produkty) {
        produkt(row);
    } else if (tag_ == Jednostki) {
        jednostka(row);
    } else if (tag_ == StawkiVAT) {
        stawkaVat(row);
    } else if (tag_ == Uwagi) {
        f->txtUwagi->setPlainText(text);
    } else if (tag_ == Wystawiajacy) {
        f->txtWystawil->setText(text);
    }
}

void SideList::produkt(const QTreeWidgetItem* row)
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
    f->dataPoz->applyProduct(r, row->text(0), row->text(1), row->text(2), row->text(3));
}

void SideList::jednostka(const QTreeWidgetItem* row)
{
    form_->dataPoz->applyUnit(form_->gridPoz->currentIndex().row(), row->text(0));
}

void SideList::stawkaVat(const QTreeWidgetItem* row)
{
    ui::BusyPointer busy;
    form_->dataPoz->applyVat(form_->gridPoz->currentIndex().row(), row->text(0));
}

void SideList::mousePressEvent(QMouseEvent* e)
{
    pressedAt_ = e->position().toPoint();
    QTreeWidget::mousePressEvent(e);
}

void SideList::mouseMoveEvent(QMouseEvent* e)
{
    // A drag of the selected entry; the list's own rubber band and row tracking stay off.
    if (dragStarts(e->buttons(), pressedAt_, e->position().toPoint()) && currentItem() && currentItem()->isSelected()) {
        runDrag(this, sideListDragData(tag_));
        return;
    }
    if (e->buttons() == Qt::NoButton) QTreeWidget::mouseMoveEvent(e);
}
