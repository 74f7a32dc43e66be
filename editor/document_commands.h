#pragma once
#include <QObject>
#include <QPoint>

class App;
class DocumentEditing;
class EntryPage;
class QAction;
class QMenu;

// The document commands of the entry page's popup menus: a new document from the document list,
// deleting the selected stored document, copying its reference for another program of the
// family, and the document form's popup ("Dokument"), which the right button opens on the form's
// background, on its captions and on the positions tab control. The main window owns the menus
// and runs these as its commands.
class DocumentCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentCommands)
public:
    // The captions of the form that open the popup; the seller's address and the corrected kind
    // do not.
    static const QStringList& menuLabels();

    DocumentCommands(App& app, EntryPage* page, DocumentEditing* editing, QMenu* mnuPopDokument,
                     QAction* mnuPopDokWklej);

    // "Nowy" of the document list's popup: shows the form and starts a new document with the
    // list's first row selected.
    void mnuPopKarNowy_Click();
    // "Usuń": deletes the selected stored document after the question, then reads the list, the
    // register and the chart again.
    void UsunDokument();
    // "Kopiuj": puts the reference of the selected stored document on the clipboard under the link
    // format; a database path or password that the reference cannot carry is refused.
    void mnuPopKarKopiuj_Click();
    // Prepares the paste item by the clipboard and opens the form's popup at `globalPos`.
    void PokazMenuDokument(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    App& app_;
    EntryPage* page_;
    DocumentEditing* editing_;
    QMenu* menu_;
    QAction* pasteAction_;
};
