#include "core/dlg_baza_haslo.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

dlgBazaHaslo::dlgBazaHaslo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgBazaHaslo"));
    setWindowTitle(QStringLiteral("Nowe hasło"));
    labOpis = new QLabel(QStringLiteral("Wprowadź"), this);
    labOpis->setObjectName(QStringLiteral("labOpis"));
    txtOpis = new QLineEdit(this);
    txtOpis->setObjectName(QStringLiteral("txtOpis"));
    labHaslo = new QLabel(QStringLiteral("Potwierdź"), this);
    labHaslo->setObjectName(QStringLiteral("labHaslo"));
    txtHaslo = new QLineEdit(this);
    txtHaslo->setObjectName(QStringLiteral("txtHaslo"));
    for (QLineEdit* e : {txtOpis, txtHaslo}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(14);
        e->setMinimumWidth(220);
    }
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdAnuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    cmdAnuluj->setObjectName(QStringLiteral("cmdAnuluj"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(labOpis, 0, 0);
    grid->addWidget(txtOpis, 0, 1);
    grid->addWidget(labHaslo, 1, 0);
    grid->addWidget(txtHaslo, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdAnuluj);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 2, 1);
    setFixedSize(sizeHint());

    connect(cmdOk, &QPushButton::clicked, this, &dlgBazaHaslo::cmdOk_Click);
    connect(cmdAnuluj, &QPushButton::clicked, this, &dlgBazaHaslo::cmdAnuluj_Click);
}

void dlgBazaHaslo::NoweHaslo(bool nowe)
{
    if (nowe) {
        setWindowTitle(QStringLiteral("Wprowadź hasło bazy"));
        cmdOk->setText(QStringLiteral("Zapisz"));
        newPassword_ = true;
    } else {
        txtOpis->setMaxLength(255);
        txtOpis->setEchoMode(QLineEdit::Normal);
        txtOpis->setEnabled(false);
        setWindowTitle(QStringLiteral("Podaj hasło"));
        labOpis->setText(QStringLiteral("Baza"));
        labHaslo->setText(QStringLiteral("Haslo"));
        txtHaslo->setFocus();
    }
    ui::setDefaultPointer();
}

void dlgBazaHaslo::cmdOk_Click()
{
    if (newPassword_) {
        if (txtHaslo->text() == txtOpis->text()) {
            Wynik = true;
            accept();
            return;
        }
        ui::msgBox(QStringLiteral("Hasła wprowadzone w polach: 'Wprowadź' i 'Potwierdź' muszą być identyczne. "
                                  "Popraw hasło i spróbuj ponownie."),
                   ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Hasło"));
        txtHaslo->setFocus();
        txtHaslo->selectAll();
        return;
    }
    if (txtHaslo->text().isEmpty()) {
        ui::msgBox(QStringLiteral("Wprowadź haslo dostępu do bazy lub naciśnij Anuluj."), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Hasło bazy"));
        return;
    }
    Wynik = true;
    accept();
}

void dlgBazaHaslo::cmdAnuluj_Click()
{
    reject();
}

void dlgBazaHaslo::reject()
{
    txtHaslo->clear();
    Wynik = false;
    QDialog::reject();
}

std::optional<QString> askDatabasePassword(QWidget* parent, const QString& opis)
{
    dlgBazaHaslo dialog(parent);
    dialog.NoweHaslo(false);
    dialog.txtOpis->setText(opis);
    ui::execDialog(dialog);
    if (!dialog.Wynik) return std::nullopt;
    return dialog.txtHaslo->text();
}

std::optional<QString> askNewDatabasePassword(QWidget* parent, const QString& current)
{
    dlgBazaHaslo dialog(parent);
    dialog.NoweHaslo(true);
    dialog.txtHaslo->setText(current);
    dialog.txtOpis->setText(current);
    ui::execDialog(dialog);
    if (!dialog.Wynik) return std::nullopt;
    return dialog.txtHaslo->text();
}
