#include "documents/document_list.h"
#include "platform/date_text.h"
#include "support/model_protocol.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

// Texts as gtest shows them in a failure.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QStringList shown(const QAbstractItemModel& m, int row)
{
    QStringList l;
    for (int c = 0; c < m.columnCount(); ++c) l << m.index(row, c).data().toString();
    return l;
}

struct ListFixture : ::testing::Test {
    TempDatabase t;
    // Stores a bare document row; an empty date or number is stored as NULL.
    void add(const QString& numer, const QString& datawyst, const QString& inddok = "FR")
    {
        t.db().execute(
            "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Nazkon, RazBrutto) VALUES (0,?,?,?,?,?)",
            {inddok, numer, datawyst, "Kontrahent " + numer, Decimal(12)});
    }
    // The documents' rows of the list, read to its end.
    QStringList listed()
    {
        DocumentListModel m(t.app);
        m.refill();
        m.fetchAll();
        QStringList l;
        for (int r = 1; r < m.rowCount(); ++r) l << m.text(r);
        return l;
    }
    void lazyListMatchesTheEngine();
    // The order the database engine gives with its own date and number functions; documents
    // with equal keys in stored order.
    QStringList engineOrder()
    {
        QStringList l;
        for (const db::Row& r : t.db().query("SELECT Inddok, Numer FROM fadok ORDER BY Year(Datawyst) DESC, "
                                             "Month(Datawyst) DESC, Val(Numer) DESC, rowid"))
            l << r.text("Inddok") + "  " + r.text("Numer");
        return l;
    }
};

}  // namespace

TEST_F(ListFixture, OrderMatchesTheEngineOnAwkwardNumbersAndDates)
{
    // A short month is read whole and sorted; of a long one the order is read first, straight from
    // the engine's texts: the same rows read both ways.
    for (int filler : {0, 450}) {
        SCOPED_TRACE(testing::Message() << filler << " more documents in March");
        t.db().execute("DELETE FROM fadok");
        add("12/03/2024", "2024-03-30");
        add("9/03/2024", "2024-03-01 10:15:00");
        add("100/02/2024", "2024-02-29");
        add(" 7 A/03/2024", "2024-03-05");  // blanks inside the leading number
        add("7\r5/03/2024", "2024-03-05");  // line breaks and a tab are skipped as blanks
        add("7\n6/03/2024", "2024-03-05");
        add("7\t7/03/2024", "2024-03-05");
        add("7\u00a08/03/2024", "2024-03-05");  // a no-break space ends the number
        add("7.5/03/2024", "2024-03-05");       // a decimal point
        add("-3/03/2024", "2024-03-06");        // a sign
        add("A/03/2024", "2024-03-07");         // no leading number: 0
        add("", "2024-03-08");                  // no number at all: after every number
        add("5/03/2024", "2024-03-09", "KR");   // equal keys keep the stored order
        add("5/13/2024", "2024-03-10");
        add("123456789012345678/03/2024", "2024-03-11");
        add("6/03/2024", "2024-03-32");  // within March's texts but no date: at the end
        add("11/03/2024", "2024-03-1x");
        add("10/03/2024", "2024-03-12T08:00");
        add("4/01/2025", "nie data");  // not a date: after every date
        add("3/01/2025", "");
        add("2/01/2025", "0000-01-01");
        add("1/01/2025", "2025-13-01");
        add("8/12/2023", "2023-12-31T23:59:59");
        for (int i = 1; i <= filler; ++i) add(QStringLiteral("%1/03/2024/d").arg(i), "2024-03-15");
        const QStringList expected = engineOrder();
        ASSERT_EQ(expected.size(), 23 + filler);
        EXPECT_EQ(listed(), expected);
        EXPECT_EQ(listed().first(), "FR  123456789012345678/03/2024");
    }
}

