#include "platform/report_render.h"
#include "platform/private_file.h"
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <optional>

namespace report {
namespace {

constexpr double kLineMm = 0.2;  // width of lines and frames
constexpr double kPadMm = 0.8;   // text inside a frame keeps this far from it
constexpr double kPadTopMm = 0.4;

bool isText(const Element& e)
{
    return e.kind == Element::Kind::Text || e.kind == Element::Kind::Field || e.kind == Element::Kind::PageNumber;
}

QFont fontOf(const Report& r, const Style& s)
{
    QFont f(r.fontFamily);
    f.setPointSizeF(s.points);
    f.setBold(s.bold);
    f.setItalic(s.italic);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// The font of an element's text for a box `width` wide: as its style says, or, for a text kept
// on one line that would not fit, reduced until it fits.
QFont fittedFont(const Report& r, const Element& e, const QString& text, const QPaintDevice& device, double width)
{
    QFont f = fontOf(r, e.style);
    if (!e.style.oneLine) return f;
    // Glyph widths do not scale exactly with the size: the size found is checked and stepped down.
    for (double points = e.style.points; points > 1; points *= 0.97) {
        f.setPointSizeF(points);
        if (QFontMetricsF(f, &device).horizontalAdvance(text) <= width) break;
    }
    return f;
}

// A text broken into lines within `width`: at blanks where possible, anywhere when a word is
// wider than the line, so nothing runs outside its box; a text kept on one line is not broken.
struct TextLines {
    QTextLayout layout;
    double height = 0;

    TextLines(const QString& text, const QFont& font, const QPaintDevice& device, double width, const Style& style)
        : layout(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), font, &device)
    {
        QTextOption o;
        o.setWrapMode(style.oneLine ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
        o.setAlignment(style.align == Align::Right    ? Qt::AlignRight
                       : style.align == Align::Center ? Qt::AlignHCenter
                                                      : Qt::AlignLeft);
        layout.setTextOption(o);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(width, 1.0));
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
    }
};

double padX(const Element& e, double k)
{
    return e.style.frame || e.style.shade ? kPadMm * k : 0;
}
double padY(const Element& e, double k)
{
    return e.style.frame || e.style.shade ? kPadTopMm * k : 0;
}

}  // namespace

void loadFonts()
{
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    QDir dir(QStringLiteral("/usr/share/fonts/truetype/dejavu"));
    for (const QString& f : dir.entryList({QStringLiteral("DejaVuSans*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(dir.filePath(f));
}

Layout::Layout(const Report& report, const QPaintDevice& device) : report_(report), device_(device)
{
    loadFonts();
    pxPerMm_ = device.logicalDpiY() / 25.4;
    const double contentHeight =
        (report.pageSizeMm.height() - report.marginsMm.top() - report.marginsMm.bottom()) * pxPerMm_;

    std::vector<Placed> headers;
    double headerHeight = 0, footerHeight = 0;
    for (const Section& s : report.sections()) {
        if (s.suppressed) continue;
        if (s.kind == Section::Kind::PageHeader) {
            headers.push_back(measure(s, 0));
            headers.back().y = headerHeight;
            headerHeight += headers.back().height;
        } else if (s.kind == Section::Kind::PageFooter) {
            footers_.push_back(measure(s, 0));
            footerHeight += footers_.back().height;
        }
    }
    double y = contentHeight - footerHeight;
    for (Placed& f : footers_) {
        f.y = y;
        y += f.height;
    }
    const double bodyBottom = contentHeight - footerHeight;

    const Section* repeatedHeader = nullptr;  // the header of the table being printed
    y = 0;
    auto place = [&](Placed p) {
        p.y = y;
        y += p.height;
        pages_.back().push_back(std::move(p));
    };
    auto newPage = [&] {
        pages_.emplace_back(headers);
        y = headerHeight;
        if (repeatedHeader) place(measure(*repeatedHeader, 0));
    };
    // A section that does not fit goes to the next page, unless the page holds nothing yet.
    auto makeRoom = [&](double height) {
        if (y + height > bodyBottom + 0.5 && y > headerHeight + 0.5) newPage();
    };
    newPage();

    const Section* tableHeader = nullptr;
    for (const Section& s : report.sections()) {
        if (s.suppressed) continue;
        switch (s.kind) {
        case Section::Kind::PageHeader:
        case Section::Kind::PageFooter:
        case Section::Kind::GroupHeader: break;
        case Section::Kind::Band: {
            Placed p = measure(s, 0);
            bool blank = s.suppressBlank;
            for (size_t i = 0; blank && i < s.elements.size(); ++i)
                if (isText(s.elements[i]) && !s.elements[i].suppressed && !textOf(s, s.elements[i], 0, 0).isEmpty())
                    blank = false;
            if (blank) break;
            makeRoom(p.height);
            place(std::move(p));
            break;
        }
        case Section::Kind::TableHeader: tableHeader = &s; break;
        case Section::Kind::Detail: {
            const Table* t = report.table(s.table);
            const Section* header =
                tableHeader && tableHeader->table.compare(s.table, Qt::CaseInsensitive) == 0 ? tableHeader : nullptr;
            tableHeader = nullptr;
            if (!t || t->rows.empty()) break;
            const Section* group = nullptr;
            for (const Section& g : report.sections())
                if (g.kind == Section::Kind::GroupHeader && !g.suppressed &&
                    g.table.compare(s.table, Qt::CaseInsensitive) == 0)
                    group = &g;
            for (int r = 0; r < int(t->rows.size()); ++r) {
                Placed row = measure(s, r);
                double need = row.height;
                std::optional<Placed> head, groupHead;
                if (r == 0 && header) {
                    head = measure(*header, 0);
                    need += head->height;
                }
                if (group) {
                    const QString v = t->value(r, group->groupColumn);
                    if (!v.isEmpty() && (r == 0 || v != t->value(r - 1, group->groupColumn))) {
                        groupHead = measure(*group, r);
                        need += groupHead->height;
                    }
                }
                // A header or a group title never stays alone at the foot of a page.
                makeRoom(need);
                if (head) {
                    place(std::move(*head));
                    repeatedHeader = header;
                }
                if (groupHead) place(std::move(*groupHead));
                place(std::move(row));
            }
            repeatedHeader = nullptr;
            break;
        }
        }
    }
}

QString Layout::textOf(const Section& s, const Element& e, int row, int page) const
{
    switch (e.kind) {
    case Element::Kind::Text: return e.text;
    case Element::Kind::PageNumber:
        return QString(e.text)
            .replace(QLatin1String("%1"), QString::number(page + 1))
            .replace(QLatin1String("%2"), QString::number(std::max(pageCount(), page + 1)));
    case Element::Kind::Field: {
        const QString tableName = e.table.isEmpty() ? s.table : e.table;
        const Table* t = report_.table(tableName);
        const bool current = tableName.compare(s.table, Qt::CaseInsensitive) == 0 &&
                             (s.kind == Section::Kind::Detail || s.kind == Section::Kind::GroupHeader);
        const QString v = t ? t->value(current ? row : 0, e.column) : QString();
        if (v.isEmpty() && e.hideEmpty) return QString();
        return e.text.isEmpty() ? v : QString(e.text).replace(QLatin1String("%1"), v);
    }
    default: return QString();
    }
}

// Places the section's elements for one row: a text that needs more room than its box grows
// downwards and pushes down what lies under it; the section grows with it.
Layout::Placed Layout::measure(const Section& s, int row) const
{
    const double k = pxPerMm_;
    Placed p;
    p.section = &s;
    p.row = row;
    const size_t n = s.elements.size();
    std::vector<QRectF> nominal(n);
    std::vector<double> growth(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const Element& e = s.elements[i];
        const QRectF& r = e.rect;
        nominal[i] = QRectF(r.left() * k, r.top() * k, r.width() * k, r.height() * k);
        if (e.suppressed || !isText(e)) continue;
        const QString text = e.kind == Element::Kind::PageNumber ? textOf(s, e, row, 98) : textOf(s, e, row, 0);
        if (text.isEmpty()) continue;
        const double width = nominal[i].width() - 2 * padX(e, k);
        TextLines lines(text, fittedFont(report_, e, text, device_, width), device_, width, e.style);
        growth[i] = std::max(0.0, lines.height + 2 * padY(e, k) - nominal[i].height());
    }
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return nominal[a].top() < nominal[b].top(); });
    std::vector<double> shift(n, 0);
    double bottom = s.height * k;
    for (size_t a = 0; a < n; ++a) {
        const size_t i = order[a];
        for (size_t b = 0; b < a; ++b) {
            const size_t j = order[b];
            const bool above = nominal[j].bottom() <= nominal[i].top() + 0.01 * k;
            const bool overlaps =
                nominal[j].left() < nominal[i].right() - 0.01 * k && nominal[i].left() < nominal[j].right() - 0.01 * k;
            if (above && overlaps) shift[i] = std::max(shift[i], shift[j] + growth[j]);
        }
        bottom = std::max(bottom, nominal[i].bottom() + shift[i] + growth[i]);
    }
    p.height = bottom;
    p.rects.resize(n);
    for (size_t i = 0; i < n; ++i) {
        QRectF r = nominal[i].translated(0, shift[i]);
        r.setHeight(s.elements[i].style.stretch ? bottom - r.top() : r.height() + growth[i]);
        p.rects[i] = r;
    }
    return p;
}

void Layout::paintPage(QPainter& painter, int index) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Placed& p : pages_.at(size_t(index))) paintPlaced(painter, p, index);
    for (const Placed& p : footers_) paintPlaced(painter, p, index);
    painter.restore();
}

void Layout::paintPlaced(QPainter& painter, const Placed& placed, int page) const
{
    const double k = pxPerMm_;
    const Section& s = *placed.section;
    QPen pen(Qt::black);
    pen.setWidthF(kLineMm * k);
    for (size_t i = 0; i < s.elements.size(); ++i) {
        const Element& e = s.elements[i];
        if (e.suppressed) continue;
        const QRectF r = placed.rects[i].translated(0, placed.y);
        if (e.style.shade) painter.fillRect(r, QColor(0xE6, 0xE6, 0xE6));
        painter.setPen(pen);
        switch (e.kind) {
        case Element::Kind::Line:
            if (r.height() < r.width())
                painter.drawLine(r.topLeft(), r.topRight());
            else
                painter.drawLine(r.topLeft(), r.bottomLeft());
            break;
        case Element::Kind::Box: painter.drawRect(r); break;
        case Element::Kind::Picture:
            if (!e.image.isNull()) {
                QSizeF size = QSizeF(e.image.size()).scaled(r.size(), Qt::KeepAspectRatio);
                painter.drawImage(QRectF(r.topLeft(), size), e.image);
            }
            break;
        default: {
            const QString text = textOf(s, e, placed.row, page);
            if (!text.isEmpty()) {
                const double width = r.width() - 2 * padX(e, k);
                const QFont font = fittedFont(report_, e, text, device_, width);
                TextLines lines(text, font, device_, width, e.style);
                // A text reduced to fit keeps the baseline that its full size would have, the one
                // of its neighbours in the row.
                const double drop =
                    QFontMetricsF(fontOf(report_, e.style), &device_).ascent() - QFontMetricsF(font, &device_).ascent();
                painter.setPen(e.style.color);
                lines.layout.draw(&painter, QPointF(r.left() + padX(e, k), r.top() + padY(e, k) + drop));
                painter.setPen(pen);
            }
            break;
        }
        }
        if (e.style.frame) painter.drawRect(r);
    }
}

bool exportPdf(const Report& report, const QString& path)
{
    QSaveFile file(path);
    // The temporary file that becomes `path` is its owner's alone before the first page is in it.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(ownerOnly())) return false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(report.pageSizeMm, QPageSize::Millimeter));
        writer.setPageMargins(report.marginsMm, QPageLayout::Millimeter);
        writer.setCreator(QStringLiteral("Rolkwit"));
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        Layout layout(report, writer);
        for (int i = 0; i < layout.pageCount(); ++i) {
            if (i > 0) writer.newPage();
            layout.paintPage(painter, i);
        }
        if (!painter.end()) return false;
    }
    return file.commit();
}

