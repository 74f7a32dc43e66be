#include "platform/report.h"

namespace report {

int Table::columnIndex(const QString& name) const
{
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QString Table::value(int row, const QString& column) const
{
    const int c = columnIndex(column);
    if (c < 0 || row < 0 || size_t(row) >= rows.size()) return QString();
    return rows[size_t(row)].value(c);
}

Section& Report::addSection(Section s)
{
    sections_.push_back(std::move(s));
    return sections_.back();
}

Element* Report::element(const QString& name)
{
    for (Section& s : sections_)
        for (Element& e : s.elements)
            if (e.name.compare(name, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

const Element* Report::element(const QString& name) const
{
    return const_cast<Report*>(this)->element(name);
}

Section* Report::section(const QString& name)
{
    for (Section& s : sections_)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

const Section* Report::section(const QString& name) const
{
    return const_cast<Report*>(this)->section(name);
}

bool Report::setText(const QString& name, const QString& text)
{
    Element* e = element(name);
    if (!e) return false;
    e->text = text;
    return true;
}

QString Report::text(const QString& name) const
{
    const Element* e = element(name);
    return e ? e->text : QString();
}

bool Report::setSuppressed(const QString& name, bool suppressed)
{
    if (Section* s = section(name)) {
        s->suppressed = suppressed;
        return true;
    }
    if (Element* e = element(name)) {
        e->suppressed = suppressed;
        return true;
    }
    return false;
}

bool Report::isSuppressed(const QString& name) const
{
    if (const Section* s = section(name)) return s->suppressed;
    if (const Element* e = element(name)) return e->suppressed;
    return false;
}

bool Report::setLeft(const QString& name, double mm)
{
    Element* e = element(name);
    if (!e) return false;
    e->rect.moveLeft(mm);
    return true;
}

bool Report::setImage(const QString& name, const QImage& image)
{
    Element* e = element(name);
    if (!e) return false;
    e->image = image;
    return true;
}

void Report::setTable(const QString& name, Table table)
{
    for (auto& [n, t] : tables_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            t = std::move(table);
            return;
        }
    tables_.emplace_back(name, std::move(table));
}

const Table* Report::table(const QString& name) const
{
    for (const auto& [n, t] : tables_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

}  // namespace report
