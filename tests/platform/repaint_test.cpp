#include "platform/repaint.h"
#include "support/system_input.h"
#include "support/typing.h"
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A window that counts the keys, the clicks and the paints that reach it.
struct Counting : QWidget {
    int keys = 0;
    int clicks = 0;
    int paints = 0;
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Back in the event loop: the next wake-up hands in what the window system still holds.
void backInTheLoop()
{
    QAbstractEventDispatcher::instance()->wakeUp();
    QApplication::processEvents();
}

}  // namespace

// A key pressed or a click made during a long step is dropped: the repaints in the middle of the
// step paint the window without handing it in, and nothing arrives after the step either. A short
// step's repaint only keeps the input back, which then comes in order.
TEST(RepaintNow, PaintsTheWindowAndDropsTheInputOfALongStep)
{
    Counting w;
    ASSERT_TRUE(showFocused(w));
    const QPointF at(10, 10);
    const auto inputs = systemInputs(w, at, Qt::Key_A, QStringLiteral("a"));
    const std::tuple<const char*, bool, int> steps[] = {
        // step, a long one, repaints in it
        {"long step repainting", true, 5},
        {"long step that never repaints", true, 0},
        {"short step", false, 5},
    };
    for (const auto& [input, give] : inputs) {
        for (const auto& [name, isLong, repaints] : steps) {
            SCOPED_TRACE(std::string(input) + ", " + name);
            w.keys = w.clicks = 0;
            const int painted = w.paints;
            {
                std::optional<ui::LongStep> step;
                if (isLong) step.emplace();
                give();
                for (int k = 0; k < repaints; ++k) {
                    w.update();
                    ui::repaintNow();
                }
                EXPECT_EQ(w.keys + w.clicks, 0) << "nothing comes in during the step";
            }
            if (repaints > 0) {
                EXPECT_GT(w.paints, painted);
            }
            backInTheLoop();
            EXPECT_EQ(w.keys + w.clicks, isLong ? 0 : 1);
            w.keys = w.clicks = 0;
            give();  // after the step the same input arrives
            backInTheLoop();
            EXPECT_EQ(w.keys + w.clicks, 1);
        }
    }
}
