#include "editor/document_form.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/buffer.h"
#include "documents/numbering.h"
#include "documents/payment_terms.h"
#include "documents/validation.h"
#include "editor/header_fields.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/date_text.h"
#include "platform/message_box.h"
#include "platform/named.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace twips;

namespace {

const char* kKinds = "LIST FR;Faktura VAT RR|KFR;Korekta faktury VAT RR";
// The promotion funds to which a buyer deducts 0.1 % of the net value.
const char* kFunds = "LIST 1;Fundusz Promocji Mleka|2;Fundusz Promocji Mięsa Wołowego|3;Fundusz Promocji Mięsa "
                     "Wieprzowego|4;Fundusz Promocji Mięsa Końskiego|5;Fundusz Promocji Mięsa Owczego|6;Fundusz "
                     "Promocji Ziarna Zbóż i Przetworów Zbożowych|7;Fundusz Promocji Owoców i Warzyw|8;Fundusz "
                     "Promocji Ryb|9;Fundusz Promocji Drobiu";

template <class W>
W* make(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* x = named(new W(parent), QString::fromUtf8(name));
    place(x, l, t, w, h);
    return x;
}

// A total on the form: computed, never typed.
QorNumber* amountField(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* f = make<QorNumber>(parent, name, l, t, w, h);
    f->setLocked(true);
    return f;
}

// A caption over a field; `w` is the room it has up to the next caption of its row.
QLabel* label(QWidget* parent, const char* name, const char* text, int l, int t, int w)
{
    auto* lab = new QLabel(QString::fromUtf8(text), parent);
    lab->setObjectName(QString::fromUtf8(name));
    place(lab, l, t, w, 210);
    return lab;
}

QLineEdit* textBox(QWidget* parent, const char* name, int maxLength, int l, int t, int w)
{
    auto* e = make<QLineEdit>(parent, name, l, t, w, 315);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QComboBox* freeCombo(QWidget* parent, const char* name, QStringList items, int l, int t, int w)
{
    auto* c = make<QComboBox>(parent, name, l, t, w, 315);
    c->setEditable(true);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->setEditText(QString());
    return c;
}

}  // namespace

DocumentForm::DocumentForm(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("picDokument");

    label(this, "labDokument", "Dokument", 0, 0, 840);
    cmbDokument = make<QorCombo>(this, "cmbDokument", 0, 225, 2175, 315);
    cmbDokument->setRowSource(QString::fromUtf8(kKinds));
    labPoprawa = label(this, "labPoprawa", "[Poprawa]", 855, 0, 1350);
    labPoprawa->setStyleSheet("color: #b00000");
    QFont boldCaption = labPoprawa->font();
    boldCaption.setBold(true);
    labPoprawa->setFont(boldCaption);
    labPoprawa->hide();
    label(this, "labNumer", "Numer", 2265, 0, 2205);
    txtNumer = textBox(this, "txtNumer", 20, 2265, 225, 2160);
    label(this, "labDatawyst", "Data wystaw.", 4530, 0, 1350);
    txtDatawyst = textBox(this, "txtDatawyst", 10, 4530, 225, 1320);
    label(this, "labDatasprz", "Data nabycia", 5940, 0, 1440);
    txtDatasprz = textBox(this, "txtDatasprz", 10, 5940, 225, 1290);

    labKordok = label(this, "labKordok", "Korygowany dokument", 0, 690, 2205);
    cmbKordok = make<QorCombo>(this, "cmbKordok", 0, 900, 2085, 315);
    cmbKordok->setRowSource(QString::fromUtf8(kKinds));
    labKornum = label(this, "labKornum", "Numer korygowanego dokum.", 2265, 690, 2205);
    cmbKornum = make<QorCombo>(this, "cmbKornum", 2265, 900, 2160, 315);
    txtKorDatawyst = textBox(this, "txtKorDatawyst", 10, 4530, 900, 1320);
    txtKorDatawyst->setToolTip("Data wystawienia korygowanego dokumentu");
    labPodstawa = label(this, "labPodstawa", "Podstawa wystawienia", 0, 675, 4470);
    txtPodstawa = textBox(this, "txtPodstawa", 50, 0, 900, 4410);
    labWydane = label(this, "labWydane", "Przyjęte wg", 4530, 690, kSideListLeft - 4530 - 60);
    txtWydane = textBox(this, "txtWydane", 50, 4530, 900, 2700);

    label(this, "labKontrahent", "Nazwa sprzedawcy (rolnik ryczałtowy)", 0, 1320, 3000);
    txtNazkon = textBox(this, "txtNazkon", 255, 0, 1530, 2955);
    label(this, "Label13", "Adres sprzedawcy", 3060, 1320, 2700);
    txtAdrkon = textBox(this, "txtAdrkon", 255, 3060, 1530, 2670);
    label(this, "labNIP", "NIP lub PESEL sprzedawcy", 5820, 1320, kSideListLeft - 5820 - 60);
    txtNipkon = textBox(this, "txtNipkon", 30, 5820, 1530, 1425);

    label(this, "labDokum", "Dokum. tożsamości", 0, 1935, 1500);
    cmbNazdok = freeCombo(this, "cmbNazdok", {QString::fromUtf8("Dowód osobisty"), "Paszport"}, 0, 2145, 1485);
    label(this, "labSeria", "Seria i numer", 1560, 1935, 1440);
    txtNumdok = textBox(this, "txtNumdok", 20, 1560, 2145, 1395);
    label(this, "labDatawyd", "Data wydania", 3060, 1935, 1410);
    txtDatadok = textBox(this, "txtDatadok", 10, 3060, 2145, 1365);
    label(this, "labOrgan", "Organ, który wydał dokument", 4530, 1935, kSideListLeft - 4530 - 60);
    txtWyddok = textBox(this, "txtWyddok", 50, 4530, 2145, 2700);

    QLabel* labForma = label(this, "labForma", "&Forma płatności", 0, 2595, 1230);
    cmbPlatFor = freeCombo(this, "cmbPlatFor", {"Przelew"}, 0, 2805, 1215);
    labForma->setBuddy(cmbPlatFor);
    label(this, "labDni", "Dni", 1290, 2595, 720);
    cmbPlatdni = freeCombo(this, "cmbPlatdni", {"7", "14", "21", "30", "60"}, 1290, 2805, 675);
    label(this, "labPlatnosc", "Określenie terminu płatności", 2070, 2595, 2400);
    cmbPlatTer = freeCombo(this, "cmbPlatTer", {"[data]", "od dnia dostarczenia towaru"}, 2070, 2805, 2355);
    label(this, "labRach", "Nr rachunku bankowego", 4530, 2595, kSideListLeft - 4530 - 60);
    txtPlatRach = textBox(this, "txtPlatRach", 50, 4530, 2805, 2700);

    tabPoz = make<QTabWidget>(this, "tabPoz", 0, 3300, 7230, 2775);
    // The tab bar takes no text: Tab and Enter from the header go past it to the page shown.
    tabPoz->tabBar()->setFocusPolicy(Qt::NoFocus);
    dataPoz = new PositionModel(app_, PositionTable::Dopoz, this);
    dataPoz->setObjectName("dataPoz");
    dataKor = new PositionModel(app_, PositionTable::Dokor, this);
    dataKor->setObjectName("dataKor");
    auto page = [&](QWidget* content, const char* caption) {
        auto* p = new QWidget;
        auto* lay = new QVBoxLayout(p);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->addWidget(content);
        tabPoz->addTab(p, QString::fromUtf8(caption));
    };
    gridPoz = new PositionGrid(app_, dataPoz, true);
    gridPoz->setObjectName("gridPoz");
    gridKor = new PositionGrid(app_, dataKor, false);
    gridKor->setObjectName("gridKor");
    txtUwagi = new QPlainTextEdit;
    txtUwagi->setObjectName("txtUwagi");
    connect(txtUwagi, &QPlainTextEdit::textChanged, this, &DocumentForm::txtUwagi_Change);
    page(gridPoz, "Pozycje dokumentu");
    page(gridKor, "Było przed korektą");
    page(txtUwagi, "Uwagi do dokumentu");

    labWystawil = label(this, "labWystawil", "&Wystawił", 0, 6270, 2580);
    txtWystawil = textBox(this, "txtWystawil", 50, 0, 6480, 2505);
    labWystawil->setBuddy(txtWystawil);
    labRazNetto = label(this, "labRazNetto", "Razem netto", 2640, 6270, 1500);
    txtRazNetto = amountField(this, "txtRazNetto", 2640, 6480, 1455, 315);
    labRazVAT = label(this, "labRazVAT", "Razem VAT", 4200, 6270, 1500);
    txtRazVAT = amountField(this, "txtRazVAT", 4200, 6480, 1455, 315);
    labRazBrutto = label(this, "labRazBrutto", "Razem brutto", 5760, 6270, 1470);
    txtRazBrutto = amountField(this, "txtRazBrutto", 5760, 6480, 1455, 315);
    labPotracenie = label(this, "labPotracenie", "Protrącenie na fundusz...", 0, 6810, 4140);
    cmbFundusz = make<QorCombo>(this, "cmbFundusz", 0, 7020, 4095, 315);
    cmbFundusz->setRowSource(QString::fromUtf8(kFunds));
    cmbFundusz->setEmptyText("(brak)");
    labKwotapot = label(this, "labKwotapot", "Kwota potrącenia", 4200, 6810, 1500);
    txtPotracenie = amountField(this, "txtPotracenie", 4200, 7020, 1455, 315);
    labDoZaplaty = label(this, "labDoZaplaty", "Do zapłaty", 5760, 6810, 1470);
    txtDoZaplaty = amountField(this, "txtDoZaplaty", 5760, 7020, 1455, 315);
    QFont bold = txtDoZaplaty->font();
    bold.setBold(true);
    txtDoZaplaty->setFont(bold);

    labSlownik = label(this, "labSlownik", "", kSideListLeft, 0, 2505);
    setupDrops();
    watchFocus();

    connect(cmbDokument, &QorCombo::Change, this, &DocumentForm::cmbDokument_Change);
    connect(cmbKordok, &QorCombo::Change, this, &DocumentForm::cmbKordok_Change);
    connect(cmbKornum, &QorCombo::Change, this, &DocumentForm::cmbKornum_Change);
    connect(cmbFundusz, &QorCombo::Change, this, &DocumentForm::cmbFundusz_Change);
    connect(dataPoz, &PositionModel::valuesChanged, this, &DocumentForm::PozycjeSumuj);
    connect(dataKor, &PositionModel::valuesChanged, this, &DocumentForm::PozycjeSumuj);
    connect(txtDatawyst, &QLineEdit::textChanged, this, &DocumentForm::cmbPlatdni_Click);
    connect(cmbPlatdni, &QComboBox::currentTextChanged, this, &DocumentForm::cmbPlatdni_Click);
    txtDatawyst->installEventFilter(this);

    {
        ChangeGuard quiet{cmbDokument, cmbKordok, cmbFundusz};
        cmbDokument->Refill();
        cmbDokument->setBoundValue("FR");
        cmbKordok->Refill();
        cmbFundusz->Refill();
    }
    scaleToFont();
    UstawRodzajDokumentu();
    // The header's own rules on dates and the payment term.
    new HeaderFields(this,
                     {txtDatawyst, txtDatasprz, txtDatadok, cmbPlatdni, cmbPlatTer, [this] { return daysSetTerm_; }});
}

void DocumentForm::Form_Load()
{
    txtDatawyst->setText(dateText(QDate::currentDate()));
    txtDatasprz->setText(dateText(QDate::currentDate()));
    ChangeGuard quiet{cmbDokument, cmbKordok, cmbKornum, cmbFundusz};
    cmbDokument->Refill();
    cmbKordok->Refill();
    cmbFundusz->Refill();
}

void DocumentForm::attach()
{
    if (!app_.gBaseDb || !editState_.fromDatabase(app_.gBaseDb->path())) clearEditState();
    noNumberMessage_.clear();
    dataPoz->reload();
    dataKor->reload();
    cmbKornum->setDatabase(app_.gBaseDb.get());
}

void DocumentForm::setEditState(const EditState& state)
{
    editState_ = state;
    labPoprawa->setVisible(editState_.poprawa());
}

void DocumentForm::showRows(const std::vector<Position>& dopoz, const std::vector<Position>& dokor)
{
    dataPoz->show(dopoz);
    dataKor->show(dokor);
}

void DocumentForm::detach(bool keepRows)
{
    if (!keepRows) {
        dataPoz->clear();
        dataKor->clear();
    }
    cmbKornum->setDatabase(nullptr);
}

bool DocumentForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (FormField f : kFocusFields)
            if (watched == control(f)) emit fieldFocused(f);
    }
    // Leaving for another window or a menu is not leaving the field.
    if (watched == txtDatawyst && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) txtDatawyst_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void DocumentForm::proposeNumber(const QDate& date)
{
    QString brak;
    auto numer = NumerNastepny(app_, QStringLiteral("fadok"), QStringLiteral("datawyst"), date, &brak);
    txtNumer->setText(numer.value_or(QString()));
    txtNumer->setPlaceholderText(numer ? QString() : QString::fromUtf8("brak numeru: nie można go zaproponować"));
    // Why the template gives no number is told once, not again at each proposal that meets it.
    if (!brak.isEmpty() && brak != noNumberMessage_) ui::msgBox(brak, ui::Buttons::Ok, ui::Icon::Exclamation);
    noNumberMessage_ = brak;
}

