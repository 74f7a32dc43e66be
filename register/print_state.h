#pragma once
#include "platform/report.h"
#include "platform/report_render.h"
#include <QPointer>
#include <QPrinter>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class App;
class PreviewPanel;

// What the print pipeline keeps for the whole run.
struct PrintState {
    // The eight print values of the last request; [0] is the document's label, whose first
    // characters are its kind ("FR  7/05/2024", or the kind alone), [1] its number.
    std::array<QString, 8> gRepPar;
    // The report of the last request; the preview keeps showing it until the next one.
    std::shared_ptr<report::Report> gRaport;
    // The copy marking of the run being printed: "ORYGINAŁ", "KOPIA" or empty; the report takes
    // it and empties it.
    QString gDrukEgzemplarz;
    // The preview page that "podglad" shows the report on.
    QPointer<PreviewPanel> podglad;
    // The printer the user chose last in this run.
    std::unique_ptr<QPrinter> printer;
    // Open while several runs print into one job (an original and its copy).
    report::PrintSession* session = nullptr;
    // Test seam: when set, print-outs are handed here instead of to a printer.
    std::function<void(const report::Report&, const report::PrintJob&)> printRecorder;
};

PrintState& printState(App& app);
