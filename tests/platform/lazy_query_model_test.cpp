#include "platform/lazy_query_model.h"
#include "support/model_protocol.h"
#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

// `total` numbered rows in parts of the size asked, each part read again by its first row; it
// fails from row `failAt` on. With `counted`, all rows after the first part are a gap, opened
// as a part of 500 rows around the row asked for.
struct Numbers : LazyQueryModel::Source {
    int total;
    int failAt = -1;
    bool counted = false;
    std::set<int> gone;  // rows deleted since they were counted
    int next_ = 0;
    int reads = 0;
    std::shared_ptr<const db::Columns> columns = std::make_shared<db::Columns>();

    Numbers(int total, int failAt = -1, bool counted = false) : total(total), failAt(failAt), counted(counted) {}

    std::vector<db::Row> rows(int from, int count)
    {
        ++reads;
        std::vector<db::Row> r;
        for (int i = from; i < total && i < from + count; ++i) {
            if (i == failAt) throw AppError(err::kGeneral, "test", "read failed");
            if (gone.count(i)) continue;
            r.emplace_back(columns, std::vector<db::Value>{i, QStringLiteral("row %1").arg(i)});
        }
        return r;
    }
    static QVariant key(int from, int count) { return QVariantList{from, count}; }
    std::vector<LazyQueryModel::Piece> next(int atLeast) override
    {
        std::vector<LazyQueryModel::Piece> pieces;
        if (next_ >= total) return pieces;
        const int n = std::min(atLeast, total - next_);
        pieces.push_back(LazyQueryModel::Part{key(next_, n), rows(next_, n)});
        next_ += n;
        if (counted && next_ < total) {
            pieces.push_back(LazyQueryModel::Gap{key(next_, total - next_), total - next_});
            next_ = total;
        }
        return pieces;
    }
    std::vector<db::Row> reread(const QVariant& k) override
    {
        const QVariantList l = k.toList();
        return rows(l[0].toInt(), l[1].toInt());
    }
    std::vector<LazyQueryModel::Piece> open(const LazyQueryModel::Gap& gap, qint64 offset) override
    {
        const QVariantList l = gap.key.toList();
        const int from = l[0].toInt(), count = l[1].toInt();
        const int at = from + int(offset) / 500 * 500, n = std::min(500, from + count - at);
        std::vector<LazyQueryModel::Piece> pieces;
        if (at > from) pieces.push_back(LazyQueryModel::Gap{key(from, at - from), at - from});
        pieces.push_back(LazyQueryModel::Part{key(at, n), rows(at, n)});
        if (at + n < from + count)
            pieces.push_back(LazyQueryModel::Gap{key(at + n, from + count - at - n), from + count - at - n});
        return pieces;
    }
};

}  // namespace

TEST(LazyQueryModel, ReadsTheFirstPartAtOnceAndMoreAsTheViewScrolls)
{
    auto numbers = std::make_shared<Numbers>(1000);
    LazyQueryModel model;
    model.setHeaders({"Nr", "Tekst"});
    model.setSource(numbers);
    EXPECT_EQ(model.rowCount(), LazyQueryModel::kPart);
    EXPECT_EQ(model.index(5, 1).data().toString(), "row 5");

    QTableView view;
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    QApplication::processEvents();
    const int shown = model.rowCount();
    EXPECT_LT(shown, 1000);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_GT(model.rowCount(), shown);

    model.fetchAll();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(model.index(999, 0).data().toString(), "999");
}

