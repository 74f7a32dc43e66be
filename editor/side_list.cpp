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
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

using namespace slownik;

namespace {

// The fields an entry wrote (by their names) show their beginning: a long name or address is
// read from its start.
void showBeginning(const QWidget* form, std::initializer_list<const char*> fields)
{
    for (const char* name : fields) {
        QWidget* w = form->findChild<QWidget*>(QLatin1String(name));
        if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setCursorPosition(0);
    }
}

}  // namespace

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
    for (const char* name : {"txtDatawyst", "txtDatasprz", "txtNazkon", "txtAdrkon", "txtNipkon", "cmbPlatFor",
                             "cmbPlatdni", "cmbPlatTer", "gridPoz", "txtUwagi", "txtWystawil"}) {
        QWidget* field = form->findChild<QWidget*>(QLatin1String(name));
        field->installEventFilter(this);
        fields_.push_back(field);
    }
    // The grid's current cell moved by the user: the dictionary of its column.
    connect(form->positionGrid()->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (form_->positionGrid()->hasFocus() && !BlokadaSlownika) PozycjaSlownikPokaz();
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
    const QDate issue = form_->issueDate();
    const QString name = field->objectName();
    if (name == u"txtDatawyst") {
        PanelSlownikPokaz(Daty, Datawyst, QDate::currentDate());
    } else if (name == u"txtDatasprz") {
        if (issue.isValid()) PanelSlownikPokaz(Daty, Datasprz, issue);
    } else if (name == u"txtNazkon" || name == u"txtAdrkon" || name == u"txtNipkon") {
        PanelSlownikPokaz(Kontrahenci);
    } else if (name == u"cmbPlatFor") {
        PanelSlownikPokaz(FormyPlatnosci);
    } else if (name == u"cmbPlatdni") {
        if (issue.isValid()) PanelSlownikPokaz(Daty, Dni, issue);
    } else if (name == u"cmbPlatTer") {
        PanelSlownikPokaz(Terminy);
    } else if (name == u"gridPoz") {
        if (!BlokadaSlownika) PozycjaSlownikPokaz();
    } else if (name == u"txtUwagi") {
        PanelSlownikPokaz(Uwagi);
    } else if (name == u"txtWystawil") {
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
        if (auto d = readDictionary(*app_.gBaseDb, name)) {
            pokaz(*d);
            shownName_ = name;
        }
    } catch (...) {
        // The list keeps what it showed, under its kind, and the next request reads again.
    }
}

void SideList::showIfEmpty(const QString& name, const Dictionary& d)
{
    if (!tag_.isEmpty() || !app_.gBazaOtwarta) return;
    pokaz(d);
    shownName_ = name;
}

void SideList::PanelDaty(const QString& field, const QDate& anchor)
{
    if (field == tag_) return;
    pokaz(datesList(field, anchor, app_.gPrgPar.DataPrzed, app_.gPrgPar.DataPo));
    shownName_.clear();
}

QObject* SideList::focusedField() const
{
    // The focus may be inside a field: a combo's line edit, a grid's cell editor.
    for (QObject* w = QApplication::focusWidget(); w; w = w->parent())
        if (std::find(fields_.begin(), fields_.end(), w) != fields_.end()) return w;
    return nullptr;
}

void SideList::PoZapisie()
{
    const QString shown = tag_;
    tag_.clear();
    if (QObject* field = focusedField()) GotFocus(field);
    if (!tag_.isEmpty()) return;
    if (!shownName_.isEmpty())
        PanelSlownikPokaz(shownName_);
    else
        tag_ = shown;  // the dates do not change with a save
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
    QTreeWidgetItem* row = currentItem();
    if (topLevelItemCount() == 0 || !row || !row->isSelected()) return;
    DocumentForm* f = form_;
    const QString text = row->text(0);
    if (tag_ == Datawyst) {
        f->setIssueDate(row->text(1));
    } else if (tag_ == Datasprz) {
        f->setSaleDate(row->text(1));
    } else if (tag_ == FormyPlatnosci) {
        f->setPaymentForm(text);
        showBeginning(f, {"cmbPlatFor"});
    } else if (tag_ == Odroczenia) {
        f->setPaymentDays(text);
    } else if (tag_ == Terminy) {
        f->setPaymentTerm(text);
        showBeginning(f, {"cmbPlatTer"});
    } else if (tag_ == Dni) {
        f->setPaymentDays(row->text(2) == Kotwica ? QStringLiteral("0") : row->text(2));
    } else if (tag_ == Kontrahenci) {
        f->setSeller(
            {text, row->text(1), row->text(2), row->text(3), row->text(4), row->text(5), row->text(6), row->text(7)});
        showBeginning(f, {"txtNazkon", "txtAdrkon", "txtNipkon", "cmbNazdok", "txtNumdok", "txtWyddok", "txtPlatRach"});
    } else if (tag_ == Produkty) {
        produkt(row);
    } else if (tag_ == Jednostki) {
        jednostka(row);
    } else if (tag_ == StawkiVAT) {
        stawkaVat(row);
    } else if (tag_ == Uwagi) {
        f->setNotes(text);
    } else if (tag_ == Wystawiajacy) {
        f->setIssuer(text);
        showBeginning(f, {"txtWystawil"});
    }
}

void SideList::produkt(const QTreeWidgetItem* row)
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
    f->positions()->applyProduct(r, row->text(0), row->text(1), row->text(2), row->text(3));
}

void SideList::jednostka(const QTreeWidgetItem* row)
{
    form_->positions()->applyUnit(form_->positionGrid()->currentIndex().row(), row->text(0));
}

void SideList::stawkaVat(const QTreeWidgetItem* row)
{
    ui::BusyPointer busy;
    form_->positions()->applyVat(form_->positionGrid()->currentIndex().row(), row->text(0));
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
