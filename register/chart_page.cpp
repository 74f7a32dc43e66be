#include "register/chart_page.h"
#include "platform/twips.h"
#include <QChartView>
#include <QComboBox>
#include <QLabel>

using namespace twips;

ChartPage::ChartPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("picWykres");
    auto* labRok = new QLabel("Rok", this);
    labRok->setObjectName("labRok");
    place(labRok, 150, 120, 600, 225);
    cmbWRok = new QComboBox(this);
    cmbWRok->setObjectName("cmbWRok");
    place(cmbWRok, 150, 345, 1200, 315);
    auto* label8 = new QLabel("Rodzaj wykresu", this);
    label8->setObjectName("Label8");
    place(label8, 1500, 120, 2000, 225);
    cmbWRodzaj = new QComboBox(this);
    cmbWRodzaj->setObjectName("cmbWRodzaj");
    place(cmbWRodzaj, 1500, 345, 3000, 315);
    MSChart = new QChartView(this);
    MSChart->setObjectName("MSChart");
    place(MSChart, 150, 885, 4995, 2235);
}

void ChartPage::resizeEvent(QResizeEvent*)
{
    picWykres_Resize();
}

void ChartPage::picWykres_Resize()
{
    setWidth(MSChart, widthOf(this) - 2 * leftOf(MSChart) - 120);
    setHeight(MSChart, heightOf(this) - topOf(MSChart) - 220);
}
