#include "register/register_page.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/shared_procs.h"
#include "platform/busy_pointer.h"
#include "platform/named.h"
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
    fraFiltr = named(new QGroupBox(this), "fraFiltr");
    fraFiltr->setTitle("Filtr");
    place(fraFiltr, 150, 30, 11160, 855);
    label(fraFiltr, "Dokument", 120, 240, 1800);
    cmbFDokument = named(new QorCombo(fraFiltr), "cmbFDokument");
    place(cmbFDokument, 120, 450, 1800, 315);
    label(fraFiltr, "Nazwa kontrahenta", 2040, 240, 2600);
    txtFNazwa = named(new QLineEdit(fraFiltr), "txtFNazwa");
    place(txtFNazwa, 2040, 450, 2600, 315);
    label(fraFiltr, "Forma płatności", 4760, 240, 1800);
    cmbFPlatfor = named(new QorCombo(fraFiltr), "cmbFPlatfor");
    place(cmbFPlatfor, 4760, 450, 1800, 315);
    label(fraFiltr, "Miesiąc.rok", 6680, 240, 1400);
    cmbFMiesiac = named(new QorCombo(fraFiltr), "cmbFMiesiac");
    place(cmbFMiesiac, 6680, 450, 1400, 315);
    cbFNiezaplacone = named(new QCheckBox(fraFiltr), "cbFNiezapłacone");
    cbFNiezaplacone->setText(QString::fromUtf8("Niezapłacone"));
    place(cbFNiezaplacone, 8240, 480, 1500, 255);
    cbFSumuj = named(new QCheckBox(fraFiltr), "cbFSumuj");
    cbFSumuj->setText("Sumuj");
    place(cbFSumuj, 9840, 480, 1100, 255);

    // Each list has an item that stands for no filter; the kinds are this program's own.
    for (QorCombo* c : {cmbFDokument, cmbFPlatfor, cmbFMiesiac}) c->setEmptyText(kAll);
    cmbFDokument->setRowSource(QStringLiteral("LIST FR;FR|KFR;KFR"));
    cmbFDokument->Refill();

    gridKar = new RegisterGrid(this);
    gridKar->setObjectName("gridKar");
    place(gridKar, 150, 1020, 3435, 1605);
    dataKar = new RegisterModel(app_, this);
    gridKar->setModel(dataKar);
    gridKar->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridKar->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gridKar->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    gridKar->setWordWrap(false);
    gridKar->verticalHeader()->setFixedWidth(16);
    gridKar->verticalHeader()->setDefaultSectionSize(gridKar->fontMetrics().height() + 4);
    gridKar->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridKar->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {900,  1400, 1100, 1100, 1500, 1500, 3000, 2500, 1300, 1300, 1200,
                          1300, 1100, 1100, 1200, 1400, 600,  1700, 1500, 2000, 1500};
    // At least as wide as the caption, and an amount column as an amount of tens of millions.
    const QFontMetrics header(gridKar->horizontalHeader()->font());
    const int amount = gridKar->fontMetrics().horizontalAdvance(QStringLiteral("99 999 999,99")) + 12;
    for (int i = 0; i < int(std::size(widths)); ++i) {
        const RegisterColumn& c = registerColumns()[size_t(i)];
        gridKar->setColumnWidth(i, std::max({px(widths[i]), header.horizontalAdvance(c.caption) + 12,
                                             c.kind == ColumnKind::Amount ? amount : 0}));
    }
    gridKar->viewport()->installEventFilter(this);

    pboxSuma = named(new QWidget(this), "pboxSuma");
    place(pboxSuma, 120, 3105, 6180, 495);
    pboxSuma->hide();
    pboxSuma->installEventFilter(this);
    gridSuma = named(new QTableWidget(pboxSuma), "gridSuma");
    scrSuma = named(new QScrollBar(pboxSuma), "scrSuma");
    scrSuma->setOrientation(Qt::Vertical);
    scrSuma->setEnabled(false);
    lineSuma = named(new QFrame(pboxSuma), "lineSuma");
    lineSuma->setFrameShape(QFrame::HLine);
    GridSumLink(gridKar, pboxSuma, gridSuma);

    auto refresh = [this] { guarded("KartotekaOdswiez", [this] { KartotekaOdswiez(); }); };
    for (QorCombo* c : {cmbFDokument, cmbFPlatfor, cmbFMiesiac}) connect(c, &QorCombo::Change, this, refresh);
    connect(cbFNiezaplacone, &QCheckBox::clicked, this, refresh);
    connect(txtFNazwa, &QLineEdit::returnPressed, this, refresh);
    connect(cbFSumuj, &QCheckBox::clicked, this, [this] { guarded("cbFSumuj_Click", [this] { cbFSumuj_Click(); }); });
    connect(dataKar, &RegisterModel::paidEdited, this, [this] {
        guarded("gridKar_BeforeColUpdate", [this] {
            cbFSumuj_Click();
            WykresOdswiez(app_);
        });
    });
    connect(dataKar, &LazyQueryModel::readFailed, this, [this](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (...) {
            ErrorReport(app_, QStringLiteral("KartotekaOdswiez"));
        }
    });
    connect(gridKar->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RegisterPage::selectionChanged);
    connect(dataKar, &QAbstractItemModel::modelReset, this, [this] {
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
    isMarked_.resize(size_t(dataKar->rowCount()), 0);
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
            KartotekaDrukuj(app_, dataKar->value(row, "Inddok").toText(), dataKar->value(row, "Numer").toText());
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
    const QString kind = dataKar->value(row, "Inddok").toText();
    const QString numer = dataKar->value(row, "Numer").toText();
    const QString date = dataKar->index(row, registerColumn("Datawyst")).data().toString();
    KartotekaRepPrint(app_, action, kind, numer, date);
}

RegisterFilter RegisterPage::filter() const
{
    RegisterFilter f;
    f.dokument = cmbFDokument->boundValue().toString();
    f.nazwa = txtFNazwa->text();
    f.niezaplacone = cbFNiezaplacone->isChecked();
    if (!cmbFPlatfor->boundValue().toString().isEmpty()) f.platfor = cmbFPlatfor->text();
    f.miesiac = cmbFMiesiac->boundValue().toString();
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
    kept_ = {app_.gBaseDb ? app_.gBaseDb->path() : QString(), currentRow(), gridKar->verticalScrollBar()->value(),
             marked_};
    dataKar->clear();
}

void RegisterPage::restorePlace()
{
    int needed = std::max(kept_.current, kept_.firstShown + gridKar->verticalScrollBar()->pageStep());
    for (int r : kept_.marked) needed = std::max(needed, r);
    while (dataKar->rowCount() <= needed && dataKar->fetchNext()) {}
    const int rows = dataKar->rowCount();
    // Marked again in the order they were marked, so that a copy keeps that order.
    for (int r : kept_.marked)
        if (r < rows)
            gridKar->selectionModel()->select(dataKar->index(r, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (kept_.current >= 0 && kept_.current < rows)
        gridKar->selectionModel()->setCurrentIndex(
            dataKar->index(kept_.current, std::max(gridKar->currentIndex().column(), 0)),
            QItemSelectionModel::NoUpdate);
    gridKar->verticalScrollBar()->setValue(kept_.firstShown);
}

void RegisterPage::refillLists()
{
    if (!app_.gBaseDb) return;
    ChangeGuard quiet{cmbFPlatfor, cmbFMiesiac};
    cmbFPlatfor->Refill(paymentForms(*app_.gBaseDb));
    cmbFMiesiac->Refill(issueMonths(*app_.gBaseDb));
}

void RegisterPage::KartotekaOdswiez()
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) {
        dataKar->clear();
        return;
    }
    dataKar->read(filter());
    if (sumsShown_) sumsExecute();
    countShownLater();
}

void RegisterPage::countShownLater()
{
    if (!isVisible() || dataKar->atEnd()) return;
    // After the first screen is painted.
    QTimer::singleShot(100, this, [this] {
        if (!isVisible() || dataKar->atEnd()) return;
        ui::BusyPointer busy;
        dataKar->fetchMore({});
    });
}

void RegisterPage::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    countShownLater();
}

