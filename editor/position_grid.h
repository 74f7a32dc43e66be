#pragma once
#include "editor/form_field.h"
#include <QTableView>
#include <functional>

class App;
class PositionModel;
class QAction;
class QMenu;

// A position grid (gridPoz, gridKor) over a PositionModel. The grid of the positions being edited
// also carries the row commands: its popup menu "Pozycja" and appending a row when a key is
// pressed in the last column of the last row.
class PositionGrid : public QTableView {
    Q_OBJECT
public:
    PositionGrid(App& app, PositionModel* model, bool withCommands, QWidget* parent = nullptr);
    PositionModel* positions() const { return model_; }

    // Row height in text lines (1..10; anything else gives three lines).
    void setRowLines(int lines);

    void mnuPopPozWstaw_Click();
    void mnuPopPozDodaj_Click();
    void mnuPopPozUsun_Click();

    QMenu* mnuPopPozycja = nullptr;
    QAction* mnuPopPozWstaw = nullptr;
    QAction* mnuPopPozDodaj = nullptr;
    QAction* mnuPopPozUsun = nullptr;
    QAction* mnuPopPozPocz = nullptr;

    // Prepares the popup's items for a click on `row` (-1: below the rows); returns the menu.
    QMenu* preparePopup(int row);

    // Takes drops while `invoice` says an invoice is written: products, units and VAT rates of
    // the side list on the row under the pointer, and the positions of a stored invoice of the
    // document list. Any other side list entry dropped here is applied as a double click does.
    void takeDropsFrom(SideListEntries list, std::function<bool()> invoice);
    // True while a drag over the grid moves its current row to the pointer: the side list keeps
    // showing what is dragged from it.
    bool followsDrag() const { return followingDrag_; }
    void gridPoz_DragOver(QDragMoveEvent* e);
    void gridPoz_DragDrop(QDropEvent* e);

signals:
    // "Ustawienia początkowe": the document parameters dialog on its positions tab.
    void mnuPopPozPocz_Click();
    // The positions of stored document `numer` were dropped here: they are to replace the rows.
    void positionsDropped(const QString& numer);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;

private:
    void makeCurrent(int row, int column);
    // The widest word of a column's caption, in pixels.
    int captionWidth(int column) const;
    void fitColumns();
    void fitHeaderHeight();

    App& app_;
    PositionModel* model_;
    bool withCommands_;
    bool valueTaken_ = false;  // the editor being closed handed in a value that was taken
    bool fitting_ = false;
    SideListEntries dropList_;  // no kind: the grid takes no drops
    bool followingDrag_ = false;
    std::function<bool()> invoice_;
};