TEST_F(ListFixture, RowShowsTheValuesInTheirFormsAndNullsAsEmptyCells)
{
    t.db().execute(
        "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, "
        "RazVAT, RazBrutto, Wystawil) VALUES (0,'KFR','3/05/2024',?,?,'Jan','Wólka 7','123',?,?,?,'Ewa')",
        {QDate(2024, 5, 6), QDate(2024, 5, 4), Decimal(1234), Decimal(7), Decimal(-1241)});
    t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0,'FR','2/05/2024','2024-05-01')");
    DocumentListModel m(t.app);
    m.refill();
    ASSERT_EQ(m.rowCount(), 3);
    EXPECT_EQ(shown(m, 1),
              QStringList({"KFR  3/05/2024", "3/05/2024", dateText(QDate(2024, 5, 6)), dateText(QDate(2024, 5, 4)),
                           "Jan", "Wólka 7", "123", "1 234,00", "7,00", "-1 241,00", "Ewa"}));
    EXPECT_EQ(shown(m, 2),
              QStringList({"FR  2/05/2024", "2/05/2024", dateText(QDate(2024, 5, 1)), "", "", "", "", "", "", "", ""}));
}

namespace {

// Documents over `days` days from 2019 on (the default: years of them; 90: three long months):
// numbers restart each month, some awkward ones, some empty texts; a few issue dates missing, and
// with `undated` a few stored as texts that are no date amid the dates (as another tool may write
// them); the issue dates come in no particular order of storing.
void fillYears(db::Database& db, int count, bool undated = true, int days = 5000)
{
    db::Transaction tr(db);
    db::Statement st(db, "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, "
                         "RazNetto, RazVAT, RazBrutto, Wystawil) VALUES (0,?,?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < count; ++i) {
        const int k = (i * 7919) % count;  // a permutation: stored order is not date order
        const QDate date = QDate(2019, 1, 1).addDays(qint64(k) * days / count);
        const QString numer =
            k % 97 == 0 ? QStringLiteral("A%1/x").arg(k) : QStringLiteral("%1/%2").arg(k % 40 + 1).arg(k);
        const db::Value nothing;
        db::Value issued = date;
        if (k % 311 == 0) issued = nothing;
        if (undated && k % 173 == 0) issued = date.toString("yyyy-MM-") + "31x";
        if (undated && k % 257 == 0) issued = date.toString("yyyy-") + "13-01";
        st.bindAll({k % 5 ? "FR" : "KFR", numer, issued, date.addDays(-1),
                    k % 3 ? db::Value(QStringLiteral("Rolnik %1").arg(k)) : nothing, "Wieś", k % 4 ? "123" : nothing,
                    Decimal(k), k % 6 ? db::Value(Decimal(k) / 10) : nothing, Decimal(k) * 11 / 10, "Ewa"});
        st.step();
        st.reset();
    }
    tr.commit();
}

}  // namespace

TEST_F(ListFixture, TheLazyListShowsTheRowsOfTheWholeListInItsOrder)
{
    // Years of short months, a few long months, and after a short newest month one longer than
    // a reading of the whole list takes at once.
    for (auto [count, days] : {std::pair{3000, 5000}, std::pair{3000, 90}, std::pair{5200, 20}}) {
        SCOPED_TRACE(testing::Message() << count << " documents over " << days << " days");
        t.db().execute("DELETE FROM fadok");
        fillYears(t.db(), count, true, days);
        if (days == 20)
            for (int i = 0; i < 300; ++i) add(QStringLiteral("%1/02/2019").arg(i), "2019-02-10");
        lazyListMatchesTheEngine();
    }
}

