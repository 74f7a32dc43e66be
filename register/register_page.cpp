#include "register/register_page.h"
#include "platform/twips.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

using namespace twips;

namespace {

template <class W>
W* named(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QLabel* label(QWidget* parent, const char* text, int l, int t, int w)
{
    auto* lab = new QLabel(QString::fromUtf8(text), parent);
    place(lab, l, t, w, 225);
    return lab;
}

} // namespace

RegisterPage::RegisterPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("picKartoteka");
    fraFiltr = named<QGroupBox>(this, "fraFiltr");
    fraFiltr->setTitle("Filtr");
    place(fraFiltr, 150, 30, 11160, 855);
    label(fraFiltr, "Dokument", 120, 240, 1800);
    cmbFDokument = named<QComboBox>(fraFiltr, "cmbFDokument");
    place(cmbFDokument, 120, 450, 1800, 315);
    label(fraFiltr, "Nazwa kontrahenta", 2040, 240, 2600);
    txtFNazwa = named<QLineEdit>(fraFiltr, "txtFNazwa");
    place(txtFNazwa, 2040, 450, 2600, 315);
    label(fraFiltr, "Forma płatności", 4760, 240, 1800);
    cmbFPlatfor = named<QComboBox>(fraFiltr, "cmbFPlatfor");
    place(cmbFPlatfor, 4760, 450, 1800, 315);
    label(fraFiltr, "Miesiąc.rok", 6680, 240, 1400);
    cmbFMiesiac = named<QComboBox>(fraFiltr, "cmbFMiesiac");
    place(cmbFMiesiac, 6680, 450, 1400, 315);
    cbFNiezaplacone = named<QCheckBox>(fraFiltr, "cbFNiezapłacone");
    cbFNiezaplacone->setText(QString::fromUtf8("Niezapłacone"));
    place(cbFNiezaplacone, 8240, 480, 1500, 255);
    cbFSumuj = named<QCheckBox>(fraFiltr, "cbFSumuj");
    cbFSumuj->setText("Sumuj");
    place(cbFSumuj, 9840, 480, 1100, 255);

    gridKar = named<QTableView>(this, "gridKar");
    place(gridKar, 150, 1020, 3435, 1605);
    pboxSuma = named<QWidget>(this, "pboxSuma");
    place(pboxSuma, 120, 3105, 6180, 495);
    pboxSuma->hide();
    gridSuma = named<QTableWidget>(pboxSuma, "gridSuma");
    gridSuma->horizontalHeader()->hide();
    gridSuma->verticalHeader()->hide();
    scrSuma = named<QScrollBar>(pboxSuma, "scrSuma");
    scrSuma->setOrientation(Qt::Horizontal);
    lineSuma = named<QFrame>(pboxSuma, "lineSuma");
    lineSuma->setFrameShape(QFrame::HLine);
}

void RegisterPage::resizeEvent(QResizeEvent*)
{
    picKartoteka_Resize();
}

void RegisterPage::picKartoteka_Resize()
{
    setWidth(gridKar, widthOf(this) - 2 * leftOf(gridKar) - 120);
    setHeight(gridKar, heightOf(this) - topOf(gridKar) - 220);
    setWidth(fraFiltr, widthOf(gridKar));
    setWidth(pboxSuma, widthOf(gridKar) + 30);
    if (!pboxSuma->isHidden()) {
        setHeight(gridKar, heightOf(gridKar) - heightOf(pboxSuma));
        setTop(pboxSuma, topOf(gridKar) + heightOf(gridKar));
    }
}
