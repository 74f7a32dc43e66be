#include "platform/repaint.h"
#include "platform/busy_pointer.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <future>

namespace ui {

void repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void runPainting(const std::function<void()>& work)
{
    BusyPointer busy;
    auto done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) repaintNow();
    done.get();
}

}  // namespace ui