void ListFixture::lazyListMatchesTheEngine()
{
    DocumentListModel model(t.app);
    model.refill();
    EXPECT_LT(model.heldRows(), 1000) << "the first part only";
    EXPECT_EQ(shown(model, 0), QStringList({"<Nowy dokument>", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_TRUE(model.isNew(0));
    model.fetchAll();
    const QStringList expected = engineOrder();
    ASSERT_EQ(model.rowCount(), expected.size() + 1);
    for (int r = 1; r < model.rowCount(); ++r) {
        ASSERT_EQ(model.text(r), expected[r - 1]) << "row " << r;
        ASSERT_FALSE(model.isNew(r));
    }
}

namespace {

// Every row a model holds or will read, read to the end.
QList<QStringList> everyRow(DocumentListModel& m)
{
    m.fetchAll();
    QList<QStringList> rows;
    for (int r = 0; r < m.rowCount(); ++r) rows << shown(m, r);
    return rows;
}

}  // namespace

// A saved document is shown at once where a whole reading lists it, whatever its month: only
// its month is read, the months between those read and it are counted; the list goes on showing
// what a whole reading shows. Texts that are no date amid the counted months are found to belong
// at the end only when they are read: until then the rows below them stand that many lower.
TEST_F(ListFixture, AStoredDocumentTakesItsPlaceAsAWholeReadWouldListIt)
{
    struct Fill {
        const char* what;
        bool undated;
        int days;
    };
    for (const Fill& f : {Fill{"dates only", false, 5000}, Fill{"texts that are no date amid the dates", true, 5000},
                          Fill{"long months", false, 90}}) {
        SCOPED_TRACE(f.what);
        const bool undated = f.undated;
        t.db().execute("DELETE FROM fadok");
        fillYears(t.db(), 3000, undated, f.days);
        const QString newest = t.db().scalar("SELECT max(Datawyst) FROM fadok").toText();
        auto listedAt = [&](int row) {
            DocumentListModel m(t.app);
            m.refill();
            return m.numer(row);
        };
        auto oldest = [&] {
            return t.db().scalar("SELECT Numer FROM fadok ORDER BY Datawyst LIMIT 1 OFFSET 5").toText();
        };
        struct Case {
            const char* what;
            QString numer;
            QString datawyst;  // empty: the date it had
        } cases[] = {
            {"a new document of the newest month", "41/new", newest},
            {"a listed document stored again unchanged", listedAt(3), ""},
            {"a listed document moved to a month not read yet", listedAt(2), "2019-03-10"},
            {"an old document moved to the newest month", oldest(), newest},
            {"a number stored again in another letter case", "a0/x", newest},
            {"a new document of a month not read yet", "7/old", "2019-02-02"},
            {"a new document of a month in the middle", "8/mid", "2020-06-30"},
            {"a new document without a number's digits", "Z/x", "2021-01-01"},
        };
        int followed = 0;
        for (const Case& c : cases)
            for (bool idle : {false, true}) {
                SCOPED_TRACE(c.what);
                SCOPED_TRACE(idle ? "the rest counted while the program was idle" : "right after the reading");
                DocumentListModel model(t.app);
                model.refill();
                const qint64 firstPart = model.heldRows();
                if (idle) {
                    model.countRest();
                    EXPECT_EQ(model.rowCount(), t.db().scalar("SELECT count(*) FROM fadok").toInt() + 1);
                    EXPECT_FALSE(model.canFetchMore({}));
                    EXPECT_EQ(model.heldRows(), firstPart);
                }
                // What a save does: the number's old row goes, the document is inserted anew.
                auto old = t.db().queryOne("SELECT Datawyst FROM fadok WHERE Numer = ?", {c.numer});
                const db::Value date = !c.datawyst.isEmpty() ? db::Value(c.datawyst) : old ? old->at(0) : db::Value();
                t.db().execute("DELETE FROM fadok WHERE Numer = ?", {c.numer});
                t.db().execute(
                    "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Nazkon) VALUES (0,'FR',?,?,'Nowy')",
                    {c.numer, date});
                // An index kept on a row stays on its document, or goes when the part read anew
                // does not hold that document; it never shows another one.
                const QPersistentModelIndex kept = model.index(6, DocumentListModel::Numer);
                const QString keptNumer = kept.data().toString();
                const int row = model.stored(c.numer);
                if (kept.isValid()) {
                    EXPECT_EQ(kept.data().toString(), keptNumer);
                    ++followed;
                }
                const qint64 month =
                    t.db()
                        .scalar("SELECT count(*) FROM fadok WHERE substr(Datawyst, 1, 7) = ?", {date.toText().left(7)})
                        .toInt();
                EXPECT_LE(model.heldRows(), firstPart + month) << "no month but its own read";
                ASSERT_GT(row, 0);
                EXPECT_EQ(model.numer(row), c.numer);
                DocumentListModel fresh(t.app);
                fresh.refill();
                const QList<QStringList> whole = everyRow(fresh);
                if (!undated) {
                    EXPECT_EQ(shown(model, row), whole.value(row));
                }
                EXPECT_EQ(everyRow(model), whole);
                EXPECT_EQ(whole.value(model.rowOf(c.numer)).value(1), c.numer);
            }
        EXPECT_GT(followed, 12);
    }
}

// Documents saved one by one into a list read on an empty file, newer and older months by turns.
TEST_F(ListFixture, DocumentsSavedIntoAListReadEmptyTakeTheirPlaces)
{
    DocumentListModel model(t.app);
    model.refill();
    int n = 0;
    for (const char* date : {"2024-05-06", "2023-01-02", "2024-07-08", "2024-05-01", "2022-12-31", "nie data"}) {
        SCOPED_TRACE(date);
        const QString numer = QStringLiteral("%1/x").arg(++n);
        t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0,'FR',?,?)", {numer, date});
        const int row = model.stored(numer);
        DocumentListModel fresh(t.app);
        fresh.refill();
        const QList<QStringList> whole = everyRow(fresh);
        if (QString(date) != "nie data") {
            EXPECT_EQ(whole.value(row).value(1), numer);
        }
        EXPECT_EQ(model.rowCount(), whole.size());
        for (int r = 0; r < model.rowCount(); ++r) EXPECT_EQ(shown(model, r), whole.value(r)) << "row " << r;
    }
}

TEST_F(ListFixture, AfterAnotherWorkstationsSaveTheListIsReadAgain)
{
    fillYears(t.db(), 1000);
    DocumentListModel model(t.app);
    model.refill();
    const QString newest = t.db().scalar("SELECT max(Datawyst) FROM fadok").toText();
    auto other = db::Database::open(t.path);
    other->execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (1,'FR','90/inny',?)", {newest});
    t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0,'FR','91/nasz',?)", {newest});
    model.stored("91/nasz");
    EXPECT_EQ(model.numer(1), "91/nasz");
    EXPECT_EQ(model.numer(2), "90/inny");
}

// After another workstation's changes a back-dated save reads the list again. The months between
// the first part and the saved one are counted from the total the list knew, so no statement
// counts every document before the document is shown. Once the program is idle they are counted
// exactly, and the list is what a whole reading lists.
TEST_F(ListFixture, ABackDatedSaveAfterAnotherWorkstationsChangesCountsNothingWhole)
{
    fillYears(t.db(), 30000, false);
    DocumentListModel model(t.app);
    model.refill();
    model.countRest();
    auto other = db::Database::open(t.path);
    other->execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (1,'FR','90/inny','2024-06-10')");
    other->execute("DELETE FROM fadok WHERE rowid IN (SELECT rowid FROM fadok WHERE Datawyst LIKE '2027-%' LIMIT 5)");
    t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0,'FR','7/stary','2019-02-02')");

    QStringList counts;
    auto seen = [](unsigned, void* list, void* stmt, void*) {
        const QString sql = QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(stmt)));
        if (sql.startsWith("SELECT count(*) FROM fadok") && !sql.contains("WHERE"))
            *static_cast<QStringList*>(list) << sql;
        return 0;
    };
    sqlite3_trace_v2(t.db().handle(), SQLITE_TRACE_STMT, seen, &counts);
    const int row = model.stored("7/stary");
    sqlite3_trace_v2(t.db().handle(), 0, nullptr, nullptr);
    EXPECT_TRUE(counts.isEmpty()) << counts.join('\n').toStdString();
    ASSERT_GT(row, 0);
    EXPECT_EQ(model.numer(row), "7/stary");

    model.countRest();  // what the list does once the program is idle
    EXPECT_EQ(model.rowCount(), t.db().scalar("SELECT count(*) FROM fadok").toInt() + 1);
    DocumentListModel fresh(t.app);
    fresh.refill();
    EXPECT_EQ(everyRow(model), everyRow(fresh));
}

// The list's rows change as Qt's model tester expects: a part read at the end (no read of the
// view's may land amid it), the rest counted, gaps opened where rows are shown, parts let go.
TEST_F(ListFixture, EveryChangeOfTheRowsKeepsToTheModelProtocol)
{
    fillYears(t.db(), 6000, true, 90);
    DocumentListModel model(t.app);
    ModelProtocol protocol(&model);
    model.refill();
    model.fetchNext();
    model.countRest();
    for (int r = 1; r < model.rowCount(); r += 397) model.numer(r);
    QCoreApplication::processEvents();
    model.letGo();
    // Saves into the newest month and into the oldest one.
    for (const char* date : {"2019-03-15", "2019-01-15"}) {
        const QString numer = QStringLiteral("90/") + date;
        t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0,'FR',?,?)", {numer, date});
        model.stored(numer);
    }
    DocumentListModel fresh(t.app);
    fresh.refill();
    EXPECT_EQ(everyRow(model), everyRow(fresh));
    EXPECT_TRUE(protocol.faults().empty()) << protocol.faults();
}
