#include "documents/save.h"
#include "documents/loading.h"
#include "support/document_fixture.h"
#include "support/sql_hook.h"
#include "support/temp_database.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct SaveFixture : ::testing::Test {
    TempDatabase t;
    App& app = t.app;
    db::Database& db = t.db();
    Replies replies{app};
    QString last;  // the message of the last refusal

    void SetUp() override { app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]"); }
    SaveResult save(const EditState& s = {}) { return saveOn(app, s); }
    SaveResult saveOn(App& a, const EditState& s = {})
    {
        SaveResult r = ZapiszDokument(a, s, replies.ask());
        last = r.fault ? r.fault->message : replies.lastError;
        return r;
    }
    // The state of editing stored document `numer` of `a`'s database, as a load for editing leaves it.
    EditState editing(const QString& numer, App* a = nullptr)
    {
        App& on = a ? *a : app;
        auto id = storedIdentityOf(*on.gBaseDb, numer);
        EXPECT_TRUE(id) << numer.toStdString();
        return EditState::of(on, numer, id.value_or(StoredIdentity()));
    }
    // The only stored document, 1/05/2024, partly paid, opened for editing here with another
    // quantity typed.
    EditState paidDocumentEdited()
    {
        db.execute("DELETE FROM fapoz");
        db.execute("DELETE FROM fadok");
        storeInvoice(app, "1/05/2024");
        db.execute("UPDATE fadok SET Zaplacono = 50");
        EditState edited = editing("1/05/2024");
        bufferDocument(app, invoiceHeader("1/05/2024"), {{"Pszenica", "11", "kg", "800,00", "7"}});
        return edited;
    }
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
        ASSERT_TRUE(saveOn(a).ok) << last.toStdString();
    }
};

}  // namespace

TEST_F(SaveFixture, InvoiceIsStoredExactlyWithNamedRowsOnlyNumberedWithoutGaps)
{
    DocHeader h = invoiceHeader("1/05/2024");
    h.Nipkon = "";  // an empty text is stored as NULL
    bufferDocument(
        app, h,
        {{"Pszenica", "2,5", "kg", "10,00", "23"}, {"", "", "", "", ""}, {"Żyto", "1,005", "t", "1,00", "7,5"}});
    SaveResult r = save();
    ASSERT_TRUE(r.ok) << last.toStdString() << replies.questions.join("|").toStdString();
    EXPECT_EQ(r.numer, "1/05/2024");
    EXPECT_TRUE(replies.questions.empty());

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
    // The empty middle line leaves no gap: the stored rows are 1 and 2.
    EXPECT_EQ(rows[1].integer("Pozycja"), 2);
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
        FormField focus;
    };
    const std::vector<Case> cases = {
        {[](DocHeader& h) { h.Numer.clear(); }, "Brak numeru dokumentu. Wprowadź numer i spróbuj ponownie.",
         FormField::Numer},
        {[](DocHeader& h) { h.Numer = "?"; },
         "Błędny numer dokumentu. Nie można było zaproponować numeru. Wprowadź numer i spróbuj ponownie.",
         FormField::Numer},
        {[](DocHeader& h) { h.Datawyst = {}; }, "Brak daty wystawienia dokumentu. Wprowadź datę i spróbuj ponownie.",
         FormField::Datawyst},
        {[](DocHeader& h) { h.Datasprz = {}; }, "Brak daty sprzedaży dokumentu. Wprowadź datę i spróbuj ponownie.",
         FormField::Datasprz},
        {[](DocHeader& h) { h.Nazkon.clear(); }, "Brak nazwy sprzedawcy. Wprowadź nazwę i spróbuj ponownie.",
         FormField::Nazkon},
        {[](DocHeader& h) { h.Adrkon.clear(); }, "Brak adresu sprzedawcy. Wprowadź adres i spróbuj ponownie.",
         FormField::Adrkon},
        {[](DocHeader& h) { h.PlatFor.clear(); },
         "Brak formy płatności dokumentu. Określ formę płatności i spróbuj ponownie.", FormField::PlatFor},
        {[](DocHeader& h) { h.Inddok = "KFR"; },
         "Brak numeru dokumentu korygowanego. Wybierz dokument korygowany i spróbuj ponownie.", FormField::Kornum},
        {[](DocHeader& h) { h.RazBrutto = Decimal(); },
         "Wprowadź pozycje dokumentu. Nie można zapisać dokumentu z zerową wartością.", FormField::TabPoz},
        {[](DocHeader& h) { h.RazBrutto.reset(); },
         "Wprowadź pozycje dokumentu. Nie można zapisać dokumentu z zerową wartością.", FormField::TabPoz},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        DocHeader h = bufferDocument(app, invoiceHeader("1/05/2024"), {{"Pszenica", "1", "kg", "5", "7"}});
        c.spoil(h);
        ZapiszDoBufora(app, h);
        SaveResult r = save();
        EXPECT_FALSE(r.ok);
        ASSERT_TRUE(r.fault);
        EXPECT_EQ(r.fault->focus, c.focus);
        EXPECT_EQ(r.fault->message, QString::fromUtf8(c.message));
    }
    EXPECT_TRUE(replies.questions.empty());
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 0);
}

