#include "editor/entry_page.h"
#include "core/app.h"
#include "documents/document_list.h"
#include "editor/document_form.h"
#include "editor/document_list_view.h"
#include "editor/drags.h"
#include "editor/side_list.h"
#include "platform/column_fit.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include "register/preview_panel.h"
#include "register/services.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace twips;

namespace {

QFrame* shape(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::StyledPanel);
    place(f, l, t, w, h);
    return f;
}

// A toolbar of text buttons placed on the page.
QToolBar* toolbar(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    place(bar, l, t, w, h);
    return bar;
}

QAction* button(QToolBar* bar, const char* key, const char* caption)
{
    QAction* a = bar->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(key));
    a->setData(QString::fromUtf8(key));
    return a;
}

}  // namespace

EntryPage::EntryPage(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("picWprowadzanie");
    lstDok_ = new DocumentListView(this);
    lstDok_->setObjectName("lstDok");
    lstDokRows_ = new DocumentListModel(app_, this);
    lstDok_->setModel(lstDokRows_);
    place(lstDok_, 120, 90, 1965, 6735);

    shape2_ = shape(this, "Shape2", 2175, 90, 5100, 615);
    toolEdycja_ = toolbar(this, "toolEdycja", 2295, 180, 4860, 435);
    toolEdycjaDokument_ = button(toolEdycja_, "Dokument", " Edycja dokumentu       ");
    toolEdycjaPodglad_ = button(toolEdycja_, "Podglad", "Podglad wydruku       ");
    auto* group = new QActionGroup(toolEdycja_);
    for (QAction* a : {toolEdycjaDokument_, toolEdycjaPodglad_}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    toolEdycjaDokument_->setChecked(true);

    shape3_ = shape(this, "Shape3", 7380, 90, 4440, 615);
    toolZapisz_ = toolbar(this, "toolZapisz", 7485, 180, 4230, 435);
    toolZapiszZapisz_ = button(toolZapisz_, "Zapisz", "  Zapisz    ");
    toolZapiszDrukuj_ = button(toolZapisz_, "Drukuj", "  Drukuj   ");
    toolZapiszWyslij_ = button(toolZapisz_, "Wyslij", "  Wyślij      ");

    picDokument_ = new DocumentForm(app_, this);
    lstSlo_ = new SideList(app_, picDokument_);
    place(picDokument_, 2190, 780, 9735, 7500);
    picPodglad_ = new PreviewPanel(app_, this);
    place(picPodglad_, 2190, 780, 9735, 7500);
    picPodglad_->hide();
    // The page grows with the document form, which has measured the working font.
    const twips::Scale& t = picDokument_->scale();
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        t.place(w, leftOf(w), topOf(w), widthOf(w), heightOf(w));
    // The toolbars over the form stay whole too.
    setMinimumSize(std::max(picDokument_->x() + picDokument_->minimumWidth(), shape3_->geometry().right() + t.px(120)),
                   picDokument_->y() + picDokument_->minimumHeight());

    setUpList();
    connect(picPodglad_, &PreviewPanel::opcjaZmieniona, this, &EntryPage::previewOptionsChanged);
    for (QAction* a : toolEdycja_->actions())
        connect(a, &QAction::triggered, this, [this, a] { toolEdycja_ButtonClick(a->objectName()); });
    for (QAction* a : toolZapisz_->actions())
        connect(a, &QAction::triggered, this, [this, a] { toolZapisz_ButtonClick(a->objectName()); });
    connect(picDokument_, &DocumentForm::documentStarted, this, [this] {
        setPreviewAvailable(false);
        toolEdycja_ButtonClick(QStringLiteral("Dokument"));
    });
}

void EntryPage::setUpList()
{
    QTableView* lst = lstDok_;
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    lst->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A list of one-line rows, all of one height, so that years of documents cost nothing to lay out.
    lst->setShowGrid(false);
    lst->setWordWrap(false);
    lst->verticalHeader()->hide();
    lst->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lst->verticalHeader()->setDefaultSectionSize(lst->fontMetrics().height() + 4);
    lst->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lst->horizontalHeader()->setHighlightSections(false);
    const int drawn[] = {1600, 1200, 1000, 0, 2500, 2500, 1200, 1200, 1200, 1200, 1440};
    std::vector<int> widths;
    for (int c = 0; c < 11; ++c) {
        // As drawn, grown with the form, and never narrower than the column's caption.
        widths.push_back(std::max(picDokument_->scale().px(drawn[c]), lst->horizontalHeader()->sectionSizeHint(c)));
        lst->setColumnHidden(c, drawn[c] == 0);
    }
    (new ColumnFit(lst, lst->horizontalHeader()))->setWidths(std::move(widths));
    lst->viewport()->installEventFilter(this);
    connect(lst, &QTableView::clicked, this, &EntryPage::documentClicked);
}

bool EntryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != lstDok_->viewport()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        // After the list has handled the click itself.
        QTimer::singleShot(0, this, &EntryPage::documentDoubleClicked);
    } else if (event->type() == QEvent::MouseMove) {
        // A drag of the selected document, by its number, onto the form.
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() != Qt::NoButton) {
            if (const int row = selectedDocument();
                row >= 0 && dragStarts(e->buttons(), pressedAt_, e->position().toPoint()))
                runDrag(lstDok_, documentDragData(lstDokRows_->numer(row)));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        pressedAt_ = e->position().toPoint();
        emit documentPressed(e->button(), pressedAt_);
    }
    return QWidget::eventFilter(watched, event);
}

