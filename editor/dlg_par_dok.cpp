#include "editor/dlg_par_dok.h"
#include "core/app.h"
#include "core/base_par.h"
#include "core/error_report.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "documents/buffer.h"
#include "documents/numbering.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/named.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "platform/twips.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using twips::px;

namespace {

const QString kMiesiac = QStringLiteral("/Miesiąc");
const QString kUsuniety = QStringLiteral("Usuniety");
constexpr int kStopkaMax = 255;

QComboBox* freeCombo(const char* name, const QStringList& items, QWidget* parent)
{
    auto* c = named(new QComboBox(parent), QString::fromLatin1(name));
    c->setEditable(true);
    c->addItems(items);
    c->setMinimumWidth(220);
    return c;
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

// Thrown when a store step has already reported its own failure.
struct Przerwane {};

}  // namespace

dlgParDok::dlgParDok(App& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("dlgParDok"));
    setWindowTitle(QStringLiteral("Parametry dokumentów"));
    tabDane = named(new QTabWidget(this), QStringLiteral("tabDane"));
    tabDane->setUsesScrollButtons(false);  // every tab's caption whole
    buildHeaderTab();
    buildLogo();
    buildNumeracja();
    buildPozycje();
    buildUstawienia();

    cmdZapisz = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdZapisz"));
    cmdZapisz->setDefault(true);
    cmdZamknij = named(new QPushButton(QStringLiteral("Anuluj"), this), QStringLiteral("cmdZamknij"));
    cmdZastosuj = named(new QPushButton(QStringLiteral("&Zastosuj"), this), QStringLiteral("cmdZastosuj"));
    cmdZastosuj->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdZapisz);
    buttons->addWidget(cmdZamknij);
    buttons->addWidget(cmdZastosuj);
    auto* main = new QVBoxLayout(this);
    main->addWidget(tabDane);
    main->addLayout(buttons);
    connect(cmdZapisz, &QPushButton::clicked, this, &dlgParDok::cmdZapisz_Click);
    connect(cmdZamknij, &QPushButton::clicked, this, &dlgParDok::cmdZamknij_Click);
    connect(cmdZastosuj, &QPushButton::clicked, this, &dlgParDok::cmdZastosuj_Click);

    // Every edit makes "Zastosuj" available.
    for (QLineEdit* e : {txtZnacznik, txtNaglowek[0], txtNaglowek[1], txtNaglowek[2], txtNaglowek[3], txtNaglowek[4],
                         txtWystawil, txtNumPo})
        connect(e, &QLineEdit::textChanged, this, &dlgParDok::zmiana);
    connect(txtStopka, &QPlainTextEdit::textChanged, this, [this] {
        if (txtStopka->toPlainText().size() > kStopkaMax) {
            txtStopka->setPlainText(txtStopka->toPlainText().left(kStopkaMax));
            txtStopka->moveCursor(QTextCursor::End);
        }
        zmiana();
    });
    for (QComboBox* c : {cmbPlatFor, cmbPlatdni, cmbPlatTer, cmbNazdok})
        connect(c, &QComboBox::currentTextChanged, this, &dlgParDok::zmiana);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{obNumMiesieczna, obNumRoczna, opParUstawO,
                                                                      opParUstawZ, cbNumAuto, cbNumEdycja})
        connect(b, &QAbstractButton::toggled, this, &dlgParDok::zmiana);
    connect(cmbNumS2, &QorCombo::Change, this, &dlgParDok::zmiana);
    connect(cmbNumS3, &QorCombo::Change, this, &dlgParDok::zmiana);
    connect(kolTabKorKol, &QorColor::Change, this, &dlgParDok::zmiana);
    for (QorUpDown* s : {txtTabPozLicz, txtTabPozWiersz})
        connect(s, &QorUpDown::Change, this, [this] {
            zmiana();
            PodgladPozycji();
        });
    connect(cmdLogo, &QPushButton::clicked, this, &dlgParDok::LogoWybierz);
    connect(cmdLogoUsun, &QPushButton::clicked, this, &dlgParDok::cmdLogoUsun_Click);

    OdczytPar();
    // The numbering's form and continuity belong to the numbers already given.
    const bool pusta = BazaPusta(app_);
    fraCiaglosc->setEnabled(pusta);
    fraSposob->setEnabled(pusta);
    ui::setDefaultPointer();
}

