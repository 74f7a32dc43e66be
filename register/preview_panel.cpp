#include "register/preview_panel.h"
#include "platform/twips.h"
#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QToolBar>

using namespace twips;

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("picPodglad");
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    place(Label1, 0, 0, 2505, 225);
    toolCRView = new QToolBar(this);
    toolCRView->setObjectName("toolCRView");
    toolCRView->setIconSize(QSize(16, 16));
    place(toolCRView, 0, 30, 4995, 315);
    auto add = [&](const char* key, const char* text) {
        QAction* a = toolCRView->addAction(QString::fromUtf8(text));
        a->setObjectName(key);
        return a;
    };
    add("Pierwszy", "|<");
    add("Poprzedni", "<");
    add("Nastepny", ">");
    add("Ostatni", ">|");
    toolCRView->addSeparator();
    auto* zoom = new QActionGroup(toolCRView);
    for (auto [key, text] : {std::pair{"Cala", "Cała"}, {"Szerokosc", "Szerokość"}, {"Skala100", "100%"}}) {
        QAction* a = add(key, text);
        a->setCheckable(true);
        a->setChecked(QLatin1String(key) == QLatin1String("Szerokosc"));
        zoom->addAction(a);
    }
    toolCRView->addSeparator();

    auto* viewer = new QFrame(this);
    viewer->setFrameShape(QFrame::StyledPanel);
    viewer->setBackgroundRole(QPalette::Mid);
    viewer->setAutoFillBackground(true);
    CRView = viewer;
    CRView->setObjectName("CRView");
    place(CRView, 0, 420, 5385, 2595);
    lstPardruk = new QListWidget(this);
    lstPardruk->setObjectName("lstPardruk");
    place(lstPardruk, 5520, 420, 2070, 4785);
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
