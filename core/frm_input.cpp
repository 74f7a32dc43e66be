#include "core/frm_input.h"
#include "core/okno.h"
#include "platform/message_box.h"
#include "platform/named.h"
#include "platform/qor_combo.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

InputBox::InputBox(const char* name, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::fromUtf8(name));
    labOpis = named(new QLabel(QStringLiteral("Wprowadź dane..."), this), "labOpis");
    labOpis->setWordWrap(true);
    cmdOk = named(new QPushButton(QStringLiteral("OK"), this), "cmdOk");
    cmdOk->setDefault(true);
    cmdAnuluj = named(new QPushButton(QStringLiteral("Anuluj"), this), "cmdAnuluj");
    connect(cmdOk, &QPushButton::clicked, this, &InputBox::cmdOk_Click);
    connect(cmdAnuluj, &QPushButton::clicked, this, &InputBox::cmdAnuluj_Click);
}

void InputBox::layOut(const QList<QWidget*>& fields)
{
    auto* column = new QVBoxLayout;
    column->addWidget(labOpis);
    column->addStretch();
    for (QWidget* f : fields) column->addWidget(f);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdAnuluj);
    buttons->addStretch();
    auto* row = new QHBoxLayout(this);
    row->addLayout(column, 1);
    row->addLayout(buttons);
}

void InputBox::cmdOk_Click()
{
    Wynik = true;
    accept();
}

void InputBox::cmdAnuluj_Click()
{
    Wynik = false;
    reject();
}

frmInput::frmInput(QWidget* parent) : InputBox("frmInput", parent)
{
    txtInput = named(new QLineEdit(this), "txtInput");
    txtInput->setMinimumWidth(260);
    layOut({txtInput});
}

frmInCmb::frmInCmb(QWidget* parent) : InputBox("frmInCmb", parent)
{
    labOpisCmb = named(new QLabel(this), "labOpisCmb");
    cmbInput = named(new QorCombo(this), "cmbInput");
    cmbInput->setMinimumWidth(260);
    layOut({labOpisCmb, cmbInput});
}

QString InputText(const QString& prompt, const QString& caption, const QString& defaultText, int left, int top,
                  QWidget* parent)
{
    frmInput box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.labOpis->setText(prompt);
    box.txtInput->setText(defaultText);
    // What is typed replaces the text offered; Enter takes it as it stands.
    box.txtInput->selectAll();
    box.txtInput->setFocus();
    if (left >= 0 && top >= 0) {
        double tpp = twipsPerPixel(box);
        box.move(int(left / tpp), int(top / tpp));
    }
    ui::execDialog(box);
    return box.Wynik ? box.txtInput->text() : QString();
}