void dlgParDok::buildHeaderTab()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    const char* labels[] = {"Linia &1 (Nazwa firmy)", "Linia &2 (Adres siedziby)", "Linia &3 (NIP lub PESEL)",
                            "Linia &4 (Telefon, faks, E-mail)", "Linia &5 (Nazwa banku, nr rachunku)"};
    for (int i = 0; i < 5; ++i) {
        txtNaglowek[i] = named(new QLineEdit(page), QStringLiteral("txtNaglowek%1").arg(i + 1));
        txtNaglowek[i]->setMaxLength(255);
        g->addWidget(labelFor(QString::fromUtf8(labels[i]), txtNaglowek[i], page), 2 * i, 0);
        g->addWidget(txtNaglowek[i], 2 * i + 1, 0);
    }
    txtZnacznik = named(new QLineEdit(page), QStringLiteral("txtZnacznik"));
    txtZnacznik->setMaximumWidth(120);
    g->setRowMinimumHeight(10, 8);
    g->addWidget(labelFor(QStringLiteral("Dodatkowe oznaczenie dokumentów, np. MF, MP"), txtZnacznik, page), 11, 0);
    g->addWidget(txtZnacznik, 12, 0);
    g->setRowStretch(13, 1);
    tabDane->addTab(page, QStringLiteral("&Nagłówek"));
}

void dlgParDok::buildLogo()
{
    auto* page = new QWidget;
    picLogo = named(new QLabel(page), QStringLiteral("picLogo"));
    picLogo->setFixedSize(240, 120);  // two to one, the logo's intended shape
    picLogo->setFrameShape(QFrame::Box);
    picLogo->setAlignment(Qt::AlignCenter);
    cmdLogo = named(new QPushButton(QStringLiteral("&Wczytaj..."), page), QStringLiteral("cmdLogo"));
    cmdLogoUsun = named(new QPushButton(QStringLiteral("&Usuń"), page), QStringLiteral("cmdLogoUsun"));
    txtStopka = named(new QPlainTextEdit(page), QStringLiteral("txtStopka"));
    txtStopka->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* opis =
        new QLabel(QStringLiteral("Logo firmy. Pliki: *.bmp, *.wmf, *.jpeg. Dla zachowania kształtu logo powinno "
                                  "być w formacie 2:1 (Szer.:Wys.)."),
                   page);
    opis->setWordWrap(true);
    auto* g = new QGridLayout(page);
    g->addWidget(opis, 0, 0, 1, 2);
    g->addWidget(picLogo, 1, 0, 3, 1);
    g->addWidget(cmdLogo, 1, 1);
    g->addWidget(cmdLogoUsun, 2, 1);
    g->setRowStretch(3, 1);
    g->setRowMinimumHeight(4, 8);
    g->addWidget(labelFor(QStringLiteral("Stopka - stały tekst umieszczany na każdym dokumencie"), txtStopka, page), 5,
                 0, 1, 2);
    g->addWidget(txtStopka, 6, 0, 1, 2);
    g->setColumnStretch(0, 1);
    tabDane->addTab(page, QStringLiteral("&Logo, stopka"));
}

