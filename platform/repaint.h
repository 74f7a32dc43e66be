#pragma once
#include <functional>

namespace ui {

// A long step of the window, for the object's lifetime: the busy pointer is shown and the
// clicks, keys, wheel turns and shortcuts the user gives meanwhile are dropped, never handed in
// afterwards (they would act on a window that has moved on, or re-enter the step). A dialog the
// step itself opens (a question, a password) takes its input as usual. Steps may nest: the
// outermost one decides when the input is let in again.
class LongStep {
public:
    LongStep();
    ~LongStep();
    LongStep(const LongStep&) = delete;
    LongStep& operator=(const LongStep&) = delete;

private:
    bool wasBusy_;
};

// Lets the windows repaint in the middle of a step without letting the user in, so that nothing
// can re-enter a save or a load. Within a LongStep the input of the meantime is dropped; in a
// short step outside one it waits in the queue and comes in, in order, once the step is over.
void repaintNow();

// Runs `work` in a thread of its own as a LongStep while this thread keeps the windows painting;
// returns when the work is done and throws what it threw.
void runPainting(const std::function<void()>& work);

}  // namespace ui
