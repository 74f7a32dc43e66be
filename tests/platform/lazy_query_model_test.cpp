#include "platform/lazy_query_model.h"
#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A source of `total` numbered rows given in parts of the size asked; it fails from row `failAt` on.
struct Numbers {
    int total;
    int failAt = -1;
    int next = 0;
    int reads = 0;
    std::shared_ptr<const db::Columns> columns = std::make_shared<db::Columns>();

    std::vector<db::Row> operator()(int atLeast)
    {
        ++reads;
        std::vector<db::Row> rows;
        for (; next < total && int(rows.size()) < atLeast; ++next) {
            if (next == failAt) throw AppError(err::kGeneral, "test", "read failed");
            rows.emplace_back(columns, std::vector<db::Value>{next, QStringLiteral("row %1").arg(next)});
        }
        return rows;
    }
};

}  // namespace

TEST(LazyQueryModel, ReadsTheFirstPartAtOnceAndMoreAsTheViewScrolls)
{
    auto numbers = std::make_shared<Numbers>(Numbers{1000});
    LazyQueryModel model;
    model.setHeaders({"Nr", "Tekst"});
    model.setSource([numbers](int n) { return (*numbers)(n); });
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

TEST(LazyQueryModel, AFailedReadKeepsTheRowsReadAndIsHandedOnAfterTheViewsStep)
{
    auto numbers = std::make_shared<Numbers>(Numbers{1000, 300});
    LazyQueryModel model;
    model.setHeaders({"Nr", "Tekst"});
    QSignalSpy failed(&model, &LazyQueryModel::readFailed);
    model.setSource([numbers](int n) { return (*numbers)(n); });
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
    numbers->next = 300;
    EXPECT_THROW(model.setSource([numbers](int n) { return (*numbers)(n); }), AppError);
    EXPECT_EQ(model.rowCount(), 0);
}
