#include "documents/loading.h"
#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

struct SaveFixture : ::testing::Test {
    TempDatabase t;
    Answers answers;
    App& app = t.app;
    db::Database& db = t.db();

    void SetUp() override
    {
        app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
    }
    SaveResult save(const EditState& s = {}) { return ZapiszDokument(app, s); }
    qint64 count(const char* sql) { return db.scalar(QString::fromUtf8(sql)).toInt(); }
    // A second workstation on the same database file.
    std::unique_ptr<App> workstation(int nr)
    {
        auto a = std::make_unique<App>();
        a->gBaseDb = db::Database::open(t.path);
        a->gBazaOtwarta = true;
        a->gStanowisko = nr;
        a->gBazaPar = app.gBazaPar;
        return a;
    }
    // A stored invoice of one position: 10 kg at 800,00.
    void storeInvoice(App& a, const QString& numer)
    {
        bufferDocument(a, invoiceHeader(numer), {{"Pszenica", "10", "kg", "800,00", "7"}});
        ASSERT_TRUE(ZapiszDokument(a, {}).ok) << answers.last().toStdString();
    }
};

} // namespace

TEST_F(SaveFixture, InvoiceIsStoredExactlyWithNamedRowsOnly)
{
    DocHeader h = invoiceHeader("1/05/2024");
    h.Nipkon = "";  // an empty text is stored as NULL
    bufferDocument(app, h,
                   {{"Pszenica", "2,5", "kg", "10,00", "23"}, {"", "", "", "", ""}, {"Żyto", "1,005", "t", "1,00", "7,5"}});
    SaveResult r = save();
    ASSERT_TRUE(r.ok) << answers.last().toStdString();
    EXPECT_EQ(r.numer, "1/05/2024");
    EXPECT_TRUE(answers.seen.empty());

    auto d = db.queryOne("SELECT * FROM fadok");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text("Numer"), "1/05/2024");
    EXPECT_EQ(d->text("Inddok"), "FR");
    EXPECT_EQ(d->text("Datawyst"), "2024-05-06");
    EXPECT_EQ(d->text("Nazkon"), "Jan O'Brien");
    EXPECT_TRUE(d->isNull("Nipkon"));
    EXPECT_TRUE(d->isNull("Zaplacono"));
    EXPECT_TRUE(d->isNull("KorNumer"));
    EXPECT_EQ(d->decimal("RazNetto"), dec("26,01"));   // 25,00 + 1,01
    EXPECT_EQ(d->decimal("RazBrutto"), dec("31,84"));  // 30,75 + 1,09
    EXPECT_EQ(d->text("Fundusz"), " ");

    auto rows = db.query("SELECT * FROM fapoz ORDER BY Pozycja");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text("Nazwa"), "Pszenica");
    EXPECT_EQ(rows[0].text("Numer"), "1/05/2024");
    EXPECT_EQ(rows[0].text("Inddok"), "FR");
    EXPECT_EQ(rows[0].integer("Korekta"), 0);
    EXPECT_EQ(rows[1].integer("Pozycja"), 3);
    EXPECT_EQ(rows[1].decimal("WartBrutto"), dec("1,09"));
    // The buffer is left as the user sees it; dokor is never touched by an invoice.
    EXPECT_EQ(count("SELECT count(*) FROM dopoz WHERE Numer IS NOT NULL"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM dopoz"), 3);
}

TEST_F(SaveFixture, EveryHeaderFaultHasItsMessageAndFocusAndStoresNothing)
{
    struct Case {
        std::function<void(DocHeader&)> spoil;
        const char* message;
        const char* focus;
    };
    const std::vector<Case> cases = {
        {[](DocHeader& h) { h.Numer.clear(); }, "Brak numeru dokumentu. Wprowadź numer i spróbuj ponownie.", "txtNumer"},
        {[](DocHeader& h) { h.Numer = "?"; }, "Błędny numer dokumentu. Nie można było zaproponować numeru. Wprowadź numer i spróbuj ponownie.", "txtNumer"},
        {[](DocHeader& h) { h.Datawyst = {}; }, "Brak daty wystawienia dokumentu. Wprowadź datę i spróbuj ponownie.", "txtDatawyst"},
        {[](DocHeader& h) { h.Datasprz = {}; }, "Brak daty sprzedaży dokumentu. Wprowadź datę i spróbuj ponownie.", "txtDatasprz"},
        {[](DocHeader& h) { h.Nazkon.clear(); }, "Brak nazwy sprzedawcy. Wprowadź nazwę i spróbuj ponownie.", "txtNazkon"},
        {[](DocHeader& h) { h.Adrkon.clear(); }, "Brak adresu sprzedawcy. Wprowadź adres i spróbuj ponownie.", "txtAdrkon"},
        {[](DocHeader& h) { h.PlatFor.clear(); }, "Brak formy płatności dokumentu. Określ formę płatności i spróbuj ponownie.", "cmbPlatFor"},
        {[](DocHeader& h) { h.Inddok = "KFR"; }, "Brak numeru dokumentu korygowanego. Wybierz dokument korygowany i spróbuj ponownie.", "cmbKornum"},
        {[](DocHeader& h) { h.RazBrutto = Decimal(); }, "Wprowadź pozycje dokumentu. Nie można zapisać dokumentu z zerową wartością.", "tabPoz"},
        {[](DocHeader& h) { h.RazBrutto.reset(); }, "Wprowadź pozycje dokumentu. Nie można zapisać dokumentu z zerową wartością.", "tabPoz"},
    };
    for (const Case& c : cases) {
        DocHeader h = bufferDocument(app, invoiceHeader("1/05/2024"), {{"Pszenica", "1", "kg", "5", "7"}});
        c.spoil(h);
        ZapiszDoBufora(app, h);
        answers.seen.clear();
        SaveResult r = save();
        EXPECT_FALSE(r.ok);
        ASSERT_TRUE(r.fault) << c.message;
        EXPECT_EQ(r.fault->focus, c.focus);
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.last(), QString::fromUtf8(c.message));
        EXPECT_EQ(answers.seen[0].icon, ui::Icon::Exclamation);
    }
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 0);
}

