#include "core/dlg_user_haslo.h"
#include "core/app.h"
#include "core/dlg_baza_haslo.h"
#include "core/error_report.h"
#include "core/haslo.h"
#include "core/shared_procs.h"
#include "platform/busy_pointer.h"
#include "platform/database.h"
#include "platform/message_box.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

dlgUserHaslo::dlgUserHaslo(App& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("dlgUserHaslo"));
    setWindowTitle(QStringLiteral("Podaj hasło"));
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto named = [this](const char* name) {
        auto* e = new QLineEdit(Frame1);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    txtIndoso = named("txtIndoso");
    txtIndoso->setMaximumWidth(90);
    txtNazwisko = named("txtNazwisko");
    txtNazwisko->setReadOnly(true);
    txtNazwisko->setFocusPolicy(Qt::NoFocus);
    txtNazwisko->setMinimumWidth(200);
    txtHaslo = named("txtHaslo");
    txtHaslo->setEchoMode(QLineEdit::Password);
    txtHaslo->setMaximumWidth(90);
    auto* grid = new QGridLayout(Frame1);
    auto* labUser = new QLabel(QStringLiteral("Użytkownik"), Frame1);
    labUser->setBuddy(txtIndoso);
    auto* labHaslo = new QLabel(QStringLiteral("Hasło"), Frame1);
    labHaslo->setBuddy(txtHaslo);
    grid->addWidget(labUser, 0, 0);
    grid->addWidget(txtIndoso, 0, 1);
    grid->addWidget(txtNazwisko, 0, 2);
    grid->addWidget(labHaslo, 1, 0);
    grid->addWidget(txtHaslo, 1, 1);

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    cmdOk = button("cmdOk", QStringLiteral("OK"));
    cmdOk->setDefault(true);
    cmdAnuluj = button("cmdAnuluj", QStringLiteral("Anuluj"));
    cmdZmien = button("cmdZmien", QStringLiteral("Zmień"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdAnuluj);
    buttons->addWidget(cmdZmien);
    buttons->addStretch();
    auto* row = new QHBoxLayout(this);
    row->addWidget(Frame1, 1);
    row->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(txtIndoso, &QLineEdit::textChanged, this, &dlgUserHaslo::Odczyt);
    connect(cmdOk, &QPushButton::clicked, this, &dlgUserHaslo::cmdOk_Click);
    connect(cmdAnuluj, &QPushButton::clicked, this, &dlgUserHaslo::cmdAnuluj_Click);
    connect(cmdZmien, &QPushButton::clicked, this, &dlgUserHaslo::cmdZmien_Click);
}

void dlgUserHaslo::showEvent(QShowEvent* e)
{
    ui::setDefaultPointer();
    QDialog::showEvent(e);
}

void dlgUserHaslo::Odczyt()
{
    // A look-up that finds nobody must not leave the previous user's password in force.
    userFound_ = false;
    rightsLevel_.clear();
    password_.clear();
    txtNazwisko->clear();
    if (!userDatabase_) return;
    try {
        auto row = userDatabase_->queryOne(
            QStringLiteral("SELECT dboso.Imie, dboso.Nazwisko, dbupr.Poziom, dboso.Haslo "
                           "FROM dboso LEFT JOIN dbupr ON dbupr.Indoso = dboso.Indoso COLLATE PL "
                           "WHERE dboso.Aktywny <> 0 AND dboso.Indoso = ? COLLATE PL "
                           "AND (dboso.Admin <> 0 OR dbupr.Indprg = ? COLLATE PL)"),
            {txtIndoso->text(), app_.gProgramKod});
        if (!row) return;
        userFound_ = true;
        txtNazwisko->setText(RstToText(*row, QStringLiteral("Nazwisko")) + ' ' +
                             RstToText(*row, QStringLiteral("Imie")));
        rightsLevel_ = RstToText(*row, QStringLiteral("Poziom"));
        password_ = RstToText(*row, QStringLiteral("Haslo"));
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":Odczyt"));
    }
}

bool dlgUserHaslo::passwordCorrect() const
{
    return passwordMatches(kHasloKlucz, txtHaslo->text(), password_);
}

void dlgUserHaslo::odmowa(const QString& text, const QString& title)
{
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information, title);
    txtHaslo->clear();
    txtHaslo->setFocus();
}

void dlgUserHaslo::cmdOk_Click()
{
    // Nobody found (an unknown, inactive or unauthorised id) is no way in, password or not.
    if (userFound_ && (password_.isEmpty() || passwordCorrect())) {
        Tag = QStringLiteral("Ok");
        accept();
        return;
    }
    odmowa(QStringLiteral("Błędne hasło, brak dostępu."), QString());
}

void dlgUserHaslo::cmdAnuluj_Click()
{
    reject();
}

void dlgUserHaslo::reject()
{
    Tag = QStringLiteral("Anuluj");
    QDialog::reject();
}

void dlgUserHaslo::cmdZmien_Click()
{
    if (!userFound_ || (!password_.isEmpty() && !passwordCorrect())) {
        odmowa(QStringLiteral("Aby zmienić hasło należy podać aktualnie obowiązujące hasło."),
               QStringLiteral("Błędne hasło"));
        return;
    }
    Tag = QStringLiteral("Zmien");
    dlgBazaHaslo nowe(this);
    nowe.NoweHaslo(true);
    nowe.setWindowTitle(QStringLiteral("Hasło: ") + txtNazwisko->text());
    ui::execDialog(nowe);
    if (!nowe.Wynik) return;
    const QString haslo = nowe.txtHaslo->text();
    if (!ZapiszHaslo(txtIndoso->text(), haslo)) return;
    txtHaslo->setText(haslo);
    password_ = haslo.isEmpty() ? QString() : HasloKoduj(kHasloKlucz, haslo, 20);
}

bool dlgUserHaslo::ZapiszHaslo(const QString& indoso, const QString& haslo)
{
    if (!userDatabase_) return false;
    try {
        const QString stored = haslo.isEmpty() ? QString() : HasloKoduj(kHasloKlucz, haslo, 20);
        userDatabase_->execute(QStringLiteral("UPDATE dboso SET Haslo = ? WHERE Indoso = ? COLLATE PL"),
                               {EmptyToNull(stored), indoso});
        return true;
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":ZapiszHaslo"));
        return false;
    }
}
