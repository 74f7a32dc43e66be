#pragma once
#include <QWidget>

class App;
class QAction;
class QLabel;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
namespace report {
class Viewer;
}

// The print preview of the entry page (picPodglad): the viewer's toolbar, the viewer and the
// list of print options beside it. The print pipeline shows its reports in CRView.
class PreviewPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewPanel)
public:
    explicit PreviewPanel(App& app, QWidget* parent = nullptr);

    QToolBar* toolCRView;
    QAction* btnPierwszy;
    QAction* btnPoprzedni;
    QAction* btnNastepny;
    QAction* btnOstatni;
    QAction* btnCala;
    QAction* btnSzerokosc;
    QAction* btnSkala100;
    report::Viewer* CRView;
    QTreeWidget* lstPardruk;
    QLabel* Label1;

    // The viewer toolbar: pages ("Pierwszy", "Poprzedni", "Nastepny", "Ostatni") and zoom
    // ("Cala", "Szerokosc", "Skala100").
    void toolCRView_ButtonClick(const QString& key);
    // The zoom of the pressed zoom button: whole page, page width or 100 %.
    void PodgladZoom();
    void picPodglad_Resize();

signals:
    // The user changed a print option: the preview of the selected document is to be drawn again.
    void opcjaZmieniona();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void lstPardruk_ItemCheck(QTreeWidgetItem* item);

    App& app_;
};
