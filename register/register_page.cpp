#include "register/register_page.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/error_report.h"
#include "core/shared_procs.h"
#include "platform/app_error.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/named.h"
#include "platform/process_memory.h"
#include "platform/qor_combo.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include "register/register_columns.h"
#include "register/register_model.h"
#include "register/services.h"
#include "register/sums_row.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

using namespace twips;

namespace {

QLabel* label(QWidget* parent, const char* text, int l, int t, int w)
{
    auto* lab = new QLabel(QString::fromUtf8(text), parent);
    place(lab, l, t, w, 225);
    return lab;
}

// The register grid: a click or a key on the cells moves the current cell and marks nothing;
// rows are marked on their record selectors (the row header), Ctrl adding to the marks and Shift
// marking a range.
class RegisterGrid : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        inCells([&] { QTableView::mousePressEvent(e); });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        inCells([&] { QTableView::mouseMoveEvent(e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        inCells([&] { QTableView::mouseReleaseEvent(e); });
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        inCells([&] { QTableView::keyPressEvent(e); });
    }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        return cells_ ? QItemSelectionModel::NoUpdate : QTableView::selectionCommand(index, event);
    }
    // Ctrl+End and Page Down go by the whole list: the rows not read yet are counted first (the
    // model's fetchMore), so that they reach the last document.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        const bool toEnd = action == MoveEnd && (modifiers & Qt::ControlModifier);
        if ((toEnd || action == MovePageDown) && model() && model()->canFetchMore(rootIndex())) {
            ui::BusyPointer busy;
            model()->fetchMore(rootIndex());
        }
        // Also before any cell was current.
        if (toEnd && model() && model()->rowCount(rootIndex()) > 0)
            return model()->index(model()->rowCount(rootIndex()) - 1, std::max(currentIndex().column(), 0),
                                  rootIndex());
        return QTableView::moveCursor(action, modifiers);
    }

private:
    template <class F>
    void inCells(F&& f)
    {
        cells_ = true;
        f();
        cells_ = false;
    }
    bool cells_ = false;
};

const QString kAll = QStringLiteral("(wszystkie)");

// How often a long step lets the window paint, in milliseconds.
constexpr int kPaintEvery = 50;

}  // namespace