// Scrolled through a long list and back, the view shows every row as read, while the parts far
// from it are let go and read again when it comes back to them.
TEST(LazyQueryModel, PartsFarFromTheViewAreLetGoAndReadAgainWhenShown)
{
    for (bool counted : {false, true}) {
        SCOPED_TRACE(counted ? "rows counted, not read" : "rows read as the view scrolls");
        auto numbers = std::make_shared<Numbers>(20000, -1, counted);
        LazyQueryModel model;
        model.setHeaders({"Nr", "Tekst"});
        model.setSource(numbers);
        QTableView view;
        view.setModel(&model);
        view.resize(400, 300);
        view.show();
        qint64 mostHeld = 0;
        auto scrollTo = [&](int row) {
            view.scrollTo(model.index(row, 0), QAbstractItemView::PositionAtTop);
            QApplication::processEvents();
            QApplication::processEvents();
            mostHeld = std::max(mostHeld, model.heldRows());
            const int top = view.rowAt(0);
            ASSERT_GE(top, 0);
            EXPECT_EQ(model.index(top, 1).data().toString(), QStringLiteral("row %1").arg(top));
        };
        for (int row = 0; row < 20000; row += 997) {
            while (model.rowCount() <= row && model.canFetchMore({})) model.fetchMore({});
            scrollTo(row);
        }
        EXPECT_EQ(model.rowCount(), 20000);
        const int reads = numbers->reads;
        scrollTo(0);
        EXPECT_GT(numbers->reads, reads) << "the first part was let go and is read again";
        EXPECT_LE(mostHeld, LazyQueryModel::kHeld + 1000);
    }
}

TEST(LazyQueryModel, AFailedReadKeepsTheRowsReadAndIsHandedOnAfterTheViewsStep)
{
    auto numbers = std::make_shared<Numbers>(1000, 300);
    LazyQueryModel model;
    model.setHeaders({"Nr", "Tekst"});
    QSignalSpy failed(&model, &LazyQueryModel::readFailed);
    model.setSource(numbers);
    model.fetchMore({});
    EXPECT_EQ(failed.count(), 0) << "not inside the view's step";
    QApplication::processEvents();
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(model.rowCount(), LazyQueryModel::kPart);
    EXPECT_FALSE(model.canFetchMore({}));
    const int reads = numbers->reads;
    model.fetchMore({});
    EXPECT_EQ(numbers->reads, reads) << "no further reading after a failure";

    // A failure of the first part is the caller's, with nothing listed.
    numbers->next_ = 300;
    EXPECT_THROW(model.setSource(numbers), AppError);
    EXPECT_EQ(model.rowCount(), 0);
}

// Every change of the rows (a part read at the end, parts let go, a gap opened where a row is
// asked for, the rest read to the end) is announced as Qt's model tester expects.
TEST(LazyQueryModel, EveryChangeOfTheRowsKeepsToTheModelProtocol)
{
    auto numbers = std::make_shared<Numbers>(20000, -1, true);
    LazyQueryModel model;
    ModelProtocol protocol(&model);
    model.setHeaders({"Nr", "Tekst"});
    model.setSource(numbers);
    EXPECT_TRUE(model.fetchNext() || model.rowCount() == 20000);
    for (int r = 0; r < 20000; r += 250) EXPECT_EQ(model.row(r).at(0).toInt(), r);  // gaps opened
    QApplication::processEvents();
    model.letGo();
    EXPECT_LE(model.heldRows(), LazyQueryModel::kHeld + 1000);
    EXPECT_EQ(model.index(19999, 1).data().toString(), "row 19999");
    QApplication::processEvents();
    model.fetchAll();
    EXPECT_EQ(model.rowCount(), 20000);
    model.clear();
    EXPECT_TRUE(protocol.faults().empty()) << protocol.faults();
}

// A part read again with fewer rows gives them up at its end, so that an index kept on a row
// after it stays on its row.
TEST(LazyQueryModel, APartReadAgainWithFewerRowsKeepsTheIndexesAfterIt)
{
    struct Reloading : LazyQueryModel {
        using LazyQueryModel::reload;
    };
    auto numbers = std::make_shared<Numbers>(1000);
    Reloading model;
    ModelProtocol protocol(&model);
    model.setHeaders({"Nr", "Tekst"});
    model.setSource(numbers);
    model.fetchNext();
    ASSERT_EQ(model.rowCount(), 2 * LazyQueryModel::kPart);
    const QPersistentModelIndex kept = model.index(300, 1);
    numbers->gone = {5, 6};
    model.reload(0);
    EXPECT_EQ(model.rowCount(), 2 * LazyQueryModel::kPart - 2);
    EXPECT_EQ(kept.row(), 298);
    EXPECT_EQ(kept.data().toString(), "row 300");
    EXPECT_TRUE(protocol.faults().empty()) << protocol.faults();
}
