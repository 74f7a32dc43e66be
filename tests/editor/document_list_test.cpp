#include "documents/document_list.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "platform/date_text.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ListWidgetFixture : ::testing::Test {
    TempDatabase t;
    Answers answers;
    EntryPage page{t.app};
    DocumentEditing editing{t.app, &page};
    QTableView* lst = page.lstDok();
    DocumentListModel* rows = page.lstDokRows();

    void add(const QString& numer, const QDate& date)
    {
        t.db().execute(
            "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, "
            "RazVAT, RazBrutto, Wystawil) VALUES (0,'FR',?,?,?,'Jan','Wólka 7','123',?,?,?,'Ewa')",
            {numer, date, date.addDays(-1), Decimal(1234), Decimal(7), Decimal(1241)});
    }
    QStringList row(int i)
    {
        QStringList l;
        for (int c = 0; c < 11; ++c) l << rows->index(i, c).data().toString();
        return l;
    }
};

}  // namespace

TEST_F(ListWidgetFixture, RefillShowsEveryColumnNewestFirstAndSelectsTheNumber)
{
    add("1/05/2024", QDate(2024, 5, 2));
    add("2/05/2024", QDate(2024, 5, 3));
    add("1/06/2024", QDate(2024, 6, 1));
    editing.lista()->OdswiezListeDokumentow("2/05/2024");
    EXPECT_EQ(lst->objectName(), "lstDok");
    ASSERT_EQ(rows->rowCount(), 4);
    EXPECT_EQ(row(0), QStringList({"<Nowy dokument>", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(row(2),
              QStringList({"FR  2/05/2024", "2/05/2024", dateText(QDate(2024, 5, 3)), dateText(QDate(2024, 5, 2)),
                           "Jan", "Wólka 7", "123", "1 234,00", "7,00", "1 241,00", "Ewa"}));
    EXPECT_EQ(row(1)[1], "1/06/2024");
    EXPECT_EQ(row(3)[1], "1/05/2024");
    for (int c = 0; c < 11; ++c) {
        const bool right = c == 1 || (c >= 7 && c <= 9);
        const int align = right ? int(Qt::AlignRight | Qt::AlignVCenter) : 0;
        EXPECT_EQ(rows->index(2, c).data(Qt::TextAlignmentRole).toInt(), align) << c;
        EXPECT_EQ(rows->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), align) << c;
        EXPECT_EQ(lst->isColumnHidden(c), c == 3) << c;
    }
    EXPECT_EQ(lst->currentIndex().row(), 2);
    EXPECT_TRUE(lst->selectionModel()->isRowSelected(2, {}));

    // An empty number selects nothing new; a failed read keeps the rows shown and is reported.
    editing.lista()->OdswiezListeDokumentow("");
    EXPECT_EQ(rows->rowCount(), 4);
    t.db().execute("ALTER TABLE fadok RENAME TO fadok_gone");
    editing.lista()->OdswiezListeDokumentow("");
    EXPECT_EQ(rows->rowCount(), 4);
    EXPECT_EQ(answers.dialogs, 1);
}

// The list moves as a list, from whatever column: Home and End to the first row and to the oldest
// document (read first when the list has not read so far), Page Up and Page Down a page of rows.
TEST_F(ListWidgetFixture, HomeEndAndPageKeysMoveAlongTheRowsNotAlongARow)
{
    const int documents = 3 * LazyQueryModel::kPart;
    {
        db::Transaction tr(t.db());
        for (int i = 0; i < documents; ++i)
            add(QString("%1/%2").arg(i % 30 + 1).arg(i / 30), QDate(2020, 1, 1).addDays(i));
        tr.commit();
    }
    page.resize(1200, 700);
    page.show();
    editing.lista()->OdswiezListeDokumentow("");
    ASSERT_LT(rows->rowCount(), documents);  // the list reads a part at a time
    const int perPage = lst->viewport()->height() / lst->rowHeight(0);
    ASSERT_GT(perPage, 5);
    struct Case {
        const char* name;
        int from;
        Qt::Key key;
        int to;  // -1: the last row
    } cases[] = {
        {"Home", 40, Qt::Key_Home, 0},
        {"End", 3, Qt::Key_End, -1},
        {"Page Down", 3, Qt::Key_PageDown, 3 + perPage},
        {"Page Up", 3 + 2 * perPage, Qt::Key_PageUp, 3 + perPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lst->setCurrentIndex(rows->index(c.from, DocumentListModel::Nazkon));
        QTest::keyClick(lst, c.key);
        const int to = c.to < 0 ? documents : c.to;
        EXPECT_NEAR(lst->currentIndex().row(), to, c.key == Qt::Key_Home || c.key == Qt::Key_End ? 0 : 1);
        EXPECT_TRUE(lst->selectionModel()->isRowSelected(lst->currentIndex().row(), {}));
    }
    EXPECT_EQ(rows->rowCount(), documents + 1);
}