RegisterPage::RegisterPage(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("picKartoteka");
    fraFiltr_ = named(new QGroupBox(this), "fraFiltr");
    fraFiltr_->setTitle("Filtr");
    place(fraFiltr_, 150, 30, 11160, 855);
    label(fraFiltr_, "Dokument", 120, 240, 1800);
    cmbFDokument_ = named(new QorCombo(fraFiltr_), "cmbFDokument");
    place(cmbFDokument_, 120, 450, 1800, 315);
    label(fraFiltr_, "Nazwa kontrahenta", 2040, 240, 2600);
    txtFNazwa_ = named(new QLineEdit(fraFiltr_), "txtFNazwa");
    place(txtFNazwa_, 2040, 450, 2600, 315);
    label(fraFiltr_, "Forma płatności", 4760, 240, 1800);
    cmbFPlatfor_ = named(new QorCombo(fraFiltr_), "cmbFPlatfor");
    place(cmbFPlatfor_, 4760, 450, 1800, 315);
    label(fraFiltr_, "Miesiąc.rok", 6680, 240, 1400);
    cmbFMiesiac_ = named(new QorCombo(fraFiltr_), "cmbFMiesiac");
    place(cmbFMiesiac_, 6680, 450, 1400, 315);
    cbFNiezaplacone_ = named(new QCheckBox(fraFiltr_), "cbFNiezapłacone");
    cbFNiezaplacone_->setText(QString::fromUtf8("Niezapłacone"));
    place(cbFNiezaplacone_, 8240, 480, 1500, 255);
    cbFSumuj_ = named(new QCheckBox(fraFiltr_), "cbFSumuj");
    cbFSumuj_->setText("Sumuj");
    place(cbFSumuj_, 9840, 480, 1100, 255);

    // Each list has an item that stands for no filter; the kinds are this program's own.
    for (QorCombo* c : {cmbFDokument_, cmbFPlatfor_, cmbFMiesiac_}) c->setEmptyText(kAll);
    cmbFDokument_->setRowSource(QStringLiteral("LIST FR;FR|KFR;KFR"));
    cmbFDokument_->Refill();

    gridKar_ = new RegisterGrid(this);
    gridKar_->setObjectName("gridKar");
    place(gridKar_, 150, 1020, 3435, 1605);
    dataKar_ = new RegisterModel(app_, this);
    gridKar_->setModel(dataKar_);
    gridKar_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridKar_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gridKar_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    gridKar_->setWordWrap(false);
    gridKar_->verticalHeader()->setFixedWidth(16);
    gridKar_->verticalHeader()->setDefaultSectionSize(gridKar_->fontMetrics().height() + 4);
    gridKar_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridKar_->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {900,  1400, 1100, 1100, 1500, 1500, 3000, 2500, 1300, 1300, 1200,
                          1300, 1100, 1100, 1200, 1400, 600,  1700, 1500, 2000, 1500};
    // At least as wide as the caption, and an amount column as an amount of tens of millions.
    const QFontMetrics header(gridKar_->horizontalHeader()->font());
    const int amount = gridKar_->fontMetrics().horizontalAdvance(QStringLiteral("99 999 999,99")) + 12;
    for (int i = 0; i < int(std::size(widths)); ++i) {
        const RegisterColumn& c = registerColumns()[size_t(i)];
        gridKar_->setColumnWidth(i, std::max({px(widths[i]), header.horizontalAdvance(c.caption) + 12,
                                              c.kind == ColumnKind::Amount ? amount : 0}));
    }
    gridKar_->viewport()->installEventFilter(this);

    pboxSuma_ = named(new QWidget(this), "pboxSuma");
    place(pboxSuma_, 120, 3105, 6180, 495);
    pboxSuma_->hide();
    pboxSuma_->installEventFilter(this);
    gridSuma_ = named(new QTableWidget(pboxSuma_), "gridSuma");
    scrSuma_ = named(new QScrollBar(pboxSuma_), "scrSuma");
    scrSuma_->setOrientation(Qt::Vertical);
    scrSuma_->setEnabled(false);
    lineSuma_ = named(new QFrame(pboxSuma_), "lineSuma");
    lineSuma_->setFrameShape(QFrame::HLine);
    GridSumLink(gridKar_, pboxSuma_, gridSuma_);

    auto refresh = [this] { guarded("KartotekaOdswiez", [this] { KartotekaOdswiez(); }); };
    for (QorCombo* c : {cmbFDokument_, cmbFPlatfor_, cmbFMiesiac_}) connect(c, &QorCombo::Change, this, refresh);
    connect(cbFNiezaplacone_, &QCheckBox::clicked, this, refresh);
    connect(txtFNazwa_, &QLineEdit::returnPressed, this, refresh);
    connect(cbFSumuj_, &QCheckBox::clicked, this, [this] { guarded("cbFSumuj_Click", [this] { cbFSumuj_Click(); }); });
    connect(dataKar_, &RegisterModel::paidEdited, this, [this] {
        guarded("gridKar_BeforeColUpdate", [this] {
            cbFSumuj_Click();
            WykresOdswiez(app_);
        });
    });
    connect(dataKar_, &RegisterModel::paidRefused, this, [this] {
        ui::msgBox(QStringLiteral("Wpisana wartość nie jest kwotą. Wpisz kwotę zapłaty cyframi (część ułamkową oddziel "
                                  "przecinkiem) albo usuń zawartość pola, aby oznaczyć dokument jako niezapłacony. "
                                  "Poprzednia wartość pozostaje bez zmian."),
                   ui::Buttons::Ok, ui::Icon::Exclamation, app_.title);
    });
    connect(dataKar_, &LazyQueryModel::readFailed, this, [this](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (...) {
            ErrorReport(app_, QStringLiteral("KartotekaOdswiez"));
        }
    });
    connect(gridKar_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RegisterPage::selectionChanged);
    connect(dataKar_, &QAbstractItemModel::modelReset, this, [this] {
        marked_.clear();
        isMarked_.clear();
    });
}

template <class F>
void RegisterPage::guarded(const char* where, F&& f)
{
    try {
        f();
    } catch (...) {
        ErrorReport(app_, QString::fromUtf8(where));
    }
}