void DocumentForm::txtDatawyst_LostFocus()
{
    if (!editState_.poprawa() && app_.gBazaPar.NumAuto && app_.gBazaOtwarta) {
        if (!txtDatawyst->text().trimmed().isEmpty())
            proposeNumber(textDate(txtDatawyst->text()));
        else
            txtNumer->clear();
    }
    if (!txtDatawyst->text().trimmed().isEmpty()) txtDatasprz->setText(txtDatawyst->text());
}

void DocumentForm::cmbPlatdni_Click()
{
    const int days = int(Val(cmbPlatdni->currentText()).wholeUnits());
    if (auto term = paymentTermFromDays(textDate(txtDatawyst->text()), days, cmbPlatTer->currentText())) {
        // The term follows the days being typed; it must not write the days back meanwhile.
        daysSetTerm_ = true;
        cmbPlatTer->setEditText(*term);
        daysSetTerm_ = false;
    }
    if (cmbPlatdni->currentText() == QString::fromUtf8("Zapłacono gotówką")) cmbPlatdni->setEditText(QString());
}

void DocumentForm::NaglowekDomyslny()
{
    txtDatawyst->setText(dateText(QDate::currentDate()));
    txtDatasprz->setText(dateText(QDate::currentDate()));
    cmbPlatdni->setEditText(app_.gPrgPar.PlatDni);
    cmbPlatFor->setEditText(app_.gPrgPar.PlatForma);
    cmbPlatTer->setEditText(app_.gPrgPar.PlatTermin);
    cmbNazdok->setEditText(app_.gPrgPar.DokNazwa);
    txtWystawil->setText(app_.gPrgPar.Wystawil);
    cmbPlatdni_Click();
}