void RegisterPage::sumsExecute()
{
    try {
        QStringList texts;
        std::vector<bool> right;
        const std::vector<db::Value> sums = registerSums(*app_.gBaseDb, filter());
        const auto& columns = registerColumns();
        for (size_t i = 0; i < columns.size(); ++i) {
            texts << cellText(columns[i], sums[i]);
            right.push_back(columns[i].kind == ColumnKind::Amount);
        }
        GridSumExecute(texts, right, gridKar, gridSuma);
    } catch (...) {
        ErrorReport(app_, QStringLiteral("GridSumExecute"));
    }
}

void RegisterPage::cbFSumuj_Click()
{
    setUpdatesEnabled(false);
    sumsShown_ = cbFSumuj->isChecked();
    GridSumActivate(sumsShown_, gridKar, pboxSuma, gridSuma, 30);
    if (sumsShown_ && app_.gBaseDb) sumsExecute();
    picKartoteka_Resize();
    setUpdatesEnabled(true);
}

void RegisterPage::KartotekaZaplacono(bool zaplacono)
{
    const int row = currentRow();
    if (row < 0 || !app_.gBaseDb || app_.gBazaPar.BazaOdczyt) return;
    markPaid(*app_.gBaseDb, dataKar->rowid(row), zaplacono);
    dataKar->reread(row);
    cbFSumuj_Click();
    WykresOdswiez(app_);
}