// Keeps the marked rows in the order they were marked, as the user added them.
void RegisterPage::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    isMarked_.resize(size_t(dataKar_->rowCount()), 0);
    bool dropped = false;
    for (const QItemSelectionRange& r : deselected)
        for (int row = r.top(); row <= r.bottom(); ++row)
            if (isMarked_[size_t(row)]) isMarked_[size_t(row)] = 0, dropped = true;
    if (dropped) std::erase_if(marked_, [this](int row) { return !isMarked_[size_t(row)]; });
    for (const QItemSelectionRange& r : selected)
        for (int row = r.top(); row <= r.bottom(); ++row)
            if (!isMarked_[size_t(row)]) {
                isMarked_[size_t(row)] = 1;
                marked_.push_back(row);
            }
}

void RegisterPage::setPopup(const Popup& popup)
{
    popup_ = popup;
    connect(popup.zaplacono, &QAction::triggered, this,
            [this] { guarded("KartotekaZaplacono", [this] { KartotekaZaplacono(true); }); });
    connect(popup.niezaplacono, &QAction::triggered, this,
            [this] { guarded("KartotekaZaplacono", [this] { KartotekaZaplacono(false); }); });
    connect(popup.drukuj, &QAction::triggered, this, [this] {
        const int row = currentRow();
        if (row >= 0)
            KartotekaDrukuj(app_, dataKar_->value(row, "Inddok").toText(), dataKar_->value(row, "Numer").toText());
    });
    connect(popup.wyslij, &QAction::triggered, this, [this] { print(QStringLiteral("wyslij")); });
    connect(popup.zapisz, &QAction::triggered, this, [this] { print(QStringLiteral("zapisz")); });
    connect(popup.zaznacz, &QAction::triggered, this, &RegisterPage::KarMarkAll);
    connect(popup.kopiuj, &QAction::triggered, this, &RegisterPage::KarCopyClipboard);
    connect(popup.odswiez, &QAction::triggered, this,
            [this] { guarded("KartotekaOdswiez", [this] { KartotekaOdswiez(); }); });
}

// Sending and saving from the register: the document's number and its issue date as the grid
// shows it, so that a saved file is proposed under the document's own name.
void RegisterPage::print(const QString& action)
{
    const int row = currentRow();
    if (row < 0) return;
    const QString kind = dataKar_->value(row, "Inddok").toText();
    const QString numer = dataKar_->value(row, "Numer").toText();
    const QString date = dataKar_->index(row, registerColumn("Datawyst")).data().toString();
    KartotekaRepPrint(app_, action, kind, numer, date);
}

RegisterFilter RegisterPage::filter() const
{
    RegisterFilter f;
    f.dokument = cmbFDokument_->boundValue().toString();
    f.nazwa = txtFNazwa_->text();
    f.niezaplacone = cbFNiezaplacone_->isChecked();
    if (!cmbFPlatfor_->boundValue().toString().isEmpty()) f.platfor = cmbFPlatfor_->text();
    f.miesiac = cmbFMiesiac_->boundValue().toString();
    return f;
}

void RegisterPage::attach()
{
    refillLists();
    KartotekaOdswiez();
    if (app_.gBaseDb && kept_.database == app_.gBaseDb->path()) restorePlace();
    kept_ = {};
}

void RegisterPage::detach()
{
    // The rows go with the database; where the grid stood is kept for the same database's return.
    kept_ = {app_.gBaseDb ? app_.gBaseDb->path() : QString(), currentRow(), gridKar_->verticalScrollBar()->value(),
             marked_};
    dataKar_->clear();
    // The sums shown are the database's let go of: the next database's sums are read anew.
    sumsOf_.reset();
    ++*sumsAsked_;
}

void RegisterPage::restorePlace()
{
    int needed = std::max(kept_.current, kept_.firstShown + gridKar_->verticalScrollBar()->pageStep());
    for (int r : kept_.marked) needed = std::max(needed, r);
    while (dataKar_->rowCount() <= needed && dataKar_->fetchNext()) {}
    const int rows = dataKar_->rowCount();
    // Marked again in the order they were marked, so that a copy keeps that order.
    for (int r : kept_.marked)
        if (r < rows)
            gridKar_->selectionModel()->select(dataKar_->index(r, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (kept_.current >= 0 && kept_.current < rows)
        gridKar_->selectionModel()->setCurrentIndex(
            dataKar_->index(kept_.current, std::max(gridKar_->currentIndex().column(), 0)),
            QItemSelectionModel::NoUpdate);
    gridKar_->verticalScrollBar()->setValue(kept_.firstShown);
}

void RegisterPage::refillLists()
{
    if (!app_.gBaseDb) return;
    ChangeGuard quiet{cmbFPlatfor_, cmbFMiesiac_};
    cmbFPlatfor_->Refill(paymentForms(*app_.gBaseDb));
    cmbFMiesiac_->Refill(issueMonths(*app_.gBaseDb));
}

void RegisterPage::KartotekaOdswiez()
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) {
        dataKar_->clear();
        return;
    }
    dataKar_->read(filter());
    if (sumsShown_) sumsExecute();
    countShownLater();
}