void DocumentForm::NowyDokument()
{
    if (!app_.gBazaOtwarta) return;
    try {
        // A new document is no edit of a stored one, before anything reads that state.
        clearEditState();
        txtNumer->clear();
        if (app_.gBazaPar.NumAuto) proposeNumber(QDate::currentDate());
        txtNumer->setEnabled(app_.gBazaPar.NumEdycja);
        cmbPlatdni_Click();
        {
            ChangeGuard quiet{cmbKornum};
            cmbKornum->setBoundValue(QVariant());
            cmbKordok_Change();
        }
        for (QLineEdit* e : {txtNazkon, txtAdrkon, txtNipkon, txtNumdok, txtDatadok, txtWyddok, txtPlatRach,
                             txtPodstawa, txtWydane, txtWystawil})
            e->clear();
        cmbNazdok->setEditText(QString());
        txtUwagi->clear();
        const bool korekta = cmbDokument->boundValue().toString() == QLatin1String("KFR");
        if (bufferNewDocument(app_, korekta)) {
            dataPoz->reload();
            dataKor->reload();
        } else {
            // An archive is not written: the empty rows are only shown.
            std::vector<Position> empty(size_t(std::max(app_.gPrgPar.TabPozLicz, 0)));
            for (size_t i = 0; i < empty.size(); ++i) empty[i].Pozycja = qint64(i) + 1;
            showRows(empty, korekta ? empty : std::vector<Position>());
        }
        applyGridSettings();
        gridPoz->setCurrentIndex(dataPoz->index(0, PositionModel::Nazwa));
        for (QorNumber* f : {txtRazNetto, txtRazVAT, txtRazBrutto, txtDoZaplaty}) f->setValue(Decimal());
        {
            ChangeGuard quiet{cmbFundusz};
            cmbFundusz->setBoundValue(QVariant());
        }
        txtPotracenie->setValue(std::nullopt);
        emit documentStarted();
        txtDatawyst_LostFocus();
        ui::repaintNow();
        if (app_.gPrgPar.UstawPocz) {
            NaglowekDomyslny();
            // The dates are today's now: the number must belong to their period.
            txtDatawyst_LostFocus();
        }
    } catch (...) {
        ErrorReport(app_, QStringLiteral("NowyDokument"));
        return;
    }
    if (isVisible()) cmbDokument->setFocus();
}

