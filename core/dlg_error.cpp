#include "core/dlg_error.h"
#include "core/app.h"
#include "core/error_messages.h"
#include "core/mail_services.h"
#include "core/program_files.h"
#include "core/registry.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/qor_controls.h"
#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// Lengths of the designed layout are in twips; 15 twips make a pixel at 96 dots per inch.
QRect tw(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}
constexpr int kClientWidth = 6810;
constexpr int kCompactHeight = 1890;
constexpr int kFullHeight = 4620;
}  // namespace

dlgError::dlgError(App& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      app_(app)
{
    setObjectName(QStringLiteral("dlgError"));
    setWindowTitle(QStringLiteral("Błąd programu"));
    setModal(true);

    auto place = [](QWidget* w, const char* name, QRect r) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(r);
        return w;
    };
    txtErrorPolski = new QPlainTextEdit(this);
    txtErrorPolski->setReadOnly(true);
    place(txtErrorPolski, "txtErrorPolski", tw(120, 120, 5175, 1650));
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    place(cmdOk, "cmdOk", tw(5415, 120, 1275, 390));
    cmdPrzerwij = new QPushButton(QStringLiteral("&Przerwij"), this);
    place(cmdPrzerwij, "cmdPrzerwij", tw(5415, 600, 1275, 390));
    cmdSzczegol = new QPushButton(QStringLiteral("&Szczegóły"), this);
    place(cmdSzczegol, "cmdSzczegol", tw(5415, 1080, 1275, 390));
    cbrejestr = new QCheckBox(QStringLiteral("Zapisuj błędy do pliku"), this);
    place(cbrejestr, "cbrejestr", tw(120, 1950, 4000, 300));
    labErrorNumber = new QLabel(QStringLiteral("Nr błędu"), this);
    place(labErrorNumber, "labErrorNumber", tw(120, 2370, 1100, 300));
    txtErrorNumber = new QLineEdit(this);
    txtErrorNumber->setReadOnly(true);
    place(txtErrorNumber, "txtErrorNumber", tw(1200, 2340, 1200, 345));
    labErrorSource = new QLabel(QStringLiteral("Źródło błędu"), this);
    place(labErrorSource, "labErrorSource", tw(2550, 2370, 1300, 300));
    txtErrorSource = new QLineEdit(this);
    txtErrorSource->setReadOnly(true);
    // As far as the buttons reach, and in smaller letters where a long source still would not fit.
    place(txtErrorSource, "txtErrorSource", tw(3840, 2340, 2850, 345));
    connect(txtErrorSource, &QLineEdit::textChanged, this, [this](const QString& source) {
        txtErrorSource->setFont(fittingFont(font(), source, textRoom(*txtErrorSource)));
    });
    txtErrorOpis = new QPlainTextEdit(this);
    txtErrorOpis->setReadOnly(true);
    place(txtErrorOpis, "txtErrorOpis", tw(120, 2790, 5175, 1710));
    cmdWyslij = new QPushButton(QStringLiteral("&Wyślij..."), this);
    place(cmdWyslij, "cmdWyslij", tw(5415, 2790, 1275, 390));

    // Below the compact window's edge: they come into view with the details.
    for (QWidget* w : std::initializer_list<QWidget*>{cbrejestr, labErrorNumber, txtErrorNumber, labErrorSource,
                                                      txtErrorSource, txtErrorOpis, cmdWyslij})
        w->hide();
    cmdOk->setDefault(true);
    cmdOk->setAutoDefault(true);
    setFixedSize(kClientWidth / 15, kCompactHeight / 15);

    connect(cmdOk, &QPushButton::clicked, this, &dlgError::cmdOk_Click);
    connect(cmdPrzerwij, &QPushButton::clicked, this, &dlgError::cmdPrzerwij_Click);
    connect(cmdSzczegol, &QPushButton::clicked, this, &dlgError::cmdSzczegol_Click);
    connect(cmdWyslij, &QPushButton::clicked, this, &dlgError::cmdWyslij_Click);
}

void dlgError::cmdOk_Click()
{
    accept();
}

void dlgError::cmdSzczegol_Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{cbrejestr, labErrorNumber, txtErrorNumber, labErrorSource,
                                                      txtErrorSource, txtErrorOpis, cmdWyslij})
        w->show();
    setFixedSize(kClientWidth / 15, kFullHeight / 15);
    cmdSzczegol->setEnabled(false);
}

void dlgError::cmdPrzerwij_Click()
{
    auto answer = ui::msgBox(QStringLiteral("Nastąpi przerwanie działania programu. Wszystkie niezapisane dane zostaną "
                                            "utracone. Kontynuować?"),
                             ui::Buttons::YesNo, ui::Icon::Question, QString(), ui::Answer::No);
    if (answer != ui::Answer::Yes) return;
    // Before ending: the log entry that tells why, then the open database is left clean
    // (an unfinished change rolled back, the file closed). No window saves anything.
    Form_Unload();
    if (app_.gBaseDb) {
        try {
            if (app_.gBaseDb->inTransaction()) app_.gBaseDb->execute(QStringLiteral("ROLLBACK"));
        } catch (...) {
            // Not reported: this is the error window ending the program, and closing the file
            // below rolls back what the statement could not.
        }
        app_.gBaseDb.reset();
        app_.gBazaOtwarta = false;
    }
    app_.terminate(1);
}

void dlgError::cmdWyslij_Click()
{
    ui::BusyPointer busy;
    QString subject = QStringLiteral("Błąd programu ") + app_.title + QStringLiteral(" v.") + app_.version;
    if (app_.gPrgPar.BezMAPI == 1) {
        QString body = QStringLiteral("(Nie kasować) :     Numer: ") + txtErrorNumber->text() +
                       QStringLiteral("   Źródło: ") + txtErrorSource->text() + QStringLiteral("   Opis1: ") +
                       txtErrorPolski->toPlainText() + QStringLiteral("   Opis2: ") + txtErrorOpis->toPlainText();
        mailLink(app_, app_.supportAddress, subject, body);
        return;
    }
    QString body = QStringLiteral("(>tutaj wpisz okoliczności wystąpienia błędu<)\r\n\r\n\r\n"
                                  "Proszę nie kasować poniższego tekstu\r\n") +
                   QString(41, QLatin1Char('-')) + QStringLiteral("\r\n") + QStringLiteral("Numer: ") +
                   txtErrorNumber->text() + QStringLiteral("\r\n") + QStringLiteral("Źródło: ") +
                   txtErrorSource->text() + QStringLiteral("\r\n") + QStringLiteral("Opis1: ") +
                   txtErrorPolski->toPlainText() + QStringLiteral("\r\n") + QStringLiteral("Opis2: ") +
                   txtErrorOpis->toPlainText() + QStringLiteral("\r\n");
    mailByMode(app_, subject, app_.supportAddress, body, QString());
}

void dlgError::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void dlgError::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    RegSave(app_.gRegProgramKey, QStringLiteral("Zapisz błędy"),
            cbrejestr->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (cbrejestr->isChecked()) WriteErrorLog();
}

QString dlgError::errorLogPath() const
{
    return writableProgramFile(app_, QStringLiteral("Error.log"));
}

void dlgError::WriteErrorLog()
{
    ErrorLogEntry e;
    e.program = app_.title + QStringLiteral(" ver. ") + app_.version;
    e.source = txtErrorSource->text();
    e.number = txtErrorNumber->text();
    e.obiekt = Obiekt;
    e.opis = txtErrorOpis->toPlainText();
    writeErrorLogEntry(errorLogPath(), e, QDateTime::currentDateTime());
}