TEST_F(SaveFixture, EveryPositionFaultIsRefusedInBothBuffers)
{
    const QString zla = QString::fromUtf8("Błędna pozycja dokumentu nr 2");
    struct Case {
        std::vector<TypedRow> poz, kor;
        QString message;
        const char* focus;
        int row;
    };
    const std::vector<Case> cases = {
        {{{"A", "1", "kg", "5", "7"}, {"", "2", "kg", "5", "7"}}, {}, zla + QString::fromUtf8(". Brak nazwy towaru / usługi. Jeżeli nie chcesz wprowadzać pozycji wprowadź 0 (zero) do pola ilość lub usuń pozycję."), "gridPoz", 0},
        {{{"A", "1", "kg", "5", "7"}, {"B", "2", "", "5", "7"}}, {}, zla + QString::fromUtf8(". Brak jednostki miary. Jeżeli nie chcesz określać jednostki wprowadź ---"), "gridPoz", 0},
        {{{"A", "1", "kg", "5", "7"}, {"B", "2", "kg", "5", ""}}, {}, zla + QString::fromUtf8(". Brak stawki podatku VAT."), "gridPoz", 1},
        {{{"A", "1", "kg", "5", "7"}, {"B", "", "kg", "5", "7"}}, {}, zla + QString::fromUtf8(". Zerowa wartość pozycji. Wprowadź ilość i cenę. Jeżeli nie chcesz, aby porogram uwzględniał tą pozycję usuń nazwę towaru / usługi lub usuń pozycję."), "gridPoz", 1},
        // A correction: an unnamed "before" row with a value is refused as in dopoz.
        {{{"A", "4", "kg", "5", "7"}}, {{"A", "1", "kg", "5", "7"}, {"", "2", "kg", "5", "7"}}, zla + QString::fromUtf8(". Brak nazwy towaru / usługi. Jeżeli nie chcesz wprowadzać pozycji wprowadź 0 (zero) do pola ilość lub usuń pozycję."), "gridKor", 0},
    };
    storeInvoice(app, "1/04/2024");
    for (const Case& c : cases) {
        DocHeader h = invoiceHeader("2/05/2024");
        if (!c.kor.empty()) {
            h.Inddok = "KFR";
            h.KorInddok = "FR";
            h.KorNumer = "1/04/2024";
        }
        bufferDocument(app, h, c.poz, c.kor);
        answers.seen.clear();
        SaveResult r = save();
        ASSERT_TRUE(r.fault);
        EXPECT_EQ(answers.last(), c.message);
        EXPECT_EQ(r.fault->focus, c.focus);
        EXPECT_EQ(r.fault->row, c.row);
    }
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
    // An unnamed row without a value is an empty line: skipped, not stored.
    bufferDocument(app, invoiceHeader("2/05/2024"), {{"A", "1", "kg", "5", "7"}, {"", "0", "kg", "5", "7"}});
    ASSERT_TRUE(save().ok);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '2/05/2024'"), 1);
}