void dlgParDok::buildNumeracja()
{
    auto* page = new QWidget;
    fraSposob = named(new QGroupBox(QStringLiteral("Postać numeru"), page), QStringLiteral("fraSposob"));
    cmbNumS1 = named(new QorCombo(fraSposob), QStringLiteral("cmbNumS1"));
    cmbNumS2 = named(new QorCombo(fraSposob), QStringLiteral("cmbNumS2"));
    cmbNumS3 = named(new QorCombo(fraSposob), QStringLiteral("cmbNumS3"));
    txtNumPo = named(new QLineEdit(fraSposob), QStringLiteral("txtNumPo"));
    txtNumPo->setMaxLength(5);
    cmbNumS1->Clear();
    cmbNumS1->AddItem(QStringLiteral("Numer"), QStringLiteral("Numer"));
    cmbNumS1->setBoundValue(QStringLiteral("Numer"));
    cmbNumS1->setEnabled(false);
    for (QorCombo* c : {cmbNumS2, cmbNumS3}) {
        ChangeGuard quiet{c};
        c->Clear();
        c->AddItem(QString(), QStringLiteral("(brak)"));
        c->AddItem(kMiesiac, QStringLiteral("Miesiąc"));
        c->AddItem(QStringLiteral("/Rok[2]"), QStringLiteral("Rok [2]"));
        c->AddItem(QStringLiteral("/Rok[4]"), QStringLiteral("Rok [4]"));
        c->setBoundValue(QVariant());
    }
    auto* s = new QGridLayout(fraSposob);
    const char* captions[] = {"Składnik 1", "Składnik 2", "Składnik 3", "Tekst"};
    QWidget* fields[] = {cmbNumS1, cmbNumS2, cmbNumS3, txtNumPo};
    for (int i = 0; i < 4; ++i) {
        s->addWidget(labelFor(QString::fromUtf8(captions[i]), fields[i], fraSposob), 0, i);
        s->addWidget(fields[i], 1, i);
    }

    fraCiaglosc = named(new QGroupBox(QStringLiteral("Ciągłość numeracji"), page), QStringLiteral("fraCiaglosc"));
    obNumRoczna =
        named(new QRadioButton(QStringLiteral("Roczna - niezmienna w całym roku od 1/... do n/..."), fraCiaglosc),
              QStringLiteral("obNumRoczna"));
    obNumMiesieczna =
        named(new QRadioButton(QStringLiteral("Miesięczna - w każdym miesiącu numer zaczyna się od 1/miesiąc/..."),
                               fraCiaglosc),
              QStringLiteral("obNumMiesieczna"));
    obNumRoczna->setChecked(true);
    auto* c = new QVBoxLayout(fraCiaglosc);
    c->addWidget(obNumRoczna);
    c->addWidget(obNumMiesieczna);

    cbNumAuto = named(new QCheckBox(QStringLiteral("Numeruj automatycznie"), page), QStringLiteral("cbNumAuto"));
    cbNumAuto->setChecked(true);
    cbNumEdycja = named(new QCheckBox(QStringLiteral("Zezwól na zmianę numeru przez użytkownika"), page),
                        QStringLiteral("cbNumEdycja"));
    auto* uwaga =
        named(new QLabel(QStringLiteral("Ciągłość oraz postać numeru może być zmieniona tylko w pustej bazie danych. "
                                        "Aby utworzyć nową bazę danych wybierz z menu Baza polecenie Nowa."),
                         page),
              QStringLiteral("labUwaga"));
    uwaga->setWordWrap(true);
    auto* v = new QVBoxLayout(page);
    v->addWidget(fraSposob);
    v->addWidget(fraCiaglosc);
    v->addWidget(cbNumAuto);
    v->addWidget(cbNumEdycja);
    v->addWidget(uwaga);
    v->addStretch();
    tabDane->addTab(page, QStringLiteral("N&umeracja"));
}

void dlgParDok::buildPozycje()
{
    auto* page = new QWidget;
    auto spinner = [page](const char* name) {
        auto* s = named(new QorUpDown(page), QString::fromLatin1(name));
        s->setRange(1, 99);
        s->setMaxDigits(2);
        return s;
    };
    txtTabPozLicz = spinner("txtTabPozLicz");
    txtTabPozWiersz = spinner("txtTabPozWiersz");
    kolTabKorKol = named(new QorColor(page), QStringLiteral("kolTabKorKol"));
    // The grid's first, fixed column is its row header; the header row is the column header.
    gridPoz = named(new QTableWidget(0, 2, page), QStringLiteral("gridPoz"));
    gridPoz->setHorizontalHeaderLabels({QStringLiteral("Lp."), QStringLiteral("Nazwa towaru / usługi")});
    for (int c = 0; c < 2; ++c) gridPoz->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    gridPoz->verticalHeader()->setFixedWidth(px(300));
    gridPoz->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridPoz->setColumnWidth(0, px(300));
    gridPoz->setColumnWidth(1, px(2300));
    gridPoz->horizontalHeader()->setStretchLastSection(true);
    gridPoz->setWordWrap(true);
    gridPoz->setTextElideMode(Qt::ElideNone);
    // The position grid's own font, so that the preview shows as many lines as the grid will.
    QFont small = gridPoz->font();
    small.setPointSizeF(8);
    gridPoz->setFont(small);
    gridPoz->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridPoz->setSelectionMode(QAbstractItemView::NoSelection);
    gridPoz->setFocusPolicy(Qt::NoFocus);

    auto* g = new QGridLayout(page);
    g->addWidget(labelFor(QStringLiteral("Liczba wierszy"), txtTabPozLicz, page), 0, 0);
    g->addWidget(txtTabPozLicz, 0, 1);
    g->addWidget(labelFor(QStringLiteral("Liczba linii w wierszu "), txtTabPozWiersz, page), 1, 0);
    g->addWidget(txtTabPozWiersz, 1, 1);
    g->addWidget(labelFor(QStringLiteral("Kolor tablicy korygowanych pozycji"), kolTabKorKol, page), 2, 0);
    g->addWidget(kolTabKorKol, 2, 1);
    g->addWidget(gridPoz, 0, 2, 4, 1);
    g->setRowStretch(3, 1);
    g->setColumnStretch(2, 1);
    tabDane->addTab(page, QStringLiteral(" &Tablica pozycji"));
}

