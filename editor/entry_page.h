#pragma once
#include "register/print_copies.h"
#include <QPoint>
#include <QWidget>

class App;
class DocumentForm;
class DocumentListModel;
class PreviewPanel;
class QAction;
class QFrame;
class QToolBar;
class QTableView;
class SideList;

// The entry page (picWprowadzanie): the document list on the left; to its right the view and
// document toolbars over either the document form or the print preview.
class EntryPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EntryPage)
public:
    explicit EntryPage(App& app, QWidget* parent = nullptr);

    // The document list's rows, the document form, the print preview and the side list beside the
    // form's header: parts with operations of their own.
    DocumentListModel* lstDokRows() const { return lstDokRows_; }
    DocumentForm* picDokument() const { return picDokument_; }
    PreviewPanel* picPodglad() const { return picPodglad_; }
    SideList* sideList() const { return lstSlo_; }
    // The list view itself, only for tests, benches and the screenshot tool, which click and type
    // into the real list; the program goes through the list's operations below.
    QTableView* lstDok() const { return lstDok_; }
    // The toolbars and their buttons, for the window's names of them (which tests click). What
    // they offer is the page's state below: set it there, never on the buttons.
    QToolBar* toolEdycja() const { return toolEdycja_; }
    QAction* toolEdycjaDokument() const { return toolEdycjaDokument_; }
    QAction* toolEdycjaPodglad() const { return toolEdycjaPodglad_; }
    QToolBar* toolZapisz() const { return toolZapisz_; }
    QAction* toolZapiszZapisz() const { return toolZapiszZapisz_; }
    QAction* toolZapiszDrukuj() const { return toolZapiszDrukuj_; }
    QAction* toolZapiszWyslij() const { return toolZapiszWyslij_; }

    // The view toolbar: "Dokument" shows the form, "Podglad" the print preview.
    void toolEdycja_ButtonClick(const QString& key);
    // The view the page shows: the document form or the print preview.
    bool formShown() const { return !previewShown_; }
    bool previewShown() const { return previewShown_; }
    // The document toolbar: "Zapisz" buffers the header and hands the save on.
    void toolZapisz_ButtonClick(const QString& key);
    void picWprowadzanie_Resize();
    // The selected row of the document list: its text (kind, two blanks, number) and its number;
    // empty when no row is current.
    QString lstDokText() const;
    QString lstDokNumer() const;
    // The document to print: the selected row's; none while the list holds no rows.
    std::optional<ListedDocument> listedDocument() const;

    // The document list: the row both current and selected (-1 for none); a row made current and
    // scrolled into sight; the row under a point of the list made current (the selection cleared
    // off the rows), -1 there; the point of the list on the screen.
    int selectedDocument() const;
    void selectDocument(int row);
    int selectDocumentAt(const QPoint& at);
    QPoint documentListToGlobal(const QPoint& at) const;
    // Shows `row` in the print preview, painted once the report is in place.
    void previewDocument(int row);

    // What the toolbars offer now; the page keeps it and its buttons show it. The preview and
    // printing or sending need a stored document, saving a database open for changes.
    bool previewAvailable() const { return previewAvailable_; }
    void setPreviewAvailable(bool on);
    bool printAvailable() const { return printAvailable_; }
    void setPrintAvailable(bool on);
    bool saveAvailable() const { return saveAvailable_; }
    void setSaveAvailable(bool on);
    // Every document command of the toolbars at once: off while no database is open.
    void enableDocumentCommands(bool on);

signals:
    // The header is buffered: the document is to be validated and stored.
    void saveRequested();
    // The document list was clicked; double-clicked (once the list has handled it); a button
    // went down at a point of the list.
    void documentClicked();
    void documentDoubleClicked();
    void documentPressed(Qt::MouseButton button, const QPoint& at);
    // An option of the print preview changed.
    void previewOptionsChanged();
    // What the toolbars offer changed: the menus follow it.
    void previewAvailableChanged(bool on);
    void printAvailableChanged(bool on);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpList();

    App& app_;
    QTableView* lstDok_;
    DocumentListModel* lstDokRows_;  // the list's rows, read a part at a time
    QToolBar* toolEdycja_;
    QAction* toolEdycjaDokument_;
    QAction* toolEdycjaPodglad_;
    QToolBar* toolZapisz_;
    QAction* toolZapiszZapisz_;
    QAction* toolZapiszDrukuj_;
    QAction* toolZapiszWyslij_;
    DocumentForm* picDokument_;
    PreviewPanel* picPodglad_;
    QFrame* shape2_;
    QFrame* shape3_;
    SideList* lstSlo_;
    bool previewShown_ = false;
    QPoint pressedAt_;  // where a button went down on the list, for a drag
    bool previewAvailable_ = true;
    bool printAvailable_ = true;
    bool saveAvailable_ = true;
};
