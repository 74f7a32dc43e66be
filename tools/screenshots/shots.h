#pragma once
#include <QDir>
#include <QString>

class QWidget;

// Where the pictures go and what has gone wrong on the way; a scene that cannot be set up says
// why and returns false.
struct Shots {
    QDir dir;
    bool ok = true;

    // Saves what `w` shows as <name>.png.
    void grab(QWidget* w, const QString& name);
    // Notes a scene that could not be set up as it should.
    bool fail(const QString& why);
};

// The entry page: its two layouts with an invoice and a correction at the smallest and a large
// window, the side list on three kinds of fields, the document list with a reopened correction.
bool entryLayouts(Shots& s);
bool sideList(Shots& s);
bool documentList(Shots& s);
// The register with its sums row and the chart; the preview page; PDFs of the printed documents.
bool registerAndChart(Shots& s);
bool preview(Shots& s);
bool pdfs(Shots& s);
