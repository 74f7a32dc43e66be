#pragma once
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class App;
class EntryPage;
class QAction;
class QMenu;

// The document list (lstDok) on the entry page: its rows, newest first, and what a click, a
// double click and the right button do with them. The first row "<Nowy dokument>" stands for a
// new document; every other row's text is the kind, two blanks and the number (column 1).
class DocumentListEvents final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentListEvents)
public:
    // What the list asks of the document being edited: a stored document loaded ("popraw") and
    // the clipboard's document pasted ("nowy" over the new document, "popraw" over a stored one).
    struct Editing {
        std::function<void(const QString& tryb, const QString& numer)> load;
        std::function<void(const QString& tryb)> paste;
    };
    DocumentListEvents(App& app, EntryPage* page, Editing editing);

    // The list's popup menu (mnuPopKartoteka) and the items whose state follows the selected row.
    struct Popup {
        QMenu* menu = nullptr;
        QAction* popraw = nullptr;
        QAction* usun = nullptr;
        QAction* kopiuj = nullptr;
        QAction* wklej = nullptr;
        QAction* drukuj = nullptr;
        QAction* podglad = nullptr;
        QAction* wyslij = nullptr;
        QAction* zapisz = nullptr;
    };
    void setPopup(const Popup& popup) { popup_ = popup; }

    // Refills the list from the stored documents (empty `numer`), or, after document `numer` was
    // stored, puts its row in place; then selects the row of `numer` (exact text). Keeps the old
    // rows when no database is open or the read fails (reported as "OdswiezListeDokumentow").
    void OdswiezListeDokumentow(const QString& numer);

    // The selected row as the commands read it: its text and its number (column 1).
    struct Row {
        QString text;
        QString numer;
        bool nowy() const;  // the "<Nowy dokument>" row
    };
    std::optional<Row> selectedRow() const;
    // Selects the first row, "<Nowy dokument>".
    void selectNew();

    // Toolbar states for the page shown and the selected row.
    void lstDok_Click();
    // Edits the selected document, previews it, or starts a new document.
    void lstDok_DblClick();
    // Selects the row under the pointer; the right button prepares and shows the popup.
    void lstDok_MouseDown(Qt::MouseButton button, const QPoint& pos);
    // Renews the preview of the selected document when the preview is shown.
    void OdswiezPodglad();
    // Starts a new document when the document form is shown.
    void OdswiezDokument();

    // Sets a "Wklej z..." entry for the clipboard: enabled for a hand-over text (but never on an
    // archive, `locked`), captioned with its document ("Wklej z FR Nr 7/05/2024"); a text refused
    // for its password is offered under the bare caption, so that choosing it says why.
    static void offerPaste(QAction* entry, bool locked);
    // The number of the selected stored document; empty on "<Nowy dokument>" or no selection.
    QString selectedNumber() const;
    // "Wklej z...": the clipboard's document into a new document on "<Nowy dokument>", else in
    // place of the selected stored document.
    void mnuPopKarWklej_Click();

private:
    // The selected row, -1 when none.
    int selected() const;
    bool isNew(int row) const;

    App& app_;
    EntryPage* page_;
    Editing editing_;
    Popup popup_;
};
