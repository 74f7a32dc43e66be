#pragma once
#include "register/print_copies.h"
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

    // The document list with its rows, the two toolbars with their buttons, the form and the preview.
    QTableView* lstDok() const { return lstDok_; }
    DocumentListModel* lstDokRows() const { return lstDokRows_; }
    QToolBar* toolEdycja() const { return toolEdycja_; }
    QAction* toolEdycjaDokument() const { return toolEdycjaDokument_; }
    QAction* toolEdycjaPodglad() const { return toolEdycjaPodglad_; }
    QToolBar* toolZapisz() const { return toolZapisz_; }
    QAction* toolZapiszZapisz() const { return toolZapiszZapisz_; }
    QAction* toolZapiszDrukuj() const { return toolZapiszDrukuj_; }
    QAction* toolZapiszWyslij() const { return toolZapiszWyslij_; }
    DocumentForm* picDokument() const { return picDokument_; }
    PreviewPanel* picPodglad() const { return picPodglad_; }
    // The side list beside the form's header.
    SideList* sideList() const { return lstSlo_; }

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

signals:
    // The header is buffered: the document is to be validated and stored.
    void saveRequested();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
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
};
