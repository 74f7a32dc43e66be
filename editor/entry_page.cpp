#include "editor/entry_page.h"
#include "core/app.h"
#include "documents/document_list.h"
#include "editor/document_form.h"
#include "editor/document_list_view.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include "register/preview_panel.h"
#include "register/services.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QTableView>
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
    lstDok = new DocumentListView(this);
    lstDok->setObjectName("lstDok");
    lstDokRows = new DocumentListModel(app_, this);
    lstDok->setModel(lstDokRows);
    place(lstDok, 120, 90, 1965, 6735);

    shape2_ = shape(this, "Shape2", 2175, 90, 5100, 615);
    toolEdycja = toolbar(this, "toolEdycja", 2295, 180, 4860, 435);
    toolEdycjaDokument = button(toolEdycja, "Dokument", " Edycja dokumentu       ");
    toolEdycjaPodglad = button(toolEdycja, "Podglad", "Podglad wydruku       ");
    auto* group = new QActionGroup(toolEdycja);
    for (QAction* a : {toolEdycjaDokument, toolEdycjaPodglad}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    toolEdycjaDokument->setChecked(true);

    shape3_ = shape(this, "Shape3", 7380, 90, 4440, 615);
    toolZapisz = toolbar(this, "toolZapisz", 7485, 180, 4230, 435);
    toolZapiszZapisz = button(toolZapisz, "Zapisz", "  Zapisz    ");
    toolZapiszDrukuj = button(toolZapisz, "Drukuj", "  Drukuj   ");
    toolZapiszWyslij = button(toolZapisz, "Wyslij", "  Wyślij      ");

    picDokument = new DocumentForm(app_, this);
    place(picDokument, 2190, 780, 9735, 7500);
    picPodglad = new PreviewPanel(app_, this);
    place(picPodglad, 2190, 780, 9735, 7500);
    picPodglad->hide();
    // The page grows with the document form, which has measured the working font.
    const twips::Scale& t = picDokument->scale();
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        t.place(w, leftOf(w), topOf(w), widthOf(w), heightOf(w));
    // The toolbars over the form stay whole too.
    setMinimumSize(std::max(picDokument->x() + picDokument->minimumWidth(), shape3_->geometry().right() + t.px(120)),
                   picDokument->y() + picDokument->minimumHeight());

    for (QAction* a : toolEdycja->actions())
        connect(a, &QAction::triggered, this, [this, a] { toolEdycja_ButtonClick(a->objectName()); });
    for (QAction* a : toolZapisz->actions())
        connect(a, &QAction::triggered, this, [this, a] { toolZapisz_ButtonClick(a->objectName()); });
    connect(picDokument, &DocumentForm::documentStarted, this, [this] {
        toolEdycjaPodglad->setEnabled(false);
        toolEdycja_ButtonClick(QStringLiteral("Dokument"));
    });
}

void EntryPage::toolEdycja_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Dokument")) {
        previewShown_ = false;
        toolEdycjaDokument->setChecked(true);
        picDokument->show();
        picPodglad->hide();
    } else if (key == QLatin1String("Podglad")) {
        previewShown_ = true;
        toolEdycjaPodglad->setChecked(true);
        picPodglad->show();
        picDokument->hide();
        ui::repaintNow();
        const QString title = lstDokText();
        const QString numer = lstDokNumer();
        turnOffDuplicate(app_, picPodglad->lstPardruk);
        ReportPrint(app_, "podglad", "FANET", "rapFANET1", title, {title, numer});
        PanelDrukuPokaz(app_, "Podglad dokumentu", picPodglad->lstPardruk);
        ui::repaintNow();
    }
}

void EntryPage::toolZapisz_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Zapisz")) {
        if (formShown()) {
            if (!app_.gBazaPar.BazaOdczyt && picDokument->ZapiszDoBufora()) emit saveRequested();
        } else {
            // The previewed document is saved as a PDF file.
            RepPrint(app_, "zapisz", "FANET", "rapFANET1", lstDokText(), 0, false, 0, 0);
        }
    } else if (key == QLatin1String("Drukuj")) {
        DokumentDrukuj(app_, lstDok);
    } else if (key == QLatin1String("Wyslij")) {
        DokumentRepPrint(app_, lstDok, "wyslij");
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
    const twips::Scale& t = picDokument->scale();
    t.setHeight(lstDok, t.heightOf(this) - t.topOf(lstDok) - 160);
    t.setWidth(picDokument, t.widthOf(this) - t.leftOf(picDokument));
    t.setHeight(picDokument, t.heightOf(this) - t.topOf(picDokument));
    picPodglad->setGeometry(picDokument->geometry());
}

QString EntryPage::lstDokText() const
{
    const QModelIndex i = lstDok->currentIndex();
    return i.isValid() ? lstDokRows->text(i.row()) : QString();
}

QString EntryPage::lstDokNumer() const
{
    const QModelIndex i = lstDok->currentIndex();
    return i.isValid() ? lstDokRows->numer(i.row()) : QString();
}
