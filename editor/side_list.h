#pragma once
#include "editor/form_field.h"
#include <QDate>
#include <QPoint>
#include <QTreeView>
#include <memory>

class App;
class ColumnFit;
class DictionaryModel;
class DocumentForm;
class QLabel;
struct Dictionary;

// The side list of dictionaries (lstSlo) beside the document form, with its title (labSlownik).
// A header field or a grid column that takes the focus shows its dictionary here: values of the
// stored documents or the dates around an anchor. A double click or a drop applies the selected
// entry to the document by the list's kind, whatever field it lands on.
class SideList final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SideList)
public:
    // Joins `form` beside its header, showing the dictionary of the field that takes the focus.
    SideList(App& app, DocumentForm* form);

    // The kind of what the list shows ("Kontrahenci", "Datawyst", ...); empty at first.
    const QString& Tag() const { return tag_; }
    // True while the program itself moves the position grid's current cell: the list keeps what
    // it shows.
    bool BlokadaSlownika = false;

    // Shows dictionary `name`; the dates ("Daty") are those around `anchor`, marked with the
    // asking `field`. A dictionary already shown is not read again. Nothing without a database;
    // a failed read leaves the list as it was.
    void PanelSlownikPokaz(const QString& name, const QString& field = QString(), const QDate& anchor = QDate());
    // Shows dictionary `name` read beforehand (the contractors, read in the background when a
    // database is attached) unless the list shows one already; it is then read again after a
    // save as if it had been asked for.
    void showIfEmpty(const QString& name, const Dictionary& d);
    // The dictionary of the position grid's current column: units, VAT rates or products.
    void PozycjaSlownikPokaz();
    // Applies the selected entry to the document by the list's kind.
    void lstSlo_DblClick();
    // A document was stored: the list is read again, with it, for the field that has the focus,
    // or as the dictionary it showed when that field has none. A dictionary of the kind shown is
    // read in the background (the save does not wait for it) and shown once read, the entry
    // picked meanwhile still picked; a double click, a drag or a look at the rows before then
    // takes the fresh rows first. Every other dictionary is read again when it is next shown.
    void afterSave();
    // Forgets the rows and the kind (the database is let go or another one is attached).
    void clearList();
    // The whole title of what the list shows, as the label above the list reads it (on more lines
    // when the list is narrow).
    const QString& Caption() const { return captionText_; }
    // The rows shown; a dictionary still being read after a save is taken first.
    int rowCount();
    QString text(int row, int column);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    struct FreshRead;
    // Reads dictionary `name`, of the kind shown, on the background connection; false when there
    // is none.
    bool readInBackground(const QString& name);
    // The dictionary read after a save shown now, read here when the background has not given
    // it yet. False when it could not be read: the list then takes no entry.
    bool settle();
    void showFresh(const QString& name, Dictionary d);
    void PanelDaty(const QString& field, const QDate& anchor);
    void display(Dictionary d);
    // The field's own dictionary when it takes the focus.
    void GotFocus(FormField field);
    void produkt(int row);
    void jednostka(int row);
    void stawkaVat(int row);
    void setCaption(const QString& text);

    App& app_;
    DocumentForm* form_;
    DictionaryModel* rows_;
    ColumnFit* columns_;  // the widths of the dictionary shown, fitted to the list
    QLabel* caption_;
    QString captionText_;
    QString tag_;
    QString shownName_;  // the dictionary read for the rows shown; empty for the dates
    QPoint pressedAt_;
    QString rereadKind_;                // while a save reads the list again: the kind it showed
    std::shared_ptr<FreshRead> fresh_;  // the dictionary being read after a save
};

// Holds the side list still while the program moves the position grid (BlokadaSlownika).
class SideListLock final {
public:
    explicit SideListLock(SideList& list) : list_(list), was_(list.BlokadaSlownika) { list.BlokadaSlownika = true; }
    ~SideListLock() { list_.BlokadaSlownika = was_; }
    SideListLock(const SideListLock&) = delete;
    SideListLock& operator=(const SideListLock&) = delete;

private:
    SideList& list_;
    bool was_;
};
