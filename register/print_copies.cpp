#include "register/print_copies.h"
#include "core/app.h"
#include "core/registry.h"
#include "platform/message_box.h"
#include "platform/report_render.h"
#include "register/print_output.h"
#include "register/print_pipeline.h"
#include "register/print_state.h"
#include <QApplication>
#include <QPrintDialog>
#include <optional>

namespace {

const QString kFanet = QStringLiteral("FANET");
const QString kSzablon = QStringLiteral("rapFANET1");

// The copies proposed: the setting's leading number, at least one.
int proposedCopies(App& app)
{
    const auto n =
        numericValue(RegRead(app.gRegProgramKey, QStringLiteral("DrukKopie"), QStringLiteral("1")), -1000000, 1000000);
    return int(std::clamp<qint64>(n.value_or(1), 1, 999));
}

// The printer dialog: the print job the user chose; none when the user cancelled it.
std::optional<report::PrintJob> printerDialog(App& app, const QString& title)
{
    PrintOutput& out = printOutput(app);
    if (!out.printer) out.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& printer = *out.printer;
    printer.setCopyCount(proposedCopies(app));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Drukuj ") + title);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 1000);
    dialog.setFromTo(1, 1);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (ui::execDialog(dialog) != QDialog::Accepted) return std::nullopt;
    report::PrintJob w;
    w.copies = std::max(printer.copyCount(), 1);
    w.collate = printer.collateCopies();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        w.firstPage = dialog.fromPage();
        w.lastPage = dialog.toPage();
    }
    RegSave(app.gRegProgramKey, QStringLiteral("DrukKopie"), QString::number(w.copies));
    return w;
}

bool run(App& app, const QString& title, const report::PrintJob& w)
{
    return RepPrint(app, QStringLiteral("drukuj"), kFanet, kSzablon, title, w.copies, w.collate, w.firstPage,
                    w.lastPage);
}

// Every run of one print command goes into one printer job.
class JobScope {
public:
    explicit JobScope(PrintOutput& out) : out_(out), session_(*out.printer) { out_.session = &session_; }
    ~JobScope() { out_.session = nullptr; }

private:
    PrintOutput& out_;
    report::PrintSession session_;
};

}  // namespace

void DokumentDrukuj(App& app, const std::optional<ListedDocument>& document)
{
    if (!document) {
        ui::msgBox(QStringLiteral("Wprowadź dane do dokumentu, zapisz go, a następnie kliknij Drukuj."),
                   ui::Buttons::Ok, ui::Icon::Information, app.title);
        return;
    }
    PrintState& st = printState(app);
    st.gDrukEgzemplarz.clear();
    const QString& text = document->text;
    const QString& numer = document->numer;
    const auto wybor = printerDialog(app, text);
    if (!wybor) return;
    st.gRepPar[0] = text;
    st.gRepPar[1] = numer;
    JobScope job(printOutput(app));
    if (wybor->firstPage > 0) {
        run(app, text, *wybor);
    } else if (RegRead(app.gRegProgramKey, QStringLiteral("DrukOryKop"), QStringLiteral("0")) == QLatin1String("1")) {
        st.gDrukEgzemplarz = QStringLiteral("ORYGINAŁ");
        // A document that could not be printed is not tried again for its copy.
        if (run(app, text, *wybor)) {
            st.gDrukEgzemplarz = QStringLiteral("KOPIA");
            run(app, text, *wybor);
        }
        st.gDrukEgzemplarz.clear();
    } else {
        run(app, text, *wybor);
    }
}

void KartotekaDrukuj(App& app, const QString& inddok, const QString& numer)
{
    const auto wybor = printerDialog(app, inddok);
    if (!wybor) return;
    PrintState& st = printState(app);
    st.gRepPar[0] = inddok;
    st.gRepPar[1] = numer;
    JobScope job(printOutput(app));
    run(app, inddok, *wybor);
}

bool KartotekaRepPrint(App& app, const QString& action, const QString& inddok, const QString& numer,
                       const QString& datawyst)
{
    PrintState& st = printState(app);
    st.gRepPar[0] = inddok + QStringLiteral("  ") + numer;
    st.gRepPar[1] = numer;
    return RepPrint(app, action, kFanet, kSzablon, numer + QLatin1Char(' ') + datawyst, 0, false, 0, 0);
}

bool DokumentRepPrint(App& app, const ListedDocument& document, const QString& action)
{
    PrintState& st = printState(app);
    st.gRepPar[0] = document.text;
    st.gRepPar[1] = document.numer;
    return RepPrint(app, action, kFanet, kSzablon, st.gRepPar[0], 0, false, 0, 0);
}