TEST_F(SaveFixture, EveryPositionFaultIsRefusedInBothBuffers)
{
    const QString zla = QString::fromUtf8("Błędna pozycja dokumentu nr 2");
    struct Case {
        std::vector<TypedRow> poz, kor;
        QString message;
        FormField focus;
        int row;
    };
    const std::vector<Case> cases = {
        {{{"A", "1", "kg", "5", "7"}, {"", "2", "kg", "5", "7"}},
         {},
         zla + QString::fromUtf8(". Brak nazwy towaru / usługi. Jeżeli nie chcesz wprowadzać pozycji wprowadź 0 (zero) "
                                 "do pola ilość lub usuń pozycję."),
         FormField::Pozycje,
         0},
        {{{"A", "1", "kg", "5", "7"}, {"B", "2", "", "5", "7"}},
         {},
         zla + QString::fromUtf8(". Brak jednostki miary. Jeżeli nie chcesz określać jednostki wprowadź ---"),
         FormField::Pozycje,
         0},
        {{{"A", "1", "kg", "5", "7"}, {"B", "2", "kg", "5", ""}},
         {},
         zla + QString::fromUtf8(". Brak stawki podatku VAT."),
         FormField::Pozycje,
         1},
        {{{"A", "1", "kg", "5", "7"}, {"B", "", "kg", "5", "7"}},
         {},
         zla + QString::fromUtf8(". Zerowa wartość pozycji. Wprowadź ilość i cenę. Jeżeli nie chcesz, aby porogram "
                                 "uwzględniał tą pozycję usuń nazwę towaru / usługi lub usuń pozycję."),
         FormField::Pozycje,
         1},
        // A correction: an unnamed "before" row with a value is refused as in dopoz.
        {{{"A", "4", "kg", "5", "7"}},
         {{"A", "1", "kg", "5", "7"}, {"", "2", "kg", "5", "7"}},
         zla + QString::fromUtf8(". Brak nazwy towaru / usługi. Jeżeli nie chcesz wprowadzać pozycji wprowadź 0 (zero) "
                                 "do pola ilość lub usuń pozycję."),
         FormField::PozycjeKor,
         0},
    };
    storeInvoice(app, "1/04/2024");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        DocHeader h = invoiceHeader("2/05/2024");
        if (!c.kor.empty()) {
            h.Inddok = "KFR";
            h.KorInddok = "FR";
            h.KorNumer = "1/04/2024";
        }
        bufferDocument(app, h, c.poz, c.kor);
        SaveResult r = save();
        ASSERT_TRUE(r.fault);
        EXPECT_EQ(r.fault->message, c.message);
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
    const QString adres = helpAddress(app);
    h.RazBrutto = dec("5,36");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(last, QString::fromUtf8("Błędne wartości netto, VAT lub brutto pozycji dokumentu. Usuń pozycje "
                                      "dokumentu i wprowadź je ponownie. Jeżeli błąd jest powtarzalny zgłoś go - "
                                      "napisz na adres ") +
                        adres + " [5,35]");
    h.RazBrutto = dec("5,35");
    h.RazVAT = dec("0,36");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(last,
              QString::fromUtf8("Błędne wartości netto, VAT lub brutto dokumentu. Usuń pozycje dokumentu "
                                "i wprowadź je ponownie. Jeżeli błąd jest powtarzalny zgłoś go - napisz na adres ") +
                  adres + " ");
    // Empty totals count as 0 against rows that carry values.
    h.RazNetto.reset();
    h.RazVAT.reset();
    h.RazBrutto = dec("5,35");
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, TotalBeyondTheMoneyRangeIsRefusedNotWrapped)
{
    // Each row fits the money range; together they do not.
    typeRows(app, PositionTable::Dopoz,
             {{"A", "1", "kg", "500000000000000", "0"}, {"B", "1", "kg", "500000000000000", "0"}});
    DocHeader h = invoiceHeader("1/05/2024");
    h.RazNetto = h.RazBrutto = dec("-844674407370955,16");  // what a wrapped sum would show
    h.RazVAT = Decimal();
    ZapiszDoBufora(app, h);
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(replies.reported, QStringList{"ZapiszDokument"});
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, CorrectionStoresTheBeforeRowsNegatedAndReloadsPositive)
{
    storeInvoice(app, "1/04/2024");
    DocHeader h = correctionHeader("1/05/2024", "1/04/2024", QDate(2024, 4, 2));
    bufferDocument(app, h, {{"Pszenica", "0", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(save().ok) << last.toStdString();

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
    ASSERT_TRUE(save(editing("1/05/2024")).ok) << last.toStdString();
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM fapoz WHERE Numer = '1/05/2024' AND Korekta = 1").toDecimal(), Decimal(-10));

    bufferNewDocument(app, false);
    auto loaded = WczytajDokument(app, kTrybPopraw, "1/05/2024", DocHeader());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.KorNumer, "1/04/2024");
    EXPECT_EQ(loaded->header.RazBrutto, Decimal(-8560));
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM dokor").toDecimal(), Decimal(10));
    EXPECT_EQ(db.scalar("SELECT WartNetto FROM dokor").toDecimal(), Decimal(8000));
    EXPECT_EQ(db.scalar("SELECT Ilosc FROM dopoz").toDecimal(), Decimal(0));
}

TEST_F(SaveFixture, AnInvoiceIsCorrectedOnceEvenFromTwoWorkstations)
{
    storeInvoice(app, "1/04/2024");
    auto other = workstation(1);
    for (App* a : {&app, other.get()}) {
        DocHeader h = correctionHeader(a == &app ? "1/05/2024" : "2/05/2024", "1/04/2024");
        bufferDocument(*a, h, {{"Pszenica", "9", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    }
    ASSERT_TRUE(saveOn(*other).ok);
    SaveResult r = save();
    EXPECT_FALSE(r.ok);
    ASSERT_TRUE(r.fault);
    EXPECT_EQ(r.fault->focus, FormField::Kornum);
    EXPECT_EQ(last, QString::fromUtf8("Dokument nr 1/04/2024 został już skorygowany dokumentem nr 2/05/2024. Nie "
                                      "można zapisać drugiej korekty tego dokumentu. Wybierz inny dokument "
                                      "korygowany i spróbuj ponownie."));
    EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE KorNumer = '1/04/2024'"), 1);
    // The stored correction itself may be edited and saved again.
    const EditState edited = editing("2/05/2024", other.get());
    bufferDocument(*other, correctionHeader("2/05/2024", "1/04/2024"), {{"Pszenica", "8", "kg", "800,00", "7"}},
                   {{"Pszenica", "10", "kg", "800,00", "7"}});
    EXPECT_TRUE(saveOn(*other, edited).ok) << last.toStdString();
}

TEST_F(SaveFixture, ACorrectionNamesAStoredDocumentOtherThanItself)
{
    storeInvoice(app, "1/04/2024");
    const QString wybierz = QString::fromUtf8(" Wybierz dokument korygowany i spróbuj ponownie.");
    struct Case {
        const char* numer;
        const char* korInddok;
        const char* korNumer;
        QString message;
    };
    const std::vector<Case> cases = {
        {"1/05/2024", "FR", "7/04/2024",
         QString::fromUtf8("Dokument korygowany nr 7/04/2024 nie istnieje w bazie danych.") + wybierz},
        {"1/05/2024", "KFR", "1/04/2024",
         QString::fromUtf8("Dokument korygowany nr 1/04/2024 nie istnieje w bazie danych.") + wybierz},
        {"1/05/2024", "FR", "1/05/2024", QString::fromUtf8("Dokument nie może korygować samego siebie.") + wybierz},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.korNumer);
        DocHeader h = invoiceHeader(c.numer);
        h.Inddok = "KFR";
        h.KorInddok = c.korInddok;
        h.KorNumer = c.korNumer;
        bufferDocument(app, h, {{"Pszenica", "9", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
        SaveResult r = save();
        EXPECT_FALSE(r.ok);
        ASSERT_TRUE(r.fault);
        EXPECT_EQ(r.fault->message, c.message);
        EXPECT_EQ(r.fault->focus, FormField::Kornum);
    }
    EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE Inddok = 'KFR'"), 0);
    // The invoice deleted by another workstation after it was chosen is caught at the save too.
    DocHeader h = invoiceHeader("1/05/2024");
    h.Inddok = "KFR";
    h.KorInddok = "FR";
    h.KorNumer = "1/04/2024";
    bufferDocument(app, h, {{"Pszenica", "9", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});
    workstation(1)->gBaseDb->execute("DELETE FROM fadok WHERE Numer = '1/04/2024'");
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, ReplacingAnotherStoredDocumentIsAskedFirst)
{
    storeInvoice(app, "1/05/2024");
    db.execute("UPDATE fadok SET Zaplacono = RazBrutto");
    // A new document typed (or proposed) under a stored number: No keeps the stored one.
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    replies.yes = false;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(replies.questions, QStringList{QString::fromUtf8("Dokument o numerze 1/05/2024 istnieje w bazie danych. "
                                                               "Zastąpić istniejący dokument?")});
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");

    // Its own edit under its own number replaces it without a question and stays paid.
    replies.questions.clear();
    const EditState own = editing("1/05/2024");
    bufferDocument(app, invoiceHeader("1/05/2024"),
                   {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "1", "kg", "5", "7"}});
    ASSERT_TRUE(save(own).ok);
    EXPECT_TRUE(replies.questions.empty());
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 2);
    EXPECT_EQ(db.scalar("SELECT Zaplacono FROM fadok").toDecimal(), dec("8560"));

    // An edited document whose number was changed to another stored one asks too.
    storeInvoice(app, "2/05/2024");
    const EditState first = editing("1/05/2024");
    bufferDocument(app, invoiceHeader("2/05/2024"), {{"Jęczmień", "1", "kg", "5", "7"}});
    replies.questions.clear();
    EXPECT_FALSE(save(first).ok);
    EXPECT_EQ(replies.questions.size(), 1);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), "Pszenica");

    // Yes replaces it, and the replaced document's paid amount is not carried over.
    replies.yes = true;
    db.execute("UPDATE fadok SET Zaplacono = RazBrutto");
    ASSERT_TRUE(save(first).ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), QString::fromUtf8("Jęczmień"));
    EXPECT_TRUE(db.scalar("SELECT Zaplacono FROM fadok WHERE Numer = '2/05/2024'").isNull());
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 2);
}

// Another workstation deletes the document being edited here and stores a different, paid one
// under its number: the edit must not replace it unseen, nor take its paid amount.
TEST_F(SaveFixture, AnEditedDocumentReplacedMeanwhileIsNotOverwrittenUnseen)
{
    storeInvoice(app, "1/05/2024");
    const EditState edited = editing("1/05/2024");
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Pszenica", "11", "kg", "800,00", "7"}});

    auto other = workstation(1);
    other->gBaseDb->execute("DELETE FROM fapoz WHERE Numer = '1/05/2024'");
    other->gBaseDb->execute("DELETE FROM fadok WHERE Numer = '1/05/2024'");
    bufferDocument(*other, invoiceHeader("1/05/2024"), {{"Rzepak", "1", "kg", "1500,00", "7"}});
    ASSERT_TRUE(saveOn(*other).ok);
    other->gBaseDb->execute("UPDATE fadok SET Zaplacono = ?", {Decimal(1605)});

    replies.yes = false;
    EXPECT_FALSE(save(edited).ok);
    EXPECT_EQ(replies.questions.size(), 1);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Rzepak");
    EXPECT_EQ(db.scalar("SELECT Zaplacono FROM fadok").toDecimal(), Decimal(1605));

    replies.yes = true;
    ASSERT_TRUE(save(edited).ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
    EXPECT_EQ(db.scalar("SELECT RazBrutto FROM fadok").toDecimal(), dec("9416"));
    EXPECT_TRUE(db.scalar("SELECT Zaplacono FROM fadok").isNull());
}

// Another workstation renumbers the document being edited here (stores it under another number
// and deletes it, or changes its number in place): the edit is that document, and replaces it
// under the number kept here, never beside it. One deleted there is stored again after asking.
TEST_F(SaveFixture, AnEditedDocumentRenumberedElsewhereReplacesItselfAndOneDeletedIsStoredAgain)
{
    struct Case {
        QStringList meanwhile;  // on the other workstation, after it stored 9/05/2024 when that is named first
        const char* question;
    };
    const QString renumbered = QString::fromUtf8("Dokument o numerze 1/05/2024 otrzymał w międzyczasie numer "
                                                 "9/05/2024. Zastąpić dokument o numerze 9/05/2024 dokumentem o "
                                                 "numerze 1/05/2024?");
    const QString gone = " WHERE Numer = '1/05/2024'";
    const std::vector<Case> cases = {
        {{"9/05/2024", "UPDATE fadok SET Zaplacono = 50", "DELETE FROM fapoz" + gone, "DELETE FROM fadok" + gone},
         nullptr},
        {{"UPDATE fadok SET Numer = '9/05/2024'" + gone, "UPDATE fapoz SET Numer = '9/05/2024'" + gone}, nullptr},
        {{"DELETE FROM fapoz" + gone, "DELETE FROM fadok" + gone},
         "Dokument o numerze 1/05/2024 został w międzyczasie usunięty z bazy danych. Zapisać go ponownie?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanwhile.join("; ").toStdString());
        const EditState edited = paidDocumentEdited();
        auto other = workstation(1);
        for (const QString& step : c.meanwhile) {
            if (!step.contains(' ')) {
                storeInvoice(*other, step);
                continue;
            }
            other->gBaseDb->execute(step);
        }
        const qint64 before = count("SELECT count(*) FROM fadok");

        replies.questions.clear();
        replies.yes = false;
        EXPECT_FALSE(save(edited).ok);
        EXPECT_EQ(replies.questions, QStringList{c.question ? QString::fromUtf8(c.question) : renumbered});
        EXPECT_EQ(count("SELECT count(*) FROM fadok"), before);
        replies.yes = true;
        ASSERT_TRUE(save(edited).ok) << last.toStdString();
        // One purchase, under the number kept here, with what was typed here.
        EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
        EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE Numer = '1/05/2024'"), 1);
        EXPECT_EQ(count("SELECT sum(Ilosc) FROM fapoz"), 110000);
        // Taken back from its other number, it is still the document that was paid.
        EXPECT_EQ(db.scalar("SELECT Zaplacono FROM fadok").isNull(), c.question != nullptr);
    }
}

// The Yes given for what was stored when the question came covers only that: a document changed
// by another workstation while the question is on screen is asked about again.
TEST_F(SaveFixture, AYesForOneVersionDoesNotStoreOverANewerOne)
{
    storeInvoice(app, "1/05/2024");
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    auto other = workstation(1);
    QStringList asked;
    SaveResult r = ZapiszDokument(app, {}, [&](const QString& q) {
        asked << q;
        if (asked.size() == 1) other->gBaseDb->execute("UPDATE fadok SET Nazkon = 'Nowszy'");
        return asked.size() == 1;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(db.scalar("SELECT Nazkon FROM fadok").toText(), "Nowszy");
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
}

TEST_F(SaveFixture, TheEditedDocumentStaysItselfWhenMarkedPaidButNotWhenGoneOrFromAnotherFile)
{
    struct Case {
        const char* meanwhile;  // what happens to the stored document while it is edited
        bool asked;
        bool paid;  // the stored paid amount is kept
    };
    const std::vector<Case> cases = {
        {"UPDATE fadok SET Zaplacono = 100", false, true},
        {"DELETE FROM fadok", true, false},
        {"UPDATE fadok SET Nazkon = 'Inny'", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        const EditState edited = paidDocumentEdited();
        workstation(1)->gBaseDb->execute(QString::fromUtf8(c.meanwhile));
        replies.questions.clear();
        ASSERT_TRUE(save(edited).ok) << last.toStdString();
        EXPECT_EQ(!replies.questions.empty(), c.asked);
        EXPECT_EQ(db.scalar("SELECT Zaplacono FROM fadok").isNull(), !c.paid);
        EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
    }

    // A byte copy of the file is another database: its document, the same row with the same
    // content, is not the one loaded from here.
    const EditState fromHere = editing("1/05/2024");
    const QString copyPath = t.dir.filePath("kopia.mdb");
    ASSERT_TRUE(QFile::copy(t.path, copyPath));
    auto copy = workstation(0);
    copy->gBaseDb = db::Database::open(copyPath);
    ASSERT_EQ(storedIdentityOf(*copy->gBaseDb, "1/05/2024"), fromHere.storedIdentity);
    bufferDocument(*copy, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    replies.questions.clear();
    replies.yes = false;
    EXPECT_FALSE(saveOn(*copy, fromHere).ok);
    EXPECT_EQ(replies.questions.size(), 1);
    EXPECT_EQ(copy->gBaseDb->scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
}

TEST_F(SaveFixture, NumberIsTakenAtSaveWhenItCannotBeEdited)
{
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    auto other = workstation(1);
    // Both workstations were proposed 1/05/2024; the second to save gets the next number.
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"A", "1", "kg", "5", "7"}});
    bufferDocument(*other, invoiceHeader("1/05/2024"), {{"B", "1", "kg", "5", "7"}});
    ASSERT_TRUE(saveOn(*other).ok);
    SaveResult r = save();
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.numer, "2/05/2024");
    EXPECT_TRUE(replies.questions.empty());
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2/05/2024'").toText(), "A");
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '1/05/2024'").toText(), "B");
    EXPECT_EQ(db.scalar("SELECT Numer FROM fadok WHERE Stanowisko = 0").toText(), "2/05/2024");

    // With an editable number the second workstation is asked instead of overwriting.
    app.gBazaPar.NumEdycja = other->gBazaPar.NumEdycja = true;
    bufferDocument(app, invoiceHeader("3/05/2024"), {{"C", "1", "kg", "5", "7"}});
    bufferDocument(*other, invoiceHeader("3/05/2024"), {{"D", "1", "kg", "5", "7"}});
    ASSERT_TRUE(saveOn(*other).ok);
    replies.yes = false;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '3/05/2024'").toText(), "D");
}

TEST_F(SaveFixture, ANumberTheProgramTakesNeverReplacesAStoredDocument)
{
    // A template without the period: May's first number would be April's first number again.
    app.gBazaPar.NumSzablon = "Numer";
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    bufferDocument(app, invoiceHeader("?", QDate(2024, 4, 2)), {{"Kwiecień", "1", "kg", "5", "7"}});
    ASSERT_TRUE(save().ok);
    bufferDocument(app, invoiceHeader("?", QDate(2024, 5, 6)), {{"Maj", "1", "kg", "5", "7"}});
    SaveResult r = save();
    ASSERT_TRUE(r.ok) << last.toStdString();
    EXPECT_EQ(r.numer, "2");
    EXPECT_TRUE(replies.questions.empty());
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '1'").toText(), QString::fromUtf8("Kwiecień"));
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz WHERE Numer = '2'").toText(), "Maj");

    // A template without a running number whose one number is stored: the save says so, at once.
    app.gBazaPar.NumSzablon = "FV/Rok[4]";
    db.execute("UPDATE fadok SET Numer = 'FV/2024' WHERE Numer = '2'");
    bufferDocument(app, invoiceHeader("?", QDate(2024, 5, 7)), {{"Owies", "1", "kg", "5", "7"}});
    r = save();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(last.left(31), "Dokument nie został zapisany. N");
    EXPECT_TRUE(last.contains("FV/2024"));
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 2);
    EXPECT_TRUE(replies.reported.isEmpty());
}

TEST_F(SaveFixture, ReadOnlyDatabaseRefusesToSave)
{
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"A", "1", "kg", "5", "7"}});
    const QString locked =
        QString::fromUtf8("Baza danych jest zablokowana - tylko do odczytu. Nie można zapisać dokumentu.");
    app.gBazaPar.BazaOdczyt = true;
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(last, locked);
    app.gBazaPar.BazaOdczyt = false;
    // Locked by another workstation after this one attached.
    db.execute("INSERT OR REPLACE INTO dbpar (Indpar, Wartosc) VALUES ('BazaOdczyt', '1')");
    EXPECT_FALSE(save().ok);
    EXPECT_EQ(last, locked);
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 0);
}

