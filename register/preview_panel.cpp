#include "register/preview_panel.h"
#include "platform/report_viewer.h"
#include "platform/twips.h"
#include "register/print_options.h"
#include "register/print_output.h"
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

using namespace twips;

namespace {

// A toolbar picture drawn from a short text, for the zoom buttons that have no standard picture.
QIcon glyph(const QString& text)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(text.size() > 1 ? 17 : 30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.drawText(pm.rect(), Qt::AlignCenter, text);
    return QIcon(pm);
}

}  // namespace

PreviewPanel::PreviewPanel(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("picPodglad");
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    place(Label1, 0, 0, 2505, 225);
    toolCRView = new QToolBar(this);
    toolCRView->setObjectName("toolCRView");
    toolCRView->setIconSize(QSize(16, 16));
    toolCRView->setToolButtonStyle(Qt::ToolButtonIconOnly);
    place(toolCRView, 0, 30, 4995, 315);
    auto add = [&](const char* key, const QIcon& icon, const char* tip) {
        QAction* a = toolCRView->addAction(icon, QString());
        a->setObjectName(QString::fromLatin1(key));
        a->setData(QString::fromLatin1(key));
        a->setToolTip(QString::fromUtf8(tip));
        connect(a, &QAction::triggered, this, [this, a] { toolCRView_ButtonClick(a->data().toString()); });
        return a;
    };
    btnPierwszy = add("Pierwszy", style()->standardIcon(QStyle::SP_MediaSkipBackward), "Pierwsza strona");
    btnPoprzedni = add("Poprzedni", style()->standardIcon(QStyle::SP_MediaSeekBackward), "Poprzednia strona");
    btnNastepny = add("Nastepny", style()->standardIcon(QStyle::SP_MediaSeekForward), "Następna strona");
    btnOstatni = add("Ostatni", style()->standardIcon(QStyle::SP_MediaSkipForward), "Ostatnia strona");
    toolCRView->addSeparator();
    auto* zoom = new QActionGroup(toolCRView);
    btnCala = add("Cala", glyph(QStringLiteral("▯")), "Cała strona");
    btnSzerokosc = add("Szerokosc", glyph(QStringLiteral("↔")), "Szerokość strony");
    btnSkala100 = add("Skala100", glyph(QStringLiteral("1:1")), "Skala 100%");
    for (QAction* a : {btnCala, btnSzerokosc, btnSkala100}) {
        a->setCheckable(true);
        zoom->addAction(a);
    }
    btnSzerokosc->setChecked(true);
    toolCRView->addSeparator();

    CRView = new report::Viewer(this);
    CRView->setObjectName("CRView");
    place(CRView, 0, 420, 5385, 2595);
    lstPardruk = new QTreeWidget(this);
    lstPardruk->setObjectName("lstPardruk");
    lstPardruk->setRootIsDecorated(false);
    // Wide enough for its column, so no option's name is cut.
    place(lstPardruk, 5520, 420, 2640, 4785);
    connect(lstPardruk, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int) { lstPardruk_ItemCheck(item); });

    printOutput(app_).podglad = this;
}

void PreviewPanel::toolCRView_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Pierwszy"))
        CRView->showFirstPage();
    else if (key == QLatin1String("Poprzedni"))
        CRView->showPreviousPage();
    else if (key == QLatin1String("Nastepny"))
        CRView->showNextPage();
    else if (key == QLatin1String("Ostatni"))
        CRView->showLastPage();
    else if (key == QLatin1String("Cala"))
        CRView->setZoom(2);
    else if (key == QLatin1String("Szerokosc"))
        CRView->setZoom(1);
    else if (key == QLatin1String("Skala100"))
        CRView->setZoom(100);
}

void PreviewPanel::PodgladZoom()
{
    CRView->setZoom(btnCala->isChecked() ? 2 : btnSzerokosc->isChecked() ? 1 : 100);
}

void PreviewPanel::lstPardruk_ItemCheck(QTreeWidgetItem* item)
{
    const int other = printOptionChanged(app_, item->text(0), item->checkState(0) == Qt::Checked);
    if (other >= 0) {
        QSignalBlocker quiet(lstPardruk);
        lstPardruk->topLevelItem(other)->setCheckState(0, Qt::Unchecked);
    }
    emit opcjaZmieniona();
}

void PreviewPanel::resizeEvent(QResizeEvent*)
{
    picPodglad_Resize();
}

void PreviewPanel::picPodglad_Resize()
{
    setLeft(lstPardruk, widthOf(this) - widthOf(lstPardruk) - 180);
    setHeight(lstPardruk, heightOf(this) - topOf(lstPardruk) - 220);
    setHeight(CRView, heightOf(lstPardruk));
    setWidth(CRView, widthOf(this) - widthOf(lstPardruk) - 350);
}
