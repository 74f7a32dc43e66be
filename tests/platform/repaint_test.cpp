#include "platform/repaint.h"
#include "support/typing.h"
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QtGui/qpa/qwindowsysteminterface.h>
#include <gtest/gtest.h>

namespace {

// A window that counts the keys and the paints that reach it.
struct Counting : QWidget {
    int keys = 0;
    int paints = 0;
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void paintEvent(QPaintEvent*) override { ++paints; }
};

}  // namespace

// A key pressed during a long step waits in the window system's queue: the repaints in the
// middle of the step paint the window without handing the key in, and the key arrives after it.
TEST(RepaintNow, PaintsTheWindowButKeepsTheUsersInputUntilTheStepIsOver)
{
    Counting w;
    ASSERT_TRUE(showFocused(w));

    const int painted = w.paints;
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    for (int step = 0; step < 5; ++step) {
        w.update();
        ui::repaintNow();
    }
    EXPECT_GT(w.paints, painted);
    EXPECT_EQ(w.keys, 0);

    // Back in the event loop, the next wake-up hands it in.
    QAbstractEventDispatcher::instance()->wakeUp();
    QApplication::processEvents();
    EXPECT_EQ(w.keys, 1);
}