TEST_F(SaveFixture, DatabaseErrorRollsTheWholeSaveBackBeforeItIsReported)
{
    storeInvoice(app, "1/05/2024");
    const EditState edited = editing("1/05/2024");
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Owies", "1", "kg", "5", "7"}});
    // The positions' insert fails after the stored document was already deleted.
    db.execute("CREATE TRIGGER fail BEFORE INSERT ON fapoz BEGIN SELECT RAISE(ABORT, 'disk gone'); END");
    bool inTransaction = true;
    app.errorReporter = [&](App&, const QString&, const QString&) { inTransaction = db.inTransaction(); };
    EXPECT_FALSE(save(edited).ok);
    EXPECT_FALSE(inTransaction);
    EXPECT_EQ(db.scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
    EXPECT_FALSE(db.inTransaction());
}

// A stored number is unique in the file itself: whatever a save gets wrong, the file refuses a
// second document under one number.
TEST_F(SaveFixture, TheFileRefusesASecondDocumentUnderOneNumber)
{
    storeInvoice(app, "1/05/2024");
    try {
        db.execute("INSERT INTO fadok (Stanowisko, Inddok, Numer) VALUES (1, 'FR', '1/05/2024')");
        FAIL() << "a second document under one number was stored";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kDuplicateKey);
    }
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
}