PrintSession::PrintSession(QPrinter& printer) : printer_(printer) {}

PrintSession::~PrintSession()
{
    if (started_) painter_.end();
}

bool PrintSession::print(const Report& report, const PrintJob& job)
{
    if (!started_) {
        // The copies are painted here; the printer must not multiply them again.
        printer_.setCopyCount(1);
        printer_.setFullPage(false);
        printer_.setPageSize(QPageSize(report.pageSizeMm, QPageSize::Millimeter));
        printer_.setPageMargins(report.marginsMm, QPageLayout::Millimeter);
        if (!painter_.begin(&printer_)) return false;
        started_ = true;
    }
    Layout layout(report, printer_);
    std::vector<int> pages;
    const int first = job.firstPage > 0 ? job.firstPage : 1;
    const int last = job.firstPage > 0 ? std::min(job.lastPage, layout.pageCount()) : layout.pageCount();
    for (int p = first; p <= last; ++p) pages.push_back(p - 1);
    const int copies = std::max(job.copies, 1);
    auto paintOne = [&](int page) {
        if (pages_++ > 0) printer_.newPage();
        layout.paintPage(painter_, page);
    };
    if (job.collate) {
        for (int c = 0; c < copies; ++c)
            for (int p : pages) paintOne(p);
    } else {
        for (int p : pages)
            for (int c = 0; c < copies; ++c) paintOne(p);
    }
    return true;
}

void paintAll(const Report& report, QPrinter& printer)
{
    printer.setPageSize(QPageSize(report.pageSizeMm, QPageSize::Millimeter));
    printer.setPageMargins(report.marginsMm, QPageLayout::Millimeter);
    QPainter painter(&printer);
    Layout layout(report, printer);
    for (int i = 0; i < layout.pageCount(); ++i) {
        if (i > 0) printer.newPage();
        layout.paintPage(painter, i);
    }
}

}  // namespace report
