#pragma once
#include "documents/edit_state.h"
#include "documents/validation.h"
#include <QObject>
#include <QString>

class App;
class DocumentListEvents;
class EntryPage;
struct DocHeader;
struct LoadedDocument;

// The entry page's road of a document through the database: loading a stored document for
// editing or as a copy, loading the invoice a correction corrects, and the save commands. The
// database work is documents/ (loading.h, save.h); this class shows its results on the form.
// It owns the document list's and the header's handlers of the same page.
class DocumentEditing final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentEditing)
public:
    DocumentEditing(App& app, EntryPage* page);

    DocumentListEvents* lista() const { return documentList_; }

    // The stored document edited under its own number, if any (the form keeps it).
    const EditState& stan() const;

    // Loads stored document `numer`: "popraw" for editing it under its own kind and number, any
    // other mode as the content of the document being written. False when nothing was loaded;
    // `brak` then tells a number that is not stored from a reported error.
    bool WczytajDokument(const QString& tryb, const QString& numer, bool* brak = nullptr);
    // The document a hand-over text on the clipboard names. "nazwa": gives "FR Nr 7/05/2024" and
    // does nothing else. "nowy": loads it into the document in the form. "popraw": into the stored
    // document selected in the list, which is opened for editing first; a sibling program's
    // document is read whole before anything here changes. A text that is not well formed, or
    // of an unknown program, does nothing; one refused for its password says so, and one of this
    // program whose number is not stored here says that the document was not found.
    QString DokumentWklej(const QString& tryb);
    // Loads only the positions of `numer`; without the correction rows the totals follow them.
    void WczytajPozycje(const QString& numer, bool zKorekta);
    // Loads invoice `numer` as the one that the correction being written corrects.
    void WczytajKorygowany(const QString& numer);

    // Validates and stores the buffered document; on a refusal the focus goes to the field
    // concerned. Afterwards the register and the chart are refreshed.
    bool ZapiszDokument();
    // The save command of the popup menu and of Ctrl+Enter: buffers the header, stores the
    // document, then shows it selected in the list and starts a new document.
    void Zapisz();
    // The rest of the toolbar's save once the header is buffered (EntryPage::saveRequested).
    void toolZapisz_PoBuforze();

private:
    // Shows a load's header parts and rows, as they were buffered.
    void display(const LoadedDocument& d);
    bool saveAndStartNew();

    App& app_;
    EntryPage* page_;
    DocumentListEvents* documentList_;
};
