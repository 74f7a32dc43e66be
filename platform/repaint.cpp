#include "platform/repaint.h"
#include "platform/busy_pointer.h"
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <future>

namespace ui {
namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease: return true;
    default: return false;
    }
}

// Installed on the application for the outermost step: takes the input the window system hands
// in, and the shortcuts it would trigger, so that nothing reaches a window.
class DropInput : public QObject {
public:
    // The dialog the step was started from, if any: it is as busy as the main window.
    QPointer<QWidget> modalAtStart = QApplication::activeModalWidget();

    bool eventFilter(QObject*, QEvent* e) override
    {
        // A dialog opened by the step is answered as usual (its own loop, modal over the rest).
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != modalAtStart) return false;
        if (e->type() == QEvent::Shortcut) return true;
        if (!e->spontaneous() || !isUserInput(e->type())) return false;
        // Taken as the focused control's own: then no shortcut is looked for, and the key itself
        // comes here next.
        if (e->type() == QEvent::ShortcutOverride) e->accept();
        if (e->type() == QEvent::Close) e->ignore();
        return true;
    }
};

DropInput* gDrop = nullptr;
int gDepth = 0;

}  // namespace

LongStep::LongStep() : wasBusy_(isBusyPointer())
{
    setBusyPointer();
    if (gDepth++ == 0 && QCoreApplication::instance()) {
        gDrop = new DropInput;
        QCoreApplication::instance()->installEventFilter(gDrop);
    }
}

LongStep::~LongStep()
{
    if (--gDepth == 0 && gDrop) {
        // What the window system still holds from the step (a step that never repainted keeps it
        // all) is handed in now, to the filter.
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
        QCoreApplication::processEvents();
        QCoreApplication::instance()->removeEventFilter(gDrop);
        delete gDrop;
        gDrop = nullptr;
    }
    if (!wasBusy_) setDefaultPointer();
}

void repaintNow()
{
    // Within a step the input is let through to the filter, which drops it; outside one it stays
    // queued.
    QCoreApplication::processEvents(gDrop ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void runPainting(const std::function<void()>& work)
{
    LongStep step;
    auto done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) repaintNow();
    done.get();
}

}  // namespace ui