void RegisterPage::countShownLater()
{
    if (!isVisible() || dataKar_->atEnd()) return;
    // After the first screen is painted.
    QTimer::singleShot(100, this, [this] {
        if (!isVisible() || dataKar_->atEnd()) return;
        ui::BusyPointer busy;
        dataKar_->fetchMore({});
    });
}

void RegisterPage::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    countShownLater();
    if (sumsShown_ && sumsStale_) sumsExecute();
}

void RegisterPage::sumsExecute()
{
    if (!app_.gBaseDb) return;
    const RegisterFilter f = filter();
    const quint64 asked = ++*sumsAsked_;
    if (sumsOf_ != f) {
        GridSumExecute({}, {}, gridKar_, gridSuma_);
        sumsOf_.reset();
    }
    // Nobody sees them now: read when the page is shown.
    sumsStale_ = !isVisible();
    if (sumsStale_) return;
    // A whole-file sum: off the window's thread, so that a save or a paid mark does not wait for it.
    BackgroundDatabase& watch = backgroundDatabase(app_);
    const bool queued = watch.read([page = QPointer<RegisterPage>(this), latest = sumsAsked_, asked,
                                    f](db::Database& d) -> BackgroundDatabase::Delivery {
        // Asked for again meanwhile (another save, another filter): only the last one is read.
        if (*latest != asked) return {};
        std::optional<std::vector<db::Value>> sums;
        try {
            sums = registerSums(d, f);
        } catch (const AppError& e) {
            // A damaged page is the watch's to report, a file held by another workstation is read
            // again there; any other failure (the read stopped for the program's own write more
            // often than the watch tries again, or the statement's own) is left to the window.
            if (e.number() == err::kDamaged || e.number() == err::kTableLocked) throw;
        } catch (...) {
        }
        return [page, latest, asked, f, sums = std::move(sums)] {
            if (!page || !page->sumsShown_ || *latest != asked) return;
            if (sums)
                page->showSums(f, *sums);
            else
                page->sumsHere(f);
        };
    });
    if (queued) {
        if (watch.started()) watch.start();
        return;
    }
    sumsHere(f);
}

void RegisterPage::sumsHere(const RegisterFilter& f)
{
    try {
        if (app_.gBaseDb) showSums(f, registerSums(*app_.gBaseDb, f));
    } catch (...) {
        ErrorReport(app_, QStringLiteral("GridSumExecute"));
    }
}

void RegisterPage::showSums(const RegisterFilter& f, const std::vector<db::Value>& sums)
{
    QStringList texts;
    std::vector<bool> right;
    const auto& columns = registerColumns();
    for (size_t i = 0; i < columns.size(); ++i) {
        texts << cellText(columns[i], sums[i]);
        right.push_back(columns[i].kind == ColumnKind::Amount);
    }
    GridSumExecute(texts, right, gridKar_, gridSuma_);
    sumsOf_ = f;
}

void RegisterPage::cbFSumuj_Click()
{
    setUpdatesEnabled(false);
    sumsShown_ = cbFSumuj_->isChecked();
    GridSumActivate(sumsShown_, gridKar_, pboxSuma_, gridSuma_, 30);
    if (sumsShown_ && app_.gBaseDb) sumsExecute();
    picKartoteka_Resize();
    setUpdatesEnabled(true);
}

void RegisterPage::KartotekaZaplacono(bool zaplacono)
{
    const int row = currentRow();
    if (row < 0 || !app_.gBaseDb || app_.gBazaPar.BazaOdczyt) return;
    markPaid(*app_.gBaseDb, dataKar_->rowid(row), zaplacono);
    dataKar_->reread(row);
    cbFSumuj_Click();
    WykresOdswiez(app_);
}