int EntryPage::selectedDocument() const
{
    const QModelIndex i = lstDok_->currentIndex();
    return i.isValid() && lstDok_->selectionModel()->isRowSelected(i.row(), {}) ? i.row() : -1;
}

void EntryPage::selectDocument(int row)
{
    const QModelIndex i = lstDokRows_->index(row, 0);
    lstDok_->setCurrentIndex(i);
    lstDok_->scrollTo(i);
}

int EntryPage::selectDocumentAt(const QPoint& at)
{
    const QModelIndex i = lstDok_->indexAt(at);
    if (i.isValid())
        lstDok_->setCurrentIndex(i.siblingAtColumn(0));
    else
        lstDok_->clearSelection();
    return i.isValid() ? i.row() : -1;
}

QPoint EntryPage::documentListToGlobal(const QPoint& at) const
{
    return lstDok_->viewport()->mapToGlobal(at);
}

void EntryPage::previewDocument(int row)
{
    picPodglad_->setUpdatesEnabled(false);
    const QString text = lstDokRows_->text(row);
    ReportPrint(app_, QStringLiteral("podglad"), QStringLiteral("FANET"), QStringLiteral("rapFANET1"), text,
                {text, lstDokRows_->numer(row)});
    picPodglad_->setUpdatesEnabled(true);
}

void EntryPage::setPreviewAvailable(bool on)
{
    previewAvailable_ = on;
    toolEdycjaPodglad_->setEnabled(on);
    emit previewAvailableChanged(on);
}

void EntryPage::setPrintAvailable(bool on)
{
    printAvailable_ = on;
    toolZapiszDrukuj_->setEnabled(on);
    toolZapiszWyslij_->setEnabled(on);
    emit printAvailableChanged(on);
}

void EntryPage::setSaveAvailable(bool on)
{
    saveAvailable_ = on;
    toolZapiszZapisz_->setEnabled(on);
}

void EntryPage::enableDocumentCommands(bool on)
{
    toolEdycjaDokument_->setEnabled(on);
    setPreviewAvailable(on);
    setSaveAvailable(on);
    setPrintAvailable(on);
}

void EntryPage::toolEdycja_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Dokument")) {
        previewShown_ = false;
        toolEdycjaDokument_->setChecked(true);
        picDokument_->show();
        picPodglad_->hide();
    } else if (key == QLatin1String("Podglad")) {
        previewShown_ = true;
        toolEdycjaPodglad_->setChecked(true);
        picPodglad_->show();
        picDokument_->hide();
        ui::repaintNow();
        const QString title = lstDokText();
        const QString numer = lstDokNumer();
        turnOffDuplicate(app_, picPodglad_->lstPardruk);
        ReportPrint(app_, "podglad", "FANET", "rapFANET1", title, {title, numer});
        PanelDrukuPokaz(app_, "Podglad dokumentu", picPodglad_->lstPardruk);
        ui::repaintNow();
    }
}

void EntryPage::toolZapisz_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Zapisz")) {
        if (formShown()) {
            if (!app_.gBazaPar.BazaOdczyt && picDokument_->ZapiszDoBufora()) emit saveRequested();
        } else {
            // The previewed document is saved as a PDF file.
            RepPrint(app_, "zapisz", "FANET", "rapFANET1", lstDokText(), 0, false, 0, 0);
        }
    } else if (key == QLatin1String("Drukuj")) {
        DokumentDrukuj(app_, listedDocument());
    } else if (key == QLatin1String("Wyslij")) {
        DokumentRepPrint(app_, {lstDokText(), lstDokNumer()}, "wyslij");
    }
}

void EntryPage::resizeEvent(QResizeEvent*)
{
    picWprowadzanie_Resize();
}

void EntryPage::picWprowadzanie_Resize()
{
    // The page spans the window's inner area below the top band; the form and the preview take
    // everything right of the list.
    const twips::Scale& t = picDokument_->scale();
    t.setHeight(lstDok_, t.heightOf(this) - t.topOf(lstDok_) - 160);
    t.setWidth(picDokument_, t.widthOf(this) - t.leftOf(picDokument_));
    t.setHeight(picDokument_, t.heightOf(this) - t.topOf(picDokument_));
    picPodglad_->setGeometry(picDokument_->geometry());
}

QString EntryPage::lstDokText() const
{
    const QModelIndex i = lstDok_->currentIndex();
    return i.isValid() ? lstDokRows_->text(i.row()) : QString();
}

QString EntryPage::lstDokNumer() const
{
    const QModelIndex i = lstDok_->currentIndex();
    return i.isValid() ? lstDokRows_->numer(i.row()) : QString();
}

std::optional<ListedDocument> EntryPage::listedDocument() const
{
    if (lstDokRows_->rowCount() == 0) return std::nullopt;
    return ListedDocument{lstDokText(), lstDokNumer()};
}
