#pragma once
#include <QColor>
#include <QImage>
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

// A printed report as the program builds it: sections (bands) of elements laid out in
// millimetres, named text objects that code sets and hides, tables of rows for the detail
// sections, and pictures. It holds no window and paints nothing itself: report_render.h lays
// it out on pages for the preview, the printer and PDF files alike.
namespace report {

enum class Align { Left, Center, Right };

struct Style {
    double points = 8.0;
    bool bold = false;
    bool italic = false;
    Align align = Align::Left;
    bool frame = false;    // a thin border round the element
    bool shade = false;    // a light grey background
    bool stretch = false;  // the element takes the section's full height (table cells)
    bool oneLine = false;  // never broken over lines: a text too wide for its box gets a smaller font
    QColor color = Qt::black;
};

struct Element {
    enum class Kind { Text, Field, Line, Box, Picture, PageNumber };
    Kind kind = Kind::Text;
    QString name;    // the name code finds it by (letter case ignored)
    QString text;    // Text: the text; Field: a pattern with %1; PageNumber: a pattern with %1 and %2
    QString column;  // Field: the column it shows
    QString table;   // Field: the table; inside a detail its current row, elsewhere its first row
    QRectF rect;     // millimetres from the section's top-left corner
    Style style{};
    bool hideEmpty = false;  // Field: shows nothing, pattern included, when the value is empty
    bool suppressed = false;
    QImage image{};  // Picture
};

struct Section {
    // PageHeader and PageFooter repeat on every page; a Band prints once where it stands; a
    // Detail prints once per row of its table, after its TableHeader (repeated on every page the
    // table continues on) and a GroupHeader whenever the group column's value changes.
    enum class Kind { PageHeader, Band, TableHeader, GroupHeader, Detail, PageFooter };
    QString name;
    Kind kind = Kind::Band;
    QString table;
    QString groupColumn;
    double height = 0;  // millimetres; grows when its texts need more room
    bool suppressed = false;
    bool suppressBlank = false;  // left out when every text in it is empty
    std::vector<Element> elements;
};

struct Table {
    QStringList columns;
    std::vector<QStringList> rows;

    int columnIndex(const QString& name) const;
    // The row's value in that column; empty for a missing column or row.
    QString value(int row, const QString& column) const;
};

class Report final {
public:
    QString fontFamily = QStringLiteral("DejaVu Sans");
    QSizeF pageSizeMm{210, 297};
    QMarginsF marginsMm{12, 10, 12, 10};

    Section& addSection(Section s);
    std::vector<Section>& sections() { return sections_; }
    const std::vector<Section>& sections() const { return sections_; }

    // Lookups by name without regard to letter case; a setter given a name the report lacks
    // changes nothing and returns false, as a template without that object would.
    Element* element(const QString& name);
    const Element* element(const QString& name) const;
    Section* section(const QString& name);
    const Section* section(const QString& name) const;
    bool setText(const QString& name, const QString& text);
    QString text(const QString& name) const;
    // Hides or shows an element or a whole section of that name.
    bool setSuppressed(const QString& name, bool suppressed);
    // True for a hidden element or section; false for a shown or a missing one.
    bool isSuppressed(const QString& name) const;
    bool setLeft(const QString& name, double mm);
    bool setImage(const QString& name, const QImage& image);

    void setTable(const QString& name, Table table);
    const Table* table(const QString& name) const;

private:
    std::vector<Section> sections_;
    std::vector<std::pair<QString, Table>> tables_;
};

}  // namespace report
