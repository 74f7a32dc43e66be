#pragma once
#include <QWidget>

class QLabel;
class QListWidget;
class QToolBar;

// The print preview of the entry page (picPodglad): the viewer's toolbar, the viewer and the
// list of print options beside it. The print pipeline shows its pages in CRView.
class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    QToolBar* toolCRView;
    QWidget* CRView;
    QListWidget* lstPardruk;
    QLabel* Label1;

    void picPodglad_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
};