int RegisterPage::currentRow() const
{
    const QModelIndex i = gridKar->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void RegisterPage::preparePopup()
{
    if (!popup_.menu) return;
    const int row = currentRow();
    const bool hasRow = row >= 0;
    bool paid = false;
    if (hasRow) {
        const db::Value& zaplacono = dataKar->value(row, "Zaplacono");
        const db::Value& doZaplaty = dataKar->value(row, "DoZaplaty");
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
    const QModelIndex at = gridKar->indexAt(pos);
    if (at.isValid()) gridKar->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    preparePopup();
    popup_.menu->popup(gridKar->viewport()->mapToGlobal(pos));
}

bool RegisterPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gridKar->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            gridKar_MouseDown(e->button(), e->position().toPoint());
            return true;
        }
    } else if (watched == pboxSuma && event->type() == QEvent::Resize) {
        pboxSuma_Resize(pboxSuma, gridSuma, scrSuma, lineSuma);
    }
    return QWidget::eventFilter(watched, event);
}

void RegisterPage::KarMarkAll()
{
    ui::BusyPointer busy;
    StatusInfo(QStringLiteral("Zaznaczanie wierszy..."));
    const int first = gridKar->verticalScrollBar()->value();
    const QModelIndex current = gridKar->currentIndex();
    // Every listed row, by the list's length: the rows not read yet are counted, not read.
    try {
        dataKar->countRest();
    } catch (...) {
        // As the list stands: the rows listed so far are marked.
    }
    gridKar->selectAll();
    gridKar->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    gridKar->verticalScrollBar()->setValue(first);
    StatusInfo(QString());
}

void RegisterPage::KarCopyClipboard()
{
    StatusInfo(QStringLiteral("Kopiowanie wierszy do schowka...."));
    ui::BusyPointer busy;
    const int first = gridKar->verticalScrollBar()->value();
    const QModelIndex current = gridKar->currentIndex();
    // Each row read as it is copied; parts passed are let go on the way. The window keeps
    // painting meanwhile, the user's clicks and keys held back until the copy is done.
    const std::vector<int> rows = marked_;
    QElapsedTimer painted;
    painted.start();
    const QByteArray text = copyText(qint64(rows.size()), [&](qint64 k) -> const db::Row& {
        if (painted.elapsed() >= kPaintEvery) {
            ui::repaintNow();
            painted.restart();
        }
        if (k % LazyQueryModel::kPart == 0) dataKar->letGo();
        return dataKar->row(rows[size_t(k)]);
    });
    // Reading every row filled the connection's cache with pages no next step needs.
    if (app_.gBaseDb) app_.gBaseDb->releaseCache();
    gridKar->clearSelection();
    gridKar->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    gridKar->verticalScrollBar()->setValue(first);
    // The text as it is, in the form the clipboard hands on: nothing is converted or copied
    // again, neither now nor when it is pasted.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), text);
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data);
    StatusInfo(QString());
}

void RegisterPage::resizeEvent(QResizeEvent*)
{
    picKartoteka_Resize();
    if (sumsShown_) GridSumResize(0, gridKar, pboxSuma, gridSuma);
}

void RegisterPage::picKartoteka_Resize()
{
    setWidth(gridKar, widthOf(this) - 2 * leftOf(gridKar) - 120);
    setHeight(gridKar, heightOf(this) - topOf(gridKar) - 220);
    setWidth(fraFiltr, widthOf(gridKar));
    setWidth(pboxSuma, widthOf(gridKar) + 30);
    if (sumsShown_) {
        setHeight(gridKar, heightOf(gridKar) - heightOf(pboxSuma));
        setTop(pboxSuma, topOf(gridKar) + heightOf(gridKar));
    }
}