TEST_F(SaveFixture, TotalsMustMatchTheRows)
{
    DocHeader h = bufferDocument(app, invoiceHeader("1/05/2024"), {{"A", "1", "kg", "5", "7"}});
    const QString adres = AdresPomocy(app);
    h.RazBrutto = dec("5,36");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Błędne wartości netto, VAT lub brutto pozycji dokumentu. Usuń pozycje "
                                                "dokumentu i wprowadź je ponownie. Jeżeli błąd jest powtarzalny zgłoś go - "
                                                "napisz na adres ") + adres + " [5,35]");
    h.RazBrutto = dec("5,35");
    h.RazVAT = dec("0,36");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Błędne wartości netto, VAT lub brutto dokumentu. Usuń pozycje dokumentu "
                                                "i wprowadź je ponownie. Jeżeli błąd jest powtarzalny zgłoś go - napisz na adres ")
                                  + adres + " ");
    // Empty totals count as 0 against rows that carry values.
    h.RazNetto.reset();
    h.RazVAT.reset();
    h.RazBrutto = dec("5,35");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, CorrectionStoresTheBeforeRowsNegatedAndReloadsPositive)
{
    storeInvoice(app, "1/04/2024");
    DocHeader h = invoiceHeader("1/05/2024");
    h.Inddok = "KFR";
    h.KorInddok = "FR";
    h.KorNumer = "1/04/2024";
    h.KorDatawyst = QDate(2024, 4, 2);
    bufferDocument(app, h, {{"Pszenica", "0", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(save().ok) << answers.last().toStdString();

    auto before = db.queryOne("SELECT * FROM fapoz WHERE Numer = '1/05/2024' AND Korekta = 1");
    ASSERT_TRUE(before);
    EXPECT_EQ(before->decimal("Ilosc"), Decimal(-10));
    EXPECT_EQ(before->decimal("WartNetto"), Decimal(-8000));
    EXPECT_EQ(before->decimal("WartVAT"), Decimal(-560));
    EXPECT_EQ(before->decimal("Cenanet"), Decimal(800));
    EXPECT_EQ(before->text("Inddok"), "KFR");
    auto after = db.queryOne("SELECT * FROM fapoz WHERE Numer = '1/05/2024' AND Korekta = 0");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->decimal("Ilosc"), Decimal(0));
    EXPECT_EQ(db.scalar("SELECT RazBrutto FROM fadok WHERE Numer = '1/05/2024'").toDecimal(), Decimal(-8560));
    // The buffers stay positive, so saving again after a crash cannot negate twice.
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM dokor").toDecimal(), Decimal(10));
    ASSERT_TRUE(save({true, "1/05/2024"}).ok);
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM fapoz WHERE Numer = '1/05/2024' AND Korekta = 1").toDecimal(), Decimal(-10));

    NowyDokumentBufor(app, false);
    auto loaded = WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->KorNumer, "1/04/2024");
    EXPECT_EQ(loaded->RazBrutto, Decimal(-8560));
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM dokor").toDecimal(), Decimal(10));
    EXPECT_EQ(db.scalar("SELECT WartNetto FROM dokor").toDecimal(), Decimal(8000));
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM dopoz").toDecimal(), Decimal(0));
}

TEST_F(SaveFixture, AnInvoiceIsCorrectedOnceEvenFromTwoWorkstations)
{
    storeInvoice(app, "1/04/2024");
    auto other = workstation(1);
    for (App* a : {&app, other.get()}) {
        DocHeader h = invoiceHeader(a == &app ? "1/05/2024" : "2/05/2024");
        h.Inddok = "KFR";
        h.KorInddok = "FR";
        h.KorNumer = "1/04/2024";
        bufferDocument(*a, h, {{"Pszenica", "9", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    }
    ASSERT_TRUE(ZapiszDokument(*other, {}).ok);
    SaveResult r = save();
    EXPECT_FALSE(r.ok);
    ASSERT_TRUE(r.fault);
    EXPECT_EQ(r.fault->focus, "cmbKornum");
    EXPECT_EQ(answers.last(), QString::fromUtf8("Dokument nr 1/04/2024 został już skorygowany dokumentem nr 2/05/2024. Nie "
                                                "można zapisać drugiej korekty tego dokumentu. Wybierz inny dokument "
                                                "korygowany i spróbuj ponownie."));
    EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE KorNumer = '1/04/2024'"), 1);
    // The stored correction itself may be edited and saved again.
    bufferDocument(*other, [&] {
        DocHeader h = invoiceHeader("2/05/2024");
        h.Inddok = "KFR";
        h.KorInddok = "FR";
        h.KorNumer = "1/04/2024";
        return h;
    }(), {{"Pszenica", "8", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    EXPECT_TRUE(ZapiszDokument(*other, {true, "2/05/2024"}).ok);
}

TEST_F(SaveFixture, ReplacingAnotherStoredDocumentIsAskedFirst)
{
    storeInvoice(app, "1/05/2024");
    db.execute("UPDATE fadok SET Zaplacono = RazBrutto");
    // A new document typed (or proposed) under a stored number: No keeps the stored one.
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    answers.yes = false;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Dokument o numerze 1/05/2024 istnieje w bazie danych. Zastąpić istniejący dokument?"));
    EXPECT_EQ(answers.seen.back().icon, ui::Icon::Question);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");

    // Its own edit under its own number replaces it without a question and stays paid.
    answers.seen.clear();
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "1", "kg", "5", "7"}});
    ASSERT_TRUE(save({true, "1/05/2024"}).ok);
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 2);
    EXPECT_EQ(db.scalar("SELECT Zaplacono FROM fadok").toDecimal(), dec("8560"));

    // An edited document whose number was changed to another stored one asks too.
    storeInvoice(app, "2/05/2024");
    bufferDocument(app, invoiceHeader("2/05/2024"), {{"Jęczmień", "1", "kg", "5", "7"}});
    answers.seen.clear();
    EXPECT_FALSE(save({true, "1/05/2024"}).ok);
    EXPECT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), "Pszenica");

    // Yes replaces it, and the replaced document's paid amount is not carried over.
    answers.yes = true;
    db.execute("UPDATE fadok SET Zaplacono = RazBrutto");
    ASSERT_TRUE(save({true, "1/05/2024"}).ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), QString::fromUtf8("Jęczmień"));
    EXPECT_TRUE(db.scalar("SELECT Zaplacono FROM fadok WHERE Numer = '2/05/2024'").isNull());
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 2);
}