void dlgParDok::buildUstawienia()
{
    auto* page = new QWidget;
    cmbPlatFor = freeCombo("cmbPlatFor", {QStringLiteral("Przelew"), QStringLiteral("Gotówka")}, page);
    cmbPlatdni = freeCombo("cmbPlatdni", {"7", "14", "21", "30", "60"}, page);
    cmbPlatTer = freeCombo("cmbPlatTer",
                           {QStringLiteral("[data]"), QStringLiteral("od daty otrzymania dokumentu"),
                            QStringLiteral("od daty wykonania usługi")},
                           page);
    cmbNazdok = freeCombo("cmbNazdok", {QStringLiteral("Dowód osobisty"), QStringLiteral("Paszport")}, page);
    txtWystawil = named(new QLineEdit(page), QStringLiteral("txtWystawil"));
    auto* fraPocz = named(new QGroupBox(QStringLiteral("Ustawiaj parametry"), page), QStringLiteral("fraPocz"));
    opParUstawO =
        named(new QRadioButton(QStringLiteral("Tylko po otwarciu programu"), fraPocz), QStringLiteral("opParUstawO"));
    opParUstawZ = named(new QRadioButton(QStringLiteral("Każdorazowo po zapisaniu dokumentu"), fraPocz),
                        QStringLiteral("opParUstawZ"));
    opParUstawO->setChecked(true);
    auto* p = new QVBoxLayout(fraPocz);
    p->addWidget(opParUstawO);
    p->addWidget(opParUstawZ);

    auto* g = new QGridLayout(page);
    const std::pair<const char*, QWidget*> rows[] = {{"Forma płatności", cmbPlatFor},
                                                     {"Termin płatności", cmbPlatdni},
                                                     {"Określenie terminu", cmbPlatTer},
                                                     {"Dokument tożsamości", cmbNazdok},
                                                     {"Wystawiający dokument", txtWystawil}};
    int r = 0;
    for (const auto& [caption, field] : rows) {
        g->addWidget(labelFor(QString::fromUtf8(caption), field, page), r, 0);
        g->addWidget(field, r++, 1);
    }
    g->addWidget(fraPocz, r++, 0, 1, 2);
    g->setRowStretch(r, 1);
    g->setColumnStretch(1, 1);
    tabDane->addTab(page, QStringLiteral("&Ustawienia początkowe"));
}

void dlgParDok::zmiana()
{
    cmdZastosuj->setEnabled(true);
}

