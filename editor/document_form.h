#pragma once
#include "documents/doc_header.h"
#include "documents/edit_state.h"
#include "documents/loading.h"
#include "documents/positions.h"
#include "documents/validation.h"
#include "editor/form_field.h"
#include "platform/twips.h"
#include <QWidget>
#include <optional>
#include <vector>

class App;
class QorCombo;
class QorNumber;
class PositionGrid;
class PositionModel;
class QComboBox;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTreeView;

// The document form (picDokument): the header of the invoice or correction, the positions and
// notes tabs, the totals with the fund deduction, and the side list. It maps its controls to and
// from DocHeader and leaves the database work to documents/ (buffer, numbering, totals). Its
// controls are its own: the header is written through setHeader() and the named setters only.
class DocumentForm : public QWidget {
    Q_OBJECT
public:
    explicit DocumentForm(App& app, QWidget* parent = nullptr);

    // The layout, in twips: the side list starts right of the header's last captions; a form
    // this high or lower shows the compact layout, and it is never lower than that.
    static constexpr int kSideListLeft = 7680;
    static constexpr int kCompactHeight = 6500;
    static constexpr int kUwagiMax = 255;
    // How much larger than drawn the form is shown, so that the working font fits every caption.
    const twips::Scale& scale() const { return scale_; }

    // Load step: today's dates and the fixed lists.
    void Form_Load();
    // Binds the grids to this workstation's rows of the open database / releases them. The
    // editing of a stored document survives only the attach of the database it came from.
    // `keepRows`: the grids go on showing the rows (the typed document, to go whole into the
    // file attached next), none of them editable while no database is open.
    void attach();
    void detach(bool keepRows = false);

    // The document as the form shows it, rows and edit included.
    TypedDocument typed() const;
    // Writes `doc` whole into the buffer of the database attached now, replacing what it held,
    // and shows it. False after a reported failure: the form shows `doc`'s rows all the same.
    bool restoreTyped(TypedDocument doc);
    // Before a save: the buffer holds the rows the form shows, or takes the whole typed document
    // (a copy written over the file that nothing told from another workstation's commits holds
    // other rows), so that only what the window shows is stored. False after a reported failure.
    bool bufferShownRows();

    // The stored document edited under its own number, if any ("[Poprawa]" shows while one is).
    const EditState& editState() const { return editState_; }
    void setEditState(const EditState& state);
    void clearEditState() { setEditState(EditState()); }
    // Shows rows that are not in the buffer (an archive database, where nothing is written).
    void showRows(const std::vector<Position>& dopoz, const std::vector<Position>& dokor);

    // Starts a new, empty document of the chosen kind in this workstation's buffer.
    void NowyDokument();
    // The default header of a new document from the program's settings.
    void NaglowekDomyslny();
    // Writes the header into this workstation's buffer. With `sprawdz` (the save road) an empty
    // number or an invalid date stops it with the focus on the field; without (closing the window)
    // the header is buffered whatever it holds, so a restart never brings back an older header.
    bool ZapiszDoBufora(bool sprawdz = true);
    // Restores the buffered header with its dates, the chosen fund included.
    void OdczytZBufora();
    // Recomputes the totals, the deduction and the amount to pay from the rows.
    void PozycjeSumuj();
    // Shows the invoice or the correction layout for the kind in cmbDokument.
    void UstawRodzajDokumentu();
    // The parts of a header that a load shows (DocHeader::Part); the rest of the form stays.
    using HeaderParts = DocHeader::Parts;
    // The header as the form holds it.
    DocHeader header() const;
    // Shows `h` in the form, the inverse of header(): header() then gives `h` back (with this
    // workstation's number).
    void setHeader(const DocHeader& h, HeaderParts parts = DocHeader::WholeHeader);
    // Proposes the number for `date` into txtNumer; shows when no number could be proposed, and
    // says why when the template cannot give a number that is not stored (once, not at every
    // proposal that meets the same refusal).
    void proposeNumber(const QDate& date);
    // Chooses the fund by its stored name (none for an empty name) without running its change;
    // a name outside the list joins it, so that a stored fund and its deduction are kept.
    void setFund(const QString& name);
    // True while the payment days are recomputing the payment term.
    bool daysSetPaymentTerm() const { return daysSetTerm_; }
    // Row height of both grids, in text lines.
    void setRowLines(int lines);
    // The grids' row height and the corrected positions' colour from the program's settings.
    void applyGridSettings();

    // Shows a stored document opened for editing under its own number: the state, its whole
    // header, the focus on the kind.
    void openForEditing(const EditState& state, const DocHeader& h);
    // Shows the rows a load gave: from the buffers, or (on an archive) the rows themselves.
    void showLoadedRows(const LoadedRows& rows);
    // Puts the focus where a refused save points: a header field, or a grid's row.
    void showFault(const CheckFault& fault);
    // The number field can be edited as the numbering parameters say.
    void applyNumbering();

    // Header fields written one at a time, each as if typed (its own reactions follow): the side
    // list's entries and the corrected invoice's date.
    // The issue date, and the sale date with it; the number is proposed for its period.
    void setIssueDate(const QString& text);
    void setSaleDate(const QString& text);
    void setPaymentForm(const QString& text);
    // The days, the payment term following them.
    void setPaymentDays(const QString& text);
    void setPaymentTerm(const QString& text);
    // The seller: name, address, tax number, identity document and bank account.
    struct Seller {
        QString Nazkon, Adrkon, Nipkon, Nazdok, Numdok, Datadok, Wyddok, PlatRach;
    };
    void setSeller(const Seller& s);
    void setNotes(const QString& text);
    void setIssuer(const QString& text);
    void setKorDatawyst(const QDate& date);

