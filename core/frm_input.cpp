#include "core/frm_input.h"
#include "core/okno.h"
#include "platform/message_box.h"
#include "platform/qor_combo.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The common frame of the two boxes: fields on the left, OK and Anuluj on the right.
template <typename Dialog>
void buildButtons(Dialog* d, QVBoxLayout* fields)
{
    d->cmdOk = new QPushButton(QStringLiteral("OK"), d);
    d->cmdOk->setObjectName(QStringLiteral("cmdOk"));
    d->cmdOk->setDefault(true);
    d->cmdAnuluj = new QPushButton(QStringLiteral("Anuluj"), d);
    d->cmdAnuluj->setObjectName(QStringLiteral("cmdAnuluj"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(d->cmdOk);
    buttons->addWidget(d->cmdAnuluj);
    buttons->addStretch();
    auto* row = new QHBoxLayout(d);
    row->addLayout(fields, 1);
    row->addLayout(buttons);
    QObject::connect(d->cmdOk, &QPushButton::clicked, d, &Dialog::cmdOk_Click);
    QObject::connect(d->cmdAnuluj, &QPushButton::clicked, d, &Dialog::cmdAnuluj_Click);
}

}  // namespace

frmInput::frmInput(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInput"));
    labOpis = new QLabel(QStringLiteral("Wprowadź dane..."), this);
    labOpis->setObjectName(QStringLiteral("labOpis"));
    labOpis->setWordWrap(true);
    txtInput = new QLineEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setMinimumWidth(260);
    auto* fields = new QVBoxLayout;
    fields->addWidget(labOpis);
    fields->addStretch();
    fields->addWidget(txtInput);
    buildButtons(this, fields);
}

void frmInput::cmdOk_Click()
{
    Wynik = true;
    accept();
}
void frmInput::cmdAnuluj_Click()
{
    Wynik = false;
    reject();
}

frmInCmb::frmInCmb(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInCmb"));
    labOpis = new QLabel(QStringLiteral("Wprowadź dane..."), this);
    labOpis->setObjectName(QStringLiteral("labOpis"));
    labOpis->setWordWrap(true);
    labOpisCmb = new QLabel(this);
    labOpisCmb->setObjectName(QStringLiteral("labOpisCmb"));
    cmbInput = new QorCombo(this);
    cmbInput->setObjectName(QStringLiteral("cmbInput"));
    cmbInput->setMinimumWidth(260);
    auto* fields = new QVBoxLayout;
    fields->addWidget(labOpis);
    fields->addStretch();
    fields->addWidget(labOpisCmb);
    fields->addWidget(cmbInput);
    buildButtons(this, fields);
}

void frmInCmb::cmdOk_Click()
{
    Wynik = true;
    accept();
}
void frmInCmb::cmdAnuluj_Click()
{
    Wynik = false;
    reject();
}

QString InputText(const QString& prompt, const QString& caption, const QString& defaultText, int left, int top,
                  QWidget* parent)
{
    frmInput box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.labOpis->setText(prompt);
    box.txtInput->setText(defaultText);
    if (left >= 0 && top >= 0) {
        double tpp = TwipsPerPixel(box);
        box.move(int(left / tpp), int(top / tpp));
    }
    ui::execDialog(box);
    return box.Wynik ? box.txtInput->text() : QString();
}
