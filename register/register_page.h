#pragma once
#include "register/register_queries.h"
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class App;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QItemSelection;
class QLineEdit;
class QMenu;
class QScrollBar;
class QTableView;
class QTableWidget;
class QorCombo;
class RegisterModel;

// The register page (picKartoteka): the filter frame, the grid of stored documents and the sums
// row under it, with the grid's popup menu. It lists what the filters select, records payments
// (marking a document paid or unpaid, or typing its paid amount), marks and copies rows for a
// spreadsheet, and hands documents to printing. The statements are register_queries'.
class RegisterPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RegisterPage)
public:
    explicit RegisterPage(App& app, QWidget* parent = nullptr);
    App& app() const { return app_; }

    // The filters, the grid with its rows and the sums row, by their names in the program: only
    // for tests, benches and the screenshot tool, which click and type into the real page.
    QorCombo* cmbFDokument() const { return cmbFDokument_; }
    QLineEdit* txtFNazwa() const { return txtFNazwa_; }
    QorCombo* cmbFPlatfor() const { return cmbFPlatfor_; }
    QorCombo* cmbFMiesiac() const { return cmbFMiesiac_; }
    QCheckBox* cbFNiezaplacone() const { return cbFNiezaplacone_; }
    QCheckBox* cbFSumuj() const { return cbFSumuj_; }
    QTableView* gridKar() const { return gridKar_; }
    RegisterModel* dataKar() const { return dataKar_; }
    const QWidget* pboxSuma() const { return pboxSuma_; }
    const QTableWidget* gridSuma() const { return gridSuma_; }

    // The grid's popup menu (mnuPopKar) and its items, which the main window owns.
    struct Popup {
        QMenu* menu = nullptr;
        QAction* zaplacono = nullptr;
        QAction* niezaplacono = nullptr;
        QAction* drukuj = nullptr;
        QAction* wyslij = nullptr;
        QAction* zapisz = nullptr;
        QAction* zaznacz = nullptr;
        QAction* kopiuj = nullptr;
        QAction* odswiez = nullptr;
    };
    void setPopup(const Popup& popup);

    // The filters as they stand.
    RegisterFilter filter() const;

    // Attaching a database: the lists read it and the register is listed. The database let go of
    // last, attached again, shows the grid where it stood: its current row, its first row shown
    // and its marks. Throws AppError.
    void attach();
    // Lets go of the database before it is closed or replaced.
    void detach();
    // Reads the payment-form and month lists again (after a save), keeping the choices that
    // are still there. Throws AppError.
    void refillLists();

    // Lists the documents the filters select, from the first screen on, and the sums row when
    // it is shown. Throws AppError.
    void KartotekaOdswiez();
    // Marks the current row's document paid or unpaid; the sums row and the chart follow. Nothing
    // on an archive database (the read-only lock). Throws AppError.
    void KartotekaZaplacono(bool zaplacono);
    // Shows or hides the sums row as "Sumuj" says, with the sums of the listed documents.
    void cbFSumuj_Click();
    // Marks every listed row.
    void KarMarkAll();
    // Puts the captions and the marked rows (in the order they were marked) on the clipboard as
    // tab-separated lines, then clears the marks.
    void KarCopyClipboard();

    // The current row of the grid, -1 when there is none.
    int currentRow() const;
    // The marked rows in the order they were marked.
    const std::vector<int>& markedRows() const { return marked_; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The right button on the grid: makes the row under the pointer current, sets the items by
    // it and shows the popup. Any other button does nothing.
    void gridKar_MouseDown(Qt::MouseButton button, const QPoint& pos);
    // Sets the popup's items for the current row: the row commands only with a row, "Zapłacone"
    // or "Niezapłacone" by whether it is paid in full (neither on an archive database).
    void preparePopup();
    // Keeps the grid and the frame across the page, and the sums row right under the grid.
    void picKartoteka_Resize();
    // Runs a handler of the page; an error is reported with `where` and the page carries on.
    template <class F>
    void guarded(const char* where, F&& f);
    // Asks for the sums of the listed documents: read on the background connection and shown
    // once read; while the page is hidden, asked for again when it is shown.
    void sumsExecute();
    // The sums read on the window's thread: without a background connection, or when the read
    // there failed (a failure of the statement itself is reported from here).
    void sumsHere(const RegisterFilter& f);
    void showSums(const RegisterFilter& f, const std::vector<db::Value>& sums);
    // Counts the rows not read yet a moment after the list is shown, so that the scroll bar
    // stands for the whole list before it is dragged.
    void countShownLater();
    // Brings back the current row, the scroll position and the marks kept by detach().
    void restorePlace();
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void print(const QString& action);

    // Controls, by their names in the program (their object names).
    QGroupBox* fraFiltr_;
    QorCombo* cmbFDokument_;
    QLineEdit* txtFNazwa_;
    QorCombo* cmbFPlatfor_;
    QorCombo* cmbFMiesiac_;
    QCheckBox* cbFNiezaplacone_;  // object name "cbFNiezapłacone"
    QCheckBox* cbFSumuj_;
    QTableView* gridKar_;
    RegisterModel* dataKar_;
    QWidget* pboxSuma_;
    QTableWidget* gridSuma_;
    QScrollBar* scrSuma_;
    QFrame* lineSuma_;

    App& app_;
    Popup popup_;
    std::vector<int> marked_;
    std::vector<char> isMarked_;
    bool sumsShown_ = false;  // the sums row is shown under the grid
    // The filter whose sums the row shows; none while it is blank. Sums of another filter
    // are never shown under the list: the row is blank until the list's own arrive.
    std::optional<RegisterFilter> sumsOf_;
    // The last request, also read by the background connection's thread: earlier ones are
    // neither read nor shown.
    std::shared_ptr<std::atomic<quint64>> sumsAsked_ = std::make_shared<std::atomic<quint64>>(0);
    bool sumsStale_ = false;  // asked for while the page was hidden
    // Where the grid stood when the database was let go of.
    struct Place {
        QString database;
        int current = -1;
        int firstShown = 0;
        std::vector<int> marked;
    } kept_;
};
