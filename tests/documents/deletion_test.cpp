#include "documents/deletion.h"
#include "support/document_fixture.h"
#include "support/stored_document.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

struct DeletionFixture : ::testing::Test {
    TempDatabase t;
    App& app = t.app;
    db::Database& db = t.db();
    Replies replies{app};
    // Runs at each question, before it is answered: what another workstation does meanwhile.
    std::function<void(int)> meanwhile = [](int) {};

    void SetUp() override
    {
        app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
        app.gBazaPar.NumAuto = true;
        app.gBazaPar.NumMiesieczna = true;
    }
    DeleteResult usun(const QString& numer)
    {
        return UsunDokument(app, numer, [this](const QString& q) {
            replies.questions << q;
            meanwhile(int(replies.questions.size()));
            return replies.yes;
        });
    }
    void store(const QString& numer, const QDate& date, const QString& kind = "FR")
    {
        DocHeader h = invoiceHeader(numer, date);
        h.Inddok = kind;
        storeDocument(app, h, {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "1", "kg", "5", "7"}});
    }
    QStringList stored()
    {
        QStringList l;
        db.forEach("SELECT Numer FROM fadok ORDER BY rowid", {}, [&](const db::Row& r) { l << r.text("Numer"); });
        return l;
    }
    qint64 count(const QString& sql, db::Params params = {})
    {
        return db.scalar(sql, params).toInt();
    }
    // Another workstation's connection to the same file.
    std::unique_ptr<db::Database> other() { return db::Database::open(t.path); }
};

const QString kNotLast = QStringLiteral("Ustawiona jest opcja automatycznej numeracji dokumentów. Dokument %1 nie jest "
                                        "ostatnim dokumentem kartoteki. Dokument nie może zostać usunięty.");

} // namespace

TEST_F(DeletionFixture, UnderAutomaticNumberingOnlyTheHighestNumberOfItsPeriodGoes)
{
    const QDate may(2024, 5, 6), june(2024, 6, 3);
    struct Case {
        const char* name;
        bool autoNum;
        bool monthly;
        QString target;
        bool deleted;
    } cases[] = {
        {"below the month's last", true, true, "9/05/2024", false},
        {"the month's last, by its running number", true, true, "10/05/2024", true},
        {"last of June, though May's numbers run higher", true, true, "1/06/2024", true},
        {"a yearly series runs across months", true, false, "1/06/2024", false},
        {"any number without automatic numbering", false, true, "1/05/2024", true},
        {"a document without a date belongs to no period", true, true, "bez daty", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.execute("DELETE FROM fapoz");
        db.execute("DELETE FROM fadok");
        for (const char* n : {"1/05/2024", "9/05/2024", "10/05/2024"}) store(n, may);
        store("1/06/2024", june);
        store("bez daty", QDate());
        app.gBazaPar.NumAuto = c.autoNum;
        app.gBazaPar.NumMiesieczna = c.monthly;
        replies.questions.clear();

        const DeleteResult r = usun(c.target);
        EXPECT_EQ(r.outcome, c.deleted ? DeleteResult::Deleted : DeleteResult::Refused);
        EXPECT_EQ(stored().contains(c.target), !c.deleted);
        EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = ?", {c.target}), c.deleted ? 0 : 2);
        if (c.deleted) {
            EXPECT_TRUE(r.message.isEmpty());
            EXPECT_EQ(replies.questions.size(), 1);
        } else {
            EXPECT_EQ(r.message, kNotLast.arg("FR  " + c.target));
            EXPECT_TRUE(replies.questions.isEmpty()) << "refused before any question";
        }
        EXPECT_EQ(stored().size(), c.deleted ? 4 : 5);
    }
}

TEST_F(DeletionFixture, TheQuestionComesFirstAndEveryRowOfTheNumberGoesWhateverItsKind)
{
    store("1/05/2024", QDate(2024, 5, 6));
    store("2/05/2024", QDate(2024, 5, 7));
    // A row of another kind under the same number belongs to it too.
    db.execute("INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa) VALUES (0, 'KFR', '2/05/2024', 3, 1, 'Żyto')");

    replies.yes = false;
    EXPECT_EQ(usun("2/05/2024").outcome, DeleteResult::Cancelled);
    EXPECT_EQ(replies.questions, QStringList{"Dokument FR  2/05/2024 zostanie usunięty z kartoteki. Usunąć dokument?"});
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '2/05/2024'"), 3);

    replies.yes = true;
    EXPECT_EQ(usun("2/05/2024").outcome, DeleteResult::Deleted);
    EXPECT_EQ(stored(), QStringList{"1/05/2024"});
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '2/05/2024'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '1/05/2024'"), 2);
    EXPECT_FALSE(db.inTransaction());

    EXPECT_EQ(usun("2/05/2024").outcome, DeleteResult::Missing);  // gone already: nothing asked
    EXPECT_EQ(replies.questions.size(), 2);
}

TEST_F(DeletionFixture, AnInvoiceThatAStoredCorrectionNamesIsDeletedOnlyAfterAQuestionSayingSo)
{
    app.gBazaPar.NumAuto = false;
    store("1/05/2024", QDate(2024, 5, 6));
    DocHeader k = invoiceHeader("2/05/2024", QDate(2024, 5, 8));
    k.Inddok = "KFR";
    k.KorInddok = "FR";
    k.KorNumer = "1/05/2024";
    k.KorDatawyst = QDate(2024, 5, 6);
    storeDocument(app, k, {{"Pszenica", "9", "kg", "800,00", "7"}}, {{"Pszenica", "10", "kg", "800,00", "7"}});

    replies.yes = false;
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Cancelled);
    ASSERT_EQ(replies.questions.size(), 1);
    EXPECT_EQ(replies.questions[0], "Dokument FR  1/05/2024 jest korygowany dokumentem KFR  2/05/2024. Korekta pozostanie "
                                    "w kartotece bez dokumentu, który koryguje. Dokument FR  1/05/2024 zostanie usunięty z "
                                    "kartoteki. Usunąć dokument?");
    EXPECT_EQ(stored().size(), 2);

    replies.yes = true;
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Deleted);
    EXPECT_EQ(stored(), QStringList{"2/05/2024"});
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '2/05/2024'"), 2);
}

