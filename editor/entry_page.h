#pragma once
#include <QWidget>

class App;
class DocumentForm;
class DocumentListModel;
class PreviewPanel;
class QAction;
class QFrame;
class QToolBar;
class QTableView;

// The entry page (picWprowadzanie): the document list on the left; to its right the view and
// document toolbars over either the document form or the print preview.
class EntryPage : public QWidget {
    Q_OBJECT
public:
    explicit EntryPage(App& app, QWidget* parent = nullptr);

    QTableView* lstDok;
    DocumentListModel* lstDokRows;  // the list's rows, read a part at a time
    QToolBar* toolEdycja;
    QAction* toolEdycjaDokument;
    QAction* toolEdycjaPodglad;
    QToolBar* toolZapisz;
    QAction* toolZapiszZapisz;
    QAction* toolZapiszDrukuj;
    QAction* toolZapiszWyslij;
    DocumentForm* picDokument;
    PreviewPanel* picPodglad;

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

signals:
    // The header is buffered: the document is to be validated and stored.
    void saveRequested();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    App& app_;
    QFrame* shape2_;
    QFrame* shape3_;
    bool previewShown_ = false;
};
