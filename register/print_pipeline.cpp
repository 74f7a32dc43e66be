#include "register/print_pipeline.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/frm_input.h"
#include "core/mail_services.h"
#include "core/program_files.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "platform/app_error.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/qor_combo.h"
#include "platform/repaint.h"
#include "platform/report_render.h"
#include "platform/report_viewer.h"
#include "register/invoice_report.h"
#include "register/preview_panel.h"
#include "register/print_output.h"
#include "register/print_state.h"
#include "register/rap_fanet1.h"
#include "register/report_mail.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>

namespace {

void cannotWrite(const QString& path)
{
    ui::setDefaultPointer();
    ui::msgBox(QStringLiteral("Nie można zapisać pliku: ") + QDir::toNativeSeparators(path) +
                   QStringLiteral(". Sprawdź, czy folder istnieje i czy plik nie jest otwarty w innym programie."),
               ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Błąd zapisu pliku"));
}

// "zapisz": the user names the file; a file of that name is replaced only after a question.
bool zapisz(App& app, const report::Report& raport)
{
    PrintState& st = printState(app);
    QString folder = RegParRead(app, QStringLiteral("ZapiszDo"), QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Zapisz dokument do pliku"), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({QStringLiteral("Pliki PDF (*.pdf)"), QStringLiteral("Wszystkie pliki (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(documentFileName(st.gRepPar[0]));
    ui::setDefaultPointer();
    if (ui::execDialog(dialog) != QDialog::Accepted) return true;
    const QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty() || QFileInfo(path).isDir()) return true;
    if (QFileInfo::exists(path) &&
        ui::msgBox(QStringLiteral("Plik ") + QDir::toNativeSeparators(path) +
                       QStringLiteral(" już istnieje. Czy chcesz go zastąpić?"),
                   ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Zapisz dokument do pliku"),
                   ui::Answer::No) != ui::Answer::Yes)
        return true;
    ui::BusyPointer busy;
    if (!report::exportPdf(raport, path)) {
        cannotWrite(path);
        return false;
    }
    QString saved, file;
    PathSplit(path, saved, file);
    RegParSave(app, QStringLiteral("ZapiszDo"), saved);
    return true;
}

// "wyslij": as an HTML message from the e-mail template, or as a PDF attachment.
bool wyslij(App& app, const report::Report& raport, const QString& kind, const QString& templ, const QString& title)
{
    PrintState& st = printState(app);
    frmInCmb dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Wysyłanie dokumentu: ") + st.gRepPar[0]);
    dialog.labOpis->setText(QStringLiteral("Wyślij pocztą elektroniczną..."));
    dialog.labOpisCmb->setText(QStringLiteral("Rodzaj dokumentu"));
    dialog.cmbInput->setRowSource(
        QStringLiteral("LIST html;Dokument html - faktura w treści dokumentu|pdf;Plik PDF - faktura "
                       "jako załącznik w pliku PDF"));
    dialog.cmbInput->Refill();
    ui::setDefaultPointer();
    ui::execDialog(dialog);
    if (!dialog.Wynik) return true;
    if (dialog.cmbInput->boundValue().toString() == QLatin1String("html")) {
        ui::repaintNow();
        const QString message = ReportMail(app, kind, templ);
        return message.isEmpty() || messageOpen(app, message);
    }
    ui::BusyPointer busy;
    ui::repaintNow();
    // The attachment is written among the user's data, never beside the program, in a folder of
    // its own: the name the recipient sees stays "dokument.pdf".
    const QString folder = sendingFolder();
    const QString path =
        QDir(folder.isEmpty() ? userDataFile(QString()) : folder).filePath(QStringLiteral("dokument.pdf"));
    if (folder.isEmpty() || !report::exportPdf(raport, path)) {
        cannotWrite(path);
        return false;
    }
    ui::repaintNow();
    return mailByMode(app, title, QString(), QString(), path);
}

void drukuj(App& app, const report::Report& raport, const report::PrintJob& job)
{
    PrintOutput& out = printOutput(app);
    if (out.printRecorder) {
        out.printRecorder(raport, job);
        return;
    }
    bool ok;
    if (out.session) {
        ok = out.session->print(raport, job);
    } else {
        if (!out.printer) out.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        report::PrintSession session(*out.printer);
        ok = session.print(raport, job);
    }
    if (!ok)
        throw AppError(err::kPrinterError, QStringLiteral("RepPrint"),
                       QStringLiteral("Błąd drukarki: nie można rozpocząć wydruku."));
}

void showInPreview(App& app, std::shared_ptr<report::Report> raport)
{
    PreviewPanel* panel = printOutput(app).podglad;
    if (!panel) return;
    panel->CRView->setReportSource(std::move(raport));
    panel->CRView->viewReport();
}

}  // namespace

QString documentFileName(const QString& label)
{
    QString name = label;
    for (QChar c : QStringLiteral("/\\:*?\"<>|")) name.replace(c, QLatin1Char('-'));
    return name + QStringLiteral(".pdf");
}

void ReportPrint(App& app, const QString& action, const QString& kind, const QString& templ, const QString& title,
                 const QStringList& values)
{
    try {
        ui::setBusyPointer();
        PrintState& st = printState(app);
        for (size_t i = 0; i < st.gRepPar.size(); ++i) st.gRepPar[i] = values.value(qsizetype(i));
        RepPrint(app, action, kind, templ, title, 1, false, 0, 0);
    } catch (...) {
        ErrorReport(app, QStringLiteral("ReportPrint"));
    }
}

std::shared_ptr<report::Report> documentReport(App& app, const QString& kind, const QString& templ, QString& title)
{
    QStringList naglowki;
    const ReportQuery query = RaportSQL(app, kind, templ, naglowki);
    if (query.isEmpty()) {
        ui::setDefaultPointer();
        ui::msgBox(QStringLiteral("Nieokreślona komenda SQL raportu dla szablonu: ") + templ, ui::Buttons::Ok,
                   ui::Icon::Information);
        return nullptr;
    }
    const std::vector<db::Row> rows = app.gBaseDb->query(query.sql, query.params);
    if (rows.empty()) {
        ui::setDefaultPointer();
        ui::msgBox(QStringLiteral("Brak danych  - nie można utworzyć raportu."), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("Błąd tworzenia raportu"));
        return nullptr;
    }
    std::shared_ptr<report::Report> raport = RaportObiekt(templ);
    if (!raport) {
        ui::setDefaultPointer();
        ui::msgBox(QStringLiteral("Szablon raportu nie został załadowany. Operacja wydruku zostanie przerwana."),
                   ui::Buttons::Ok, ui::Icon::Exclamation);
        return nullptr;
    }
    fillReportData(*raport, rows);
    for (int i = 1; i <= 5 && i < naglowki.size(); ++i) {
        raport->setText(QStringLiteral("nagRap%1").arg(i), naglowki[i]);
        if (i == 1) title += QStringLiteral(" - ") + naglowki[1];
    }
    raport->setText(QStringLiteral("rapPakiet"),
                    QStringLiteral("Wirlan ") + app.title + QStringLiteral(" - ") + app.webAddress);
    RaportFormuly(app, *raport, templ);
    Section2_Format(app, *raport);
    return raport;
}

bool RepPrint(App& app, const QString& action, const QString& kind, const QString& templ, QString title, int copies,
              bool collate, int firstPage, int lastPage)
{
    PrintOutput& out = printOutput(app);
    ui::BusyPointer busy;
    try {
        std::shared_ptr<report::Report> raport = documentReport(app, kind, templ, title);
        if (!raport) {
            // Nothing of another document stays on the preview.
            if (action == QLatin1String("podglad")) showInPreview(app, nullptr);
            return false;
        }
        out.gRaport = raport;
        if (action == QLatin1String("podglad")) {
            showInPreview(app, raport);
            PodgladZoom(app);
            ui::repaintNow();
        } else if (action == QLatin1String("drukuj")) {
            drukuj(app, *raport, {copies, collate, firstPage, lastPage});
        } else if (action == QLatin1String("zapisz")) {
            return zapisz(app, *raport);
        } else if (action == QLatin1String("wyslij")) {
            return wyslij(app, *raport, kind, templ, title);
        }
        return true;
    } catch (...) {
        ErrorReport(app, QStringLiteral("RepPrint:") + action);
        out.gRaport.reset();
        return false;
    }
}

void PodgladZoom(App& app)
{
    if (PreviewPanel* panel = printOutput(app).podglad) panel->PodgladZoom();
}