bool DocumentForm::ZapiszDoBufora(bool sprawdz)
{
    if (!app_.gBazaOtwarta) return false;
    if (sprawdz) {
        // A date field holding a text that is no date stops the save: the document would be
        // stored without that date.
        for (QLineEdit* d : {txtDatawyst, txtDatasprz, txtDatadok, txtKorDatawyst}) {
            if (d == txtKorDatawyst && isInvoice()) continue;
            if (isInvalidDate(d)) {
                d->setFocus();
                return false;
            }
        }
        if (txtNumer->text().trimmed().isEmpty()) {
            txtNumer->setEnabled(true);
            // When the template could give no number, that is what the clerk must hear.
            ui::msgBox(noNumberMessage_.isEmpty() ? missingNumberMessage() : noNumberMessage_, ui::Buttons::Ok,
                       ui::Icon::Exclamation);
            if (isVisible()) txtNumer->setFocus();
            return false;
        }
        if (isVisible()) cmbDokument->setFocus();
        ui::repaintNow();
        for (QLineEdit* d : {txtDatawyst, txtDatasprz}) {
            if (!textDate(d->text()).isValid()) {
                d->setFocus();
                return false;
            }
        }
        if (txtNumer->text().trimmed().isEmpty()) return false;
    }
    return ::ZapiszDoBufora(app_, header());
}