TEST_F(SaveFixture, NumberIsTakenAtSaveWhenItCannotBeEdited)
{
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    auto other = workstation(1);
    // Both workstations were proposed 1/05/2024; the second to save gets the next number.
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"A", "1", "kg", "5", "7"}});
    bufferDocument(*other, invoiceHeader("1/05/2024"), {{"B", "1", "kg", "5", "7"}});
    ASSERT_TRUE(ZapiszDokument(*other, {}).ok);
    SaveResult r = save();
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.numer, "2/05/2024");
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), "A");
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '1/05/2024'").toText(), "B");
    EXPECT_EQ(db.scalar("SELECT Numer FROM fadok WHERE Stanowisko = 0").toText(), "2/05/2024");

    // With an editable number the second workstation is asked instead of overwriting.
    app.gBazaPar.NumEdycja = other->gBazaPar.NumEdycja = true;
    bufferDocument(app, invoiceHeader("3/05/2024"), {{"C", "1", "kg", "5", "7"}});
    bufferDocument(*other, invoiceHeader("3/05/2024"), {{"D", "1", "kg", "5", "7"}});
    ASSERT_TRUE(ZapiszDokument(*other, {}).ok);
    answers.yes = false;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '3/05/2024'").toText(), "D");
}

TEST_F(SaveFixture, ReadOnlyDatabaseRefusesToSave)
{
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"A", "1", "kg", "5", "7"}});
    app.gBazaPar.BazaOdczyt = true;
    EXPECT_FALSE(save().ok);
    app.gBazaPar.BazaOdczyt = false;
    // Locked by another workstation after this one attached.
    db.execute("INSERT OR REPLACE INTO dbpar (Indpar, Wartosc) VALUES ('BazaOdczyt', '1')");
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(answers.texts().count(QString::fromUtf8("Baza danych jest zablokowana - tylko do odczytu. Nie można zapisać dokumentu.")), 2);
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, DatabaseErrorRollsTheWholeSaveBack)
{
    storeInvoice(app, "1/05/2024");
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    // The positions' insert fails after the stored document was already deleted.
    db.execute("CREATE TRIGGER fail BEFORE INSERT ON fapoz BEGIN SELECT RAISE(ABORT, 'disk gone'); END");
    EXPECT_FALSE(save({true, "1/05/2024"}).ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(SaveFixture, NumberTakenAtSaveThatIsStoredAlreadyIsAskedAfterTheTransaction)
{
    // A template without the period: May's first number is April's first number again.
    app.gBazaPar.NumSzablon = "Numer";
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    bufferDocument(app, invoiceHeader("?", QDate(2024, 4, 2)), {{"Kwiecień", "1", "kg", "5", "7"}});
    ASSERT_TRUE(save().ok);
    bufferDocument(app, invoiceHeader("?", QDate(2024, 5, 6)), {{"Maj", "1", "kg", "5", "7"}});
    answers.yes = false;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Dokument o numerze 1 istnieje w bazie danych. Zastąpić istniejący dokument?"));
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), QString::fromUtf8("Kwiecień"));
    answers.yes = true;
    SaveResult r = save();
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.numer, "1");
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Maj");
}
