#pragma once
#include "platform/report.h"
#include "platform/report_render.h"
#include <QPointer>
#include <QPrinter>
#include <functional>
#include <memory>

class App;
class PreviewPanel;

// Where the print pipeline's runs go, kept for the whole run beside its values (print_state.h).
struct PrintOutput {
    // The report of the last request; the preview keeps showing it until the next one.
    std::shared_ptr<report::Report> gRaport;
    // The preview page that "podglad" shows the report on.
    QPointer<PreviewPanel> podglad;
    // The printer the user chose last in this run.
    std::unique_ptr<QPrinter> printer;
    // Open while several runs print into one job (an original and its copy).
    report::PrintSession* session = nullptr;
    // Test seam: when set, print-outs are handed here instead of to a printer.
    std::function<void(const report::Report&, const report::PrintJob&)> printRecorder;
};

PrintOutput& printOutput(App& app);
