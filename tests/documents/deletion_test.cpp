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
    std::function<void()> meanwhile = [] {};  // another workstation, while the first question is open

    void SetUp() override
    {
        app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
        app.gBazaPar.NumAuto = app.gBazaPar.NumMiesieczna = true;
    }
    DeleteResult usun(const QString& numer)
    {
        return UsunDokument(app, numer, [this](const QString& q) {
            replies.questions << q;
            if (replies.questions.size() == 1) meanwhile();
            return replies.yes;
        });
    }
    void store(const QString& numer, const QDate& date, const QString& kind = "FR", const QString& korNumer = "")
    {
        DocHeader h = invoiceHeader(numer, date);
        h.Inddok = kind;
        h.KorNumer = korNumer;
        storeDocument(app, h, {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "1", "kg", "5", "7"}});
    }
    void reset()
    {
        db.execute("DELETE FROM fapoz");
        db.execute("DELETE FROM fadok");
        replies.questions.clear();
    }
    qint64 count(const QString& sql) { return db.scalar(sql).toInt(); }
};

}  // namespace

TEST_F(DeletionFixture, UnderAutomaticNumberingOnlyTheHighestNumberOfItsPeriodGoes)
{
    struct Case {
        const char* name;
        bool autoNum, monthly;
        QString target;
        bool deleted;
    } cases[] = {
        {"below the month's last", true, true, "9/05/2024", false},
        {"the month's last by its running number, not its text", true, true, "10/05/2024", true},
        {"last of June, though May's numbers run higher", true, true, "1/06/2024", true},
        {"a yearly series runs across months", true, false, "1/06/2024", false},
        {"any number without automatic numbering", false, true, "1/05/2024", true},
        {"a document without a date belongs to no period", true, true, "bez daty", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        for (const char* n : {"1/05/2024", "9/05/2024", "10/05/2024"}) store(n, QDate(2024, 5, 6));
        store("1/06/2024", QDate(2024, 6, 3));
        store("bez daty", QDate());
        app.gBazaPar.NumAuto = c.autoNum;
        app.gBazaPar.NumMiesieczna = c.monthly;
        const DeleteResult r = usun(c.target);
        EXPECT_EQ(r.outcome, c.deleted ? DeleteResult::Deleted : DeleteResult::Refused);
        EXPECT_EQ(count("SELECT count(*) FROM fadok"), c.deleted ? 4 : 5);
        EXPECT_EQ(count("SELECT count(*) FROM fapoz"), c.deleted ? 8 : 10);
        EXPECT_EQ(r.message, c.deleted
                                 ? QString()
                                 : "Ustawiona jest opcja automatycznej numeracji dokumentów. Dokument FR  " + c.target +
                                       " nie jest ostatnim dokumentem kartoteki. Dokument "
                                       "nie może zostać usunięty.");
        EXPECT_EQ(replies.questions.size(), c.deleted ? 1 : 0) << "a refusal comes before any question";
    }
}

TEST_F(DeletionFixture, AskedFirstSayingSoWhenACorrectionNamesItThenEveryRowOfTheNumberGoes)
{
    store("1/05/2024", QDate(2024, 5, 6));
    store("2/05/2024", QDate(2024, 5, 7), "KFR", "1/05/2024");
    app.gBazaPar.NumAuto = false;
    // A row of another kind under the number belongs to it too.
    db.execute("INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa) VALUES (0, 'KFR', '1/05/2024', "
               "3, 1, 'Żyto')");
    replies.yes = false;
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Cancelled);
    EXPECT_EQ(replies.questions,
              QStringList{"Dokument FR  1/05/2024 jest korygowany dokumentem KFR  2/05/2024. Korekta "
                          "pozostanie w kartotece bez dokumentu, który koryguje. Dokument FR  1/05/2024 "
                          "zostanie usunięty z kartoteki. Usunąć dokument?"});
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '1/05/2024'"), 3);
    replies.yes = true;
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Deleted);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '1/05/2024'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz WHERE Numer = '2/05/2024'"), 2);
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Missing);
}

// What another workstation does between the question and the deletion is looked at again in the
// deletion's own transaction.
TEST_F(DeletionFixture, WhatChangedAfterTheQuestionIsCheckedAgainInsideTheTransaction)
{
    struct Case {
        const char* name;
        const char* sql;
        DeleteResult::Outcome outcome;
        int questions;
    } cases[] = {
        {"replaced by another document: asked again", "UPDATE fapoz SET Nazwa = 'Rzepak' WHERE Numer = '2/05/2024'",
         DeleteResult::Deleted, 2},
        {"a higher number stored",
         "INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '3/05/2024', '2024-05-09')", DeleteResult::Refused,
         1},
        {"locked for reading only", "INSERT OR REPLACE INTO dbpar (Indpar, Wartosc) VALUES ('BazaOdczyt', '1')",
         DeleteResult::Refused, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        db.execute("DELETE FROM dbpar WHERE Indpar = 'BazaOdczyt'");
        store("2/05/2024", QDate(2024, 5, 7));
        auto other = db::Database::open(t.path);
        meanwhile = [&] { other->execute(QString::fromUtf8(c.sql)); };
        EXPECT_EQ(usun("2/05/2024").outcome, c.outcome);
        EXPECT_EQ(replies.questions.size(), c.questions);
        EXPECT_EQ(count("SELECT count(*) FROM fadok WHERE Numer = '2/05/2024'"),
                  c.outcome == DeleteResult::Deleted ? 0 : 1);
    }
}

TEST_F(DeletionFixture, ADatabaseErrorRollsBothDeletionsBackBeforeItIsReported)
{
    store("1/05/2024", QDate(2024, 5, 6));
    db.execute("CREATE TRIGGER fail BEFORE DELETE ON fadok BEGIN SELECT RAISE(ABORT, 'disk gone'); END");
    bool inTransaction = true;
    app.errorReporter = [&](App&, const QString& where, const QString&) {
        replies.reported << where;
        inTransaction = db.inTransaction();
    };
    EXPECT_EQ(usun("1/05/2024").outcome, DeleteResult::Failed);
    EXPECT_EQ(replies.reported, QStringList{"UsunDokument"});
    EXPECT_FALSE(inTransaction);
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 2) << "the positions' deletion was rolled back";
}