// What another workstation does between the question and the deletion is looked at again in
// the deletion's own transaction.
TEST_F(DeletionFixture, WhatChangedAfterTheQuestionIsCheckedAgainInsideTheTransaction)
{
    struct Case {
        const char* name;
        std::function<void(db::Database&)> change;
        DeleteResult::Outcome outcome;
        int questions;
        bool stays;
    } cases[] = {
        {"another document replaced it: asked again about what is stored now",
         [](db::Database& o) { o.execute("UPDATE fapoz SET Nazwa = 'Rzepak' WHERE Numer = '2/05/2024' AND Pozycja = 1"); },
         DeleteResult::Deleted, 2, false},
        {"a correction of it was stored: asked again",
         [](db::Database& o) {
             o.execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, KorInddok, KorNumer) "
                       "VALUES (1, 'KFR', 'K/1', 'FR', '2/05/2024')");
         },
         DeleteResult::Deleted, 2, false},
        {"a higher number of the month was stored",
         [](db::Database& o) {
             o.execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (1, 'FR', '3/05/2024', '2024-05-09')");
         },
         DeleteResult::Refused, 1, true},
        {"the database was locked for reading only",
         [](db::Database& o) { o.execute("INSERT OR REPLACE INTO dbpar (Indpar, Wartosc) VALUES ('BazaOdczyt', '1')"); },
         DeleteResult::Refused, 1, true},
        {"it was deleted there", [](db::Database& o) { o.execute("DELETE FROM fadok WHERE Numer = '2/05/2024'"); },
         DeleteResult::Missing, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.execute("DELETE FROM fapoz");
        db.execute("DELETE FROM fadok");
        db.execute("DELETE FROM dbpar WHERE Indpar = 'BazaOdczyt'");
        store("1/05/2024", QDate(2024, 5, 6));
        store("2/05/2024", QDate(2024, 5, 7));
        replies.questions.clear();
        auto o = other();
        meanwhile = [&](int question) {
            if (question == 1) c.change(*o);
        };
        const DeleteResult r = usun("2/05/2024");
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(replies.questions.size(), c.questions);
        EXPECT_EQ(stored().contains("2/05/2024"), c.stays);
        if (c.outcome == DeleteResult::Refused) EXPECT_FALSE(r.message.isEmpty());
        EXPECT_FALSE(db.inTransaction());
    }
}

TEST_F(DeletionFixture, AnArchiveDatabaseDeletesNothingAndAsksNothing)
{
    store("1/05/2024", QDate(2024, 5, 6));
    app.gBazaPar.BazaOdczyt = true;
    const DeleteResult r = usun("1/05/2024");
    EXPECT_EQ(r.outcome, DeleteResult::Refused);
    EXPECT_EQ(r.message, "Baza danych jest zablokowana - tylko do odczytu. Nie można usunąć dokumentu.");
    EXPECT_TRUE(replies.questions.isEmpty());
    EXPECT_EQ(stored().size(), 1);
}

TEST_F(DeletionFixture, ADatabaseErrorRollsBothDeletionsBackBeforeItIsReported)
{
    store("1/05/2024", QDate(2024, 5, 6));
    // The header's deletion fails after the positions were already deleted.
    db.execute("CREATE TRIGGER fail BEFORE DELETE ON fadok BEGIN SELECT RAISE(ABORT, 'disk gone'); END");
    bool inTransaction = true;
    QStringList reported;
    app.errorReporter = [&](App&, const QString& where, const QString&) {
        reported << where;
        inTransaction = db.inTransaction();
    };
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Failed);
    EXPECT_EQ(reported, QStringList{"UsunDokument"});
    EXPECT_FALSE(inTransaction);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 2);
    EXPECT_EQ(stored().size(), 1);
}