void dlgParDok::pokazLogo(const QPixmap& picture)
{
    logo_ = picture;
    if (logo_.isNull())
        picLogo->clear();
    else
        picLogo->setPixmap(logo_.scaled(picLogo->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void dlgParDok::OdczytPar()
{
    if (app_.gBazaOtwarta && app_.gBaseDb) {
        db::Database& db = *app_.gBaseDb;
        txtZnacznik->setText(BaseParRead(app_, db, QStringLiteral("DokZnacznik"), QString()));
        for (int i = 0; i < 5; ++i)
            txtNaglowek[i]->setText(BaseParRead(app_, db, QStringLiteral("DokNaglowek%1").arg(i + 1), QString()));
        txtStopka->setPlainText(BaseParRead(app_, db, QStringLiteral("DokStopka"), QString()));
        QString file;
        QPixmap picture;
        if (LogoRead(app_, db, file)) picture.load(file);
        pokazLogo(picture);
    }
    const BazaPar& b = app_.gBazaPar;
    cbNumAuto->setChecked(b.NumAuto);
    cbNumEdycja->setChecked(b.NumEdycja);
    const TemplateParts parts = NumSzablonRozbierz(b.NumSzablon);
    if (parts.part2) cmbNumS2->setBoundValue(*parts.part2);
    if (parts.part3) cmbNumS3->setBoundValue(*parts.part3);
    if (parts.suffix) txtNumPo->setText(*parts.suffix);
    obNumMiesieczna->setChecked(b.NumMiesieczna);
    obNumRoczna->setChecked(!b.NumMiesieczna);

    const PrgPar& p = app_.gPrgPar;
    txtTabPozLicz->setValue(p.TabPozLicz);
    txtTabPozWiersz->setValue(p.TabPozWiersz);
    PodgladPozycji();
    kolTabKorKol->setValue(p.TabKorKol);
    cmbPlatFor->setEditText(p.PlatForma);
    cmbPlatdni->setEditText(p.PlatDni);
    cmbPlatTer->setEditText(p.PlatTermin);
    cmbNazdok->setEditText(p.DokNazwa);
    txtWystawil->setText(p.Wystawil);
    opParUstawZ->setChecked(p.UstawPocz);
    opParUstawO->setChecked(!p.UstawPocz);
    cmdZastosuj->setEnabled(false);
}

void dlgParDok::PodgladPozycji()
{
    const int rows = txtTabPozLicz->value();
    const int lines = txtTabPozWiersz->value();
    gridPoz->setRowCount(rows);
    const QString sample =
        QStringLiteral("Przykładowy tekst pozycji dokumentu. Maksymalna długość tekstu to 255 znaków.");
    for (int r = 0; r < rows; ++r) {
        gridPoz->setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
        gridPoz->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
        gridPoz->setItem(r, 1, new QTableWidgetItem(sample));
        gridPoz->setRowHeight(r, px(lines * 210));
    }
}

bool dlgParDok::Zapisz()
{
    const bool numeracja = fraSposob->isEnabled();
    auto miesiac = [](const QorCombo* c) { return c->boundValue().toString() == kMiesiac; };
    // Monthly numbers must carry the month, or two months would give the same number.
    if (numeracja && obNumMiesieczna->isChecked() && !miesiac(cmbNumS2) && !miesiac(cmbNumS3)) {
        ui::msgBox(QStringLiteral("Jeżeli ustawiona jest miesięczna numeracja dokumentów wymagane jest aby w numerze "
                                  "dokumentu zawarty był numer miesiąca. Zmień sposób numeracji i spróbuj ponownie."),
                   ui::Buttons::Ok, ui::Icon::Information);
        tabDane->setCurrentIndex(TabNumeracja);
        cmbNumS2->setFocus();
        return false;
    }
    try {
        ui::BusyPointer busy;
        if (app_.gBazaOtwarta && app_.gBaseDb) {
            db::Database& db = *app_.gBaseDb;
            auto save = [&](const QString& name, const QString& value) {
                if (!BaseParSave(app_, db, name, value)) throw Przerwane{};  // reported already
            };
            save(QStringLiteral("DokZnacznik"), txtZnacznik->text());
            for (int i = 0; i < 5; ++i) save(QStringLiteral("DokNaglowek%1").arg(i + 1), txtNaglowek[i]->text());
            save(QStringLiteral("DokStopka"), txtStopka->toPlainText());
            if (!logoFile_.isEmpty()) ZapiszLogo();

            BazaPar& b = app_.gBazaPar;
            b.NumAuto = cbNumAuto->isChecked();
            b.NumEdycja = cbNumEdycja->isChecked();
            // The form and continuity of the numbers are written only where they may change.
            if (numeracja) {
                b.NumSzablon = NumSzablonZloz(cmbNumS1->boundValue().toString(), cmbNumS2->boundValue().toString(),
                                              cmbNumS3->boundValue().toString(), txtNumPo->text());
                b.NumMiesieczna = obNumMiesieczna->isChecked();
                save(QStringLiteral("NumSzablon"), b.NumSzablon);
                save(QStringLiteral("NumMiesieczna"), settingText(b.NumMiesieczna));
            }
            save(QStringLiteral("NumAuto"), settingText(b.NumAuto));
            save(QStringLiteral("NumEdycja"), settingText(b.NumEdycja));
        }

        PrgPar& p = app_.gPrgPar;
        p.TabPozLicz = txtTabPozLicz->value();
        p.TabPozWiersz = txtTabPozWiersz->value();
        p.TabKorKol = kolTabKorKol->value();
        p.PlatForma = cmbPlatFor->currentText();
        p.PlatDni = cmbPlatdni->currentText();
        p.PlatTermin = cmbPlatTer->currentText();
        p.DokNazwa = cmbNazdok->currentText();
        p.Wystawil = txtWystawil->text();
        p.UstawPocz = opParUstawZ->isChecked();
        RegParSave(app_, QStringLiteral("TabPozLicz"), settingText(p.TabPozLicz));
        RegParSave(app_, QStringLiteral("TabPozWiersz"), settingText(p.TabPozWiersz));
        RegParSave(app_, QStringLiteral("TabKorKol"), settingText(p.TabKorKol));
        RegParSave(app_, QStringLiteral("PlatForma"), p.PlatForma);
        RegParSave(app_, QStringLiteral("PlatDni"), p.PlatDni);
        RegParSave(app_, QStringLiteral("PlatTermin"), p.PlatTermin);
        RegParSave(app_, QStringLiteral("DokNazwa"), p.DokNazwa);
        RegParSave(app_, QStringLiteral("Wystawil"), p.Wystawil);
        RegParSave(app_, QStringLiteral("UstawPocz"), settingText(p.UstawPocz));
        RegParSaveAll(app_);
    } catch (const Przerwane&) {
        return false;
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":Zapisz"));
        return false;
    }
    cmdZastosuj->setEnabled(false);
    emit parametersSaved();
    return true;
}

bool dlgParDok::ZapiszLogo()
{
    try {
        db::Database& db = *app_.gBaseDb;
        if (hasLogo()) {
            QFile f(logoFile_);
            if (!f.open(QIODevice::ReadOnly))
                throw AppError(err::kFileNotFound, QStringLiteral("ZapiszLogo"),
                               QStringLiteral("Nie można otworzyć pliku %1.").arg(logoFile_));
            const QByteArray bytes = f.readAll();
            if (!bytes.isEmpty()) logoWrite(db, bytes);
        } else {
            logoClear(db);
        }
        return true;
    } catch (...) {
        ErrorReport(app_, windowTitle() + QStringLiteral(":ZapiszLogo"));
        return false;
    }
}

void dlgParDok::LogoWybierz()
{
    QFileDialog dialog(this, QStringLiteral("Wskaż plik logo"), app_.programFolder,
                       QStringLiteral("Pliki grafiki (*.bmp *.ico *.wmf *.jpg *.gif);;Wszystkie pliki (*.*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (ui::execDialog(dialog) != QDialog::Accepted) return;
    const QString file = dialog.selectedFiles().value(0);
    if (file.isEmpty()) return;
    QPixmap picture;
    if (!picture.load(file)) {
        // The logo shown before stays the one that will be stored.
        ui::msgBox(QStringLiteral("Błąd wczytywania grafiki."));
        return;
    }
    pokazLogo(picture);
    logoFile_ = file;
    zmiana();
}

void dlgParDok::cmdLogoUsun_Click()
{
    pokazLogo(QPixmap());
    logoFile_ = kUsuniety;
    zmiana();
}

void dlgParDok::cmdZapisz_Click()
{
    if (Zapisz()) accept();
}

void dlgParDok::cmdZastosuj_Click()
{
    Zapisz();
}

void dlgParDok::cmdZamknij_Click()
{
    reject();
}

void showDocumentParameters(App& app, MainPages* pages, QWidget* parent, int tab)
{
    ui::setBusyPointer();
    dlgParDok dialog(app, parent);
    if (tab >= 0) dialog.tabDane->setCurrentIndex(tab);
    QObject::connect(&dialog, &dlgParDok::parametersSaved, &dialog, [&app, pages] {
        if (!pages) return;
        // The document being edited stays; only how the form shows it follows the new values.
        DocumentForm* form = pages->picWprowadzanie->picDokument();
        form->applyGridSettings();
        form->applyNumbering();
        pages->dokumenty->lista()->OdswiezPodglad();
    });
    ui::execDialog(dialog);
}