// The number taken at the moment of saving fails (the engine's Val breaks inside the save):
// nothing is stored, no "?" either, and nothing is shown while the file is locked.
TEST_F(SaveFixture, ANumberThatCannotBeTakenInsideTheSaveStoresNothing)
{
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    storeInvoice(app, "1/05/2024");
    bufferDocument(app, invoiceHeader("?"), {{"Owies", "1", "kg", "5", "7"}});
    QList<bool> reportsInTransaction;
    app.errorReporter = [&](App&, const QString&, const QString&) { reportsInTransaction << db.inTransaction(); };
    SaveResult r;
    {
        ValHook broken(db, [] { return false; });
        r = save();
    }
    EXPECT_FALSE(r.ok);
    ASSERT_TRUE(r.fault);
    EXPECT_EQ(r.fault->message,
              QString::fromUtf8("Nie można nadać numeru dokumentu. Dokument nie został zapisany. Sprawdź "
                                "datę wystawienia oraz parametry numeracji i spróbuj ponownie."));
    EXPECT_EQ(r.fault->focus, FormField::Datawyst);
    EXPECT_FALSE(reportsInTransaction.contains(true));
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE substr(Numer, 1, 1) = '?'"), 0);
    EXPECT_FALSE(db.inTransaction());
}

// Between taking the number and writing, another workstation can read but cannot begin to
// write: the number is taken inside the writer's lock, never before it.
TEST_F(SaveFixture, TheNumberIsTakenUnderTheWritersLock)
{
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
    storeInvoice(app, "1/05/2024");
    db::OpenOptions impatient;
    impatient.busyTimeoutMs = impatient.openTimeoutMs = 0;
    auto second = db::Database::open(t.path, QString(), impatient);
    bufferDocument(app, invoiceHeader("?"), {{"Owies", "1", "kg", "5", "7"}});
    int calls = 0;
    bool secondCouldWrite = false;
    qint64 secondSaw = -1;
    {
        ValHook step(db, [&] {
            if (calls++ == 0) {
                secondSaw = second->scalar("SELECT count(*) FROM fadok").toInt();
                try {
                    db::Transaction writer(*second);
                    secondCouldWrite = true;
                } catch (const AppError&) {
                }
            }
            return true;
        });
        ASSERT_TRUE(save().ok) << last.toStdString();
    }
    ASSERT_GT(calls, 0);
    EXPECT_EQ(secondSaw, 1);
    EXPECT_FALSE(secondCouldWrite);
    EXPECT_EQ(db.scalar("SELECT Numer FROM fadok WHERE Nazkon IS NOT NULL ORDER BY rowid DESC").toText(), "2/05/2024");
    // Once the save is over the other workstation writes again.
    EXPECT_NO_THROW(db::Transaction(*second).commit());
}
