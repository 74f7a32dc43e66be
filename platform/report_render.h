#pragma once
#include "platform/report.h"
#include <QPainter>
#include <memory>
#include <vector>

class QPaintDevice;
class QPrinter;

// Lays a report out on pages and paints them. One layout serves the preview, the printer and
// PDF files, so that what the preview shows is what is printed.
namespace report {

class Layout final {
public:
    // Measures the texts with the fonts of `device` and breaks the report into pages of the
    // report's page size less its margins.
    Layout(const Report& report, const QPaintDevice& device);

    int pageCount() const { return int(pages_.size()); }
    // Paints page `index` (from 0) with the painter's origin at the top-left corner of the
    // printable area.
    void paintPage(QPainter& painter, int index) const;

    // One printed section: which section, for which row, where on its page, and where its
    // elements landed (device pixels, relative to the section's top).
    struct Placed {
        const Section* section = nullptr;
        int row = 0;
        double y = 0;
        double height = 0;
        std::vector<QRectF> rects;
    };
    const std::vector<Placed>& page(int index) const { return pages_.at(size_t(index)); }

private:
    Placed measure(const Section& s, int row) const;
    QString textOf(const Section& s, const Element& e, int row, int page) const;
    void paintPlaced(QPainter& p, const Placed& placed, int page) const;

    const Report& report_;
    const QPaintDevice& device_;
    double pxPerMm_ = 1;
    std::vector<std::vector<Placed>> pages_;
    std::vector<Placed> footers_;
};

// Writes the report to a PDF file (fonts embedded). The file is replaced only when the whole
// document was written; false when it could not be.
bool exportPdf(const Report& report, const QString& path);

// What a print-out asks for: copies of the pages firstPage..lastPage (from 1; all pages when
// firstPage is 0 or less), collated or page by page.
struct PrintJob {
    int copies = 1;
    bool collate = false;
    int firstPage = 0;
    int lastPage = 0;
};

// One job on a printer; several reports may be printed into it one after another (an original
// and its copy reach the printer as one job). The copies are painted here, so that a printer
// that makes no copies itself, or a file, gets them all. The job is sent when the session ends.
class PrintSession final {
public:
    explicit PrintSession(QPrinter& printer);
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // False when the printer could not be opened.
    bool print(const Report& report, const PrintJob& job);
    int pagesPrinted() const { return pages_; }

private:
    QPrinter& printer_;
    QPainter painter_;
    bool started_ = false;
    int pages_ = 0;
};

// Paints every page of the report on the printer's pages (the preview draws through this).
void paintAll(const Report& report, QPrinter& printer);

// Makes the report's fonts known to the program when they are installed as files.
void loadFonts();

}  // namespace report