void DocumentForm::OdczytZBufora()
{
    // The resumed document keeps the dates the form holds (today's), and its number is proposed
    // for them; the totals follow the restored rows. A term that is a date moves with the issue
    // date and keeps the days it gave, instead of turning into hundreds of days overdue.
    auto h = ::OdczytZBufora(app_);
    if (!h) return;
    // A stored document edited under its own number resumes as that edit, with its own number,
    // dates and terms.
    if (const EditState edit = bufferedEditState(app_, *h); edit.poprawa()) {
        setEditState(edit);
        setHeader(*h,
                  DocHeader::KindPart | DocHeader::NumberAndDatesPart | DocHeader::TextsPart | DocHeader::IssuerPart);
        return;
    }
    if (auto days = daysToPaymentTerm(h->Datawyst, h->PlatTer)) {
        h->PlatDni = *days;
        h->PlatTer = paymentTermFromDays(textDate(txtDatawyst->text()), *days, h->PlatTer).value_or(h->PlatTer);
    }
    setHeader(*h, DocHeader::KindPart | DocHeader::TextsPart | DocHeader::IssuerPart);
}

void DocumentForm::openForEditing(const EditState& state, const DocHeader& h)
{
    cmbDokument->setFocus();
    setEditState(state);
    setHeader(h);
}

void DocumentForm::showLoadedRows(const LoadedRows& rows)
{
    if (rows.buffered) {
        dataPoz->reload();
        dataKor->reload();
    } else {
        showRows(rows.dopoz, rows.dokor);
    }
}

void DocumentForm::showFault(const CheckFault& fault)
{
    if (!fault.focus) return;
    if (*fault.focus == FormField::Pozycje || *fault.focus == FormField::PozycjeKor) {
        const bool kor = *fault.focus == FormField::PozycjeKor;
        tabPoz->setCurrentIndex(kor ? 1 : 0);
        PositionGrid* grid = kor ? gridKor : gridPoz;
        grid->setCurrentIndex(grid->model()->index(std::max(fault.row, 0), PositionModel::Nazwa));
        grid->setFocus();
        return;
    }
    QWidget* w = control(*fault.focus);
    if (!w->isEnabled()) w->setEnabled(true);
    w->setFocus();
}

void DocumentForm::applyNumbering()
{
    txtNumer->setEnabled(app_.gBazaPar.NumEdycja);
}

void DocumentForm::setFund(const QString& name)
{
    ChangeGuard quiet{cmbFundusz};
    if (name.trimmed().isEmpty()) {
        cmbFundusz->setBoundValue(QVariant());
        return;
    }
    int i = cmbFundusz->findText(name);
    if (i < 0) {
        // A fund this list does not know (another version of the program stored it): kept under
        // its own name as key, so that the deduction stays.
        cmbFundusz->AddItem(name, name);
        i = cmbFundusz->findText(name);
    }
    cmbFundusz->setCurrentIndex(i);
}