    // What others read: the kind ("FR", "KFR"), the issue date (invalid when none).
    QString kind() const;
    QDate issueDate() const;
    // The document being written is an invoice ("FR"), not a correction.
    bool isInvoice() const;
    // The field among the named ones that holds the focus (or has it inside, as a combo's line
    // edit or a grid's cell editor).
    std::optional<FormField> focusedField() const;
    // The named line fields show their text from its beginning: a long name is read from its start.
    void showBeginning(std::initializer_list<FormField> fields);
    // The side list (lstSlo) joins the form: the form lays it out right of the header and hands it
    // the side list entries dropped on the header fields and the grid. Returns its caption.
    QLabel* placeSideList(QTreeView* list, SideListEntries entries);
    // The parts that others work with besides the header.
    PositionGrid* positionGrid() const { return gridPoz; }
    PositionModel* positions() const { return dataPoz; }
    QTabWidget* positionTabs() const { return tabPoz; }
    // Drops on the header fields and on the kind combo (document_form_drops.cpp). A side list
    // entry is applied whatever field it lands on; the field that its kind fills shows that it
    // takes it. A stored document dropped on the kind combo is copied into the invoice.
    void naglowek_DragOver(QWidget* field, QDragMoveEvent* e);
    void naglowek_DragDrop(QDropEvent* e);
    void cmbDokument_DragOver(QDragMoveEvent* e);
    void cmbDokument_DragDrop(QDropEvent* e);

    void txtDatawyst_LostFocus();
    void cmbPlatdni_Click();
    void picDokument_Resize();

signals:
    // A new document was started: the entry page shows the form and disables the preview.
    void documentStarted();
    // A corrected invoice was chosen: it is to be loaded as the one being corrected.
    void korygowanyWybrany(const QString& numer);
    // Stored document `numer` was dropped on the kind combo: its content is to be copied in.
    void documentDropped(const QString& numer);
    // Field `field`, one with a dictionary of the side list, took the focus.
    void fieldFocused(FormField field);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls, by their names in the program (their object names, which the tests find them by).
    QorCombo* cmbDokument;
    QLabel* labPoprawa;
    QLineEdit* txtNumer;
    QLineEdit* txtDatawyst;
    QLineEdit* txtDatasprz;
    QLabel* labKordok;
    QorCombo* cmbKordok;
    QLabel* labKornum;
    QorCombo* cmbKornum;
    QLineEdit* txtKorDatawyst;
    QLabel* labPodstawa;
    QLineEdit* txtPodstawa;
    QLabel* labWydane;
    QLineEdit* txtWydane;
    QLineEdit* txtNazkon;
    QLineEdit* txtAdrkon;
    QLineEdit* txtNipkon;
    QComboBox* cmbNazdok;
    QLineEdit* txtNumdok;
    QLineEdit* txtDatadok;
    QLineEdit* txtWyddok;
    QComboBox* cmbPlatFor;
    QComboBox* cmbPlatdni;
    QComboBox* cmbPlatTer;
    QLineEdit* txtPlatRach;
    QTabWidget* tabPoz;
    PositionModel* dataPoz;
    PositionModel* dataKor;
    PositionGrid* gridPoz;
    PositionGrid* gridKor;
    QPlainTextEdit* txtUwagi;
    QLabel* labWystawil;
    QLineEdit* txtWystawil;
    QLabel* labRazNetto;
    QLabel* labRazVAT;
    QLabel* labRazBrutto;
    QorNumber* txtRazNetto;
    QorNumber* txtRazVAT;
    QorNumber* txtRazBrutto;
    QLabel* labPotracenie;
    QorCombo* cmbFundusz;
    QLabel* labKwotapot;
    QorNumber* txtPotracenie;
    QLabel* labDoZaplaty;
    QorNumber* txtDoZaplaty;
    QLabel* labSlownik;
    QTreeView* lstSlo = nullptr;
    SideListEntries sideListEntries_;

    void setupDrops();
    // The fields with a dictionary of the side list.
    static constexpr FormField kFocusFields[] = {FormField::Datawyst, FormField::Datasprz, FormField::Nazkon,
                                                 FormField::Adrkon,   FormField::Nipkon,   FormField::PlatFor,
                                                 FormField::Platdni,  FormField::PlatTer,  FormField::Pozycje,
                                                 FormField::Uwagi,    FormField::Wystawil};
    // The control of a named field.
    QWidget* control(FormField field) const;
    // The named fields with a dictionary tell when they take the focus (fieldFocused).
    void watchFocus();
    // The kinds of side list entries that a header field takes; empty for any other control.
    QStringList kindsOf(const QObject* target) const;
    void cmbDokument_Change();
    void cmbKordok_Change();
    void cmbKornum_Change();
    void cmbFundusz_Change();
    void txtUwagi_Change();
    // Places the controls drawn for the classic dialog font, larger where the working font
    // needs it (document_form_layout.cpp).
    void scaleToFont();
    // Chooses the corrected document `numer`, adding it to the list when the list lacks it.
    void keepCorrected(const QString& numer);

    App& app_;
    twips::Scale scale_;
    EditState editState_;
    bool daysSetTerm_ = false;  // the days are setting the payment term: the term leaves the days alone
    QString noNumberMessage_;   // the last proposal's message why there is no number, shown once
};