int RegisterPage::currentRow() const
{
    const QModelIndex i = gridKar_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void RegisterPage::preparePopup()
{
    if (!popup_.menu) return;
    const int row = currentRow();
    const bool hasRow = row >= 0;
    bool paid = false;
    if (hasRow) {
        const db::Value& zaplacono = dataKar_->value(row, "Zaplacono");
        const db::Value& doZaplaty = dataKar_->value(row, "DoZaplaty");
        paid = !zaplacono.isNull() && !doZaplaty.isNull() && zaplacono.toDecimal() == doZaplaty.toDecimal();
    }
    // Payments are not recorded on an archive database.
    const bool locked = app_.gBazaPar.BazaOdczyt;
    popup_.zaplacono->setEnabled(hasRow && !paid && !locked);
    popup_.niezaplacono->setEnabled(hasRow && paid && !locked);
    for (QAction* a : {popup_.drukuj, popup_.wyslij, popup_.zapisz}) a->setEnabled(hasRow);
}

void RegisterPage::gridKar_MouseDown(Qt::MouseButton button, const QPoint& pos)
{
    if (button != Qt::RightButton || !popup_.menu) return;
    const QModelIndex at = gridKar_->indexAt(pos);
    if (at.isValid()) gridKar_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    preparePopup();
    popup_.menu->popup(gridKar_->viewport()->mapToGlobal(pos));
}

bool RegisterPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gridKar_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            gridKar_MouseDown(e->button(), e->position().toPoint());
            return true;
        }
    } else if (watched == pboxSuma_ && event->type() == QEvent::Resize) {
        pboxSuma_Resize(pboxSuma_, gridSuma_, scrSuma_, lineSuma_);
    }
    return QWidget::eventFilter(watched, event);
}

void RegisterPage::KarMarkAll()
{
    ui::LongStep step;
    StatusInfo(QStringLiteral("Zaznaczanie wierszy..."));
    const int first = gridKar_->verticalScrollBar()->value();
    const QModelIndex current = gridKar_->currentIndex();
    // Every listed row, by the list's length: the rows not read yet are counted, not read.
    try {
        dataKar_->countRest();
    } catch (...) {
        // As the list stands: the rows listed so far are marked.
    }
    gridKar_->selectAll();
    gridKar_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    gridKar_->verticalScrollBar()->setValue(first);
    StatusInfo(QString());
}

void RegisterPage::KarCopyClipboard()
{
    StatusInfo(QStringLiteral("Kopiowanie wierszy do schowka...."));
    ui::LongStep step;
    const int first = gridKar_->verticalScrollBar()->value();
    const QModelIndex current = gridKar_->currentIndex();
    // The text copied before is let go of first, so that two copies are never held at once.
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    // Each row read as it is copied; parts passed are let go on the way. The window keeps
    // painting meanwhile; the user's clicks and keys of the copy are dropped.
    const std::vector<int> rows = marked_;
    QElapsedTimer painted;
    painted.start();
    const QByteArray text = copyText(qint64(rows.size()), [&](qint64 k) -> const db::Row& {
        if (painted.elapsed() >= kPaintEvery) {
            ui::repaintNow();
            painted.restart();
        }
        if (k % LazyQueryModel::kPart == 0) dataKar_->letGo();
        return dataKar_->row(rows[size_t(k)]);
    });
    // Reading every row filled the connection's cache with pages no next step needs.
    if (app_.gBaseDb) app_.gBaseDb->releaseCache();
    gridKar_->clearSelection();
    gridKar_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    gridKar_->verticalScrollBar()->setValue(first);
    // The text as it is, in the form the clipboard hands on: nothing is converted or copied
    // again, neither now nor when it is pasted.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), text);
    clipboard->setMimeData(data);
    // What the rows and the text's growing took is handed back: the program keeps the text alone.
    memory::returnFreePages();
    StatusInfo(QString());
}

void RegisterPage::resizeEvent(QResizeEvent*)
{
    picKartoteka_Resize();
    if (sumsShown_) GridSumResize(0, gridKar_, pboxSuma_, gridSuma_);
}

void RegisterPage::picKartoteka_Resize()
{
    setWidth(gridKar_, widthOf(this) - 2 * leftOf(gridKar_) - 120);
    setHeight(gridKar_, heightOf(this) - topOf(gridKar_) - 220);
    setWidth(fraFiltr_, widthOf(gridKar_));
    setWidth(pboxSuma_, widthOf(gridKar_) + 30);
    if (sumsShown_) {
        setHeight(gridKar_, heightOf(gridKar_) - heightOf(pboxSuma_));
        setTop(pboxSuma_, topOf(gridKar_) + heightOf(gridKar_));
    }
}