void DocumentForm::keepCorrected(const QString& numer)
{
    // A resumed correction names an invoice that it corrects itself, which the list of invoices
    // not yet corrected leaves out: it stays selectable.
    if (!numer.isEmpty() && cmbKornum->findData(numer) < 0) cmbKornum->AddItem(numer, numer);
    cmbKornum->setBoundValue(numer);
}

void DocumentForm::PozycjeSumuj()
{
    if (!app_.gBazaOtwarta) return;
    try {
        Sums poz = dataPoz->sums();
        Sums kor;
        const bool korekta = cmbDokument->boundValue().toString() == QLatin1String("KFR");
        if (korekta) kor = dataKor->sums();
        Totals t = ::PozycjeSumuj(poz, korekta ? &kor : nullptr, !cmbFundusz->boundValue().isNull());
        txtRazNetto->setValue(t.RazNetto);
        txtRazVAT->setValue(t.RazVAT);
        txtRazBrutto->setValue(t.RazBrutto);
        txtPotracenie->setValue(t.Potracenie);
        txtDoZaplaty->setValue(t.DoZaplaty);
    } catch (...) {
        // Totals beyond the money range: none is shown, so the document cannot be saved so.
        for (QorNumber* f : {txtRazNetto, txtRazVAT, txtRazBrutto, txtPotracenie, txtDoZaplaty})
            f->setValue(std::nullopt);
        ErrorReport(app_, QStringLiteral("PozycjeSumuj"));
    }
}

void DocumentForm::cmbFundusz_Change()
{
    try {
        OptDecimal p = Potracenie(txtRazNetto->value().value_or(Decimal()), !cmbFundusz->boundValue().isNull());
        txtPotracenie->setValue(p);
        txtDoZaplaty->setValue(DoZaplaty(txtRazBrutto->value().value_or(Decimal()), p));
    } catch (...) {
        txtDoZaplaty->setValue(std::nullopt);
        ErrorReport(app_, QStringLiteral("cmbFundusz_Change"));
    }
}

void DocumentForm::UstawRodzajDokumentu()
{
    const bool korekta = cmbDokument->boundValue().toString() == QLatin1String("KFR");
    tabPoz->setCurrentIndex(0);
    tabPoz->setTabVisible(1, korekta);
    tabPoz->setTabText(0, korekta ? QString::fromUtf8("Winno być po korekcie") : QStringLiteral("Pozycje dokumentu"));
    dataPoz->setNameLocked(korekta);
    labPodstawa->setVisible(!korekta);
    txtPodstawa->setVisible(!korekta);
    // The corrected document's date lies where the goods-received field is.
    labWydane->setVisible(!korekta);
    txtWydane->setVisible(!korekta);
    txtKorDatawyst->setVisible(korekta);
    for (QWidget* w : std::initializer_list<QWidget*>{labKordok, cmbKordok, labKornum, cmbKornum})
        w->setVisible(korekta);
    if (korekta) cmbKordok_Change();
}

void DocumentForm::cmbDokument_Change()
{
    UstawRodzajDokumentu();
    if (cmbDokument->boundValue().toString() == QLatin1String("KFR")) NowyDokument();
    PozycjeSumuj();
}

void DocumentForm::cmbKordok_Change()
{
    // The corrected number list: documents of the chosen kind that no correction names yet
    // (all of them while a stored document is edited).
    const QString k = cmbKordok->boundValue().toString();
    QString sql;
    if (k == QLatin1String("FR") || k == QLatin1String("KFR")) {
        sql = QStringLiteral("SELECT Numer, Numer FROM fadok WHERE Inddok = ?");
        if (!editState_.poprawa())
            sql += QStringLiteral(" AND Numer NOT IN (SELECT KorNumer FROM fadok WHERE KorNumer IS NOT NULL)");
        sql += QStringLiteral(" ORDER BY Val(Numer)");
    }
    ChangeGuard quiet{cmbKornum};
    cmbKornum->setRowSource(sql, {k});
    try {
        if (sql.isEmpty() || !app_.gBazaOtwarta || !app_.gBaseDb) {
            cmbKornum->clear();
        } else {
            cmbKornum->setDatabase(app_.gBaseDb.get());
            cmbKornum->Refill();
        }
    } catch (...) {
        ErrorReport(app_, QStringLiteral("cmbKordok_Change"));
    }
    cmbKornum->setBoundValue(QVariant());
}

void DocumentForm::cmbKornum_Change()
{
    QVariant v = cmbKornum->boundValue();
    if (v.isNull())
        NowyDokument();
    else
        emit korygowanyWybrany(v.toString());
}
