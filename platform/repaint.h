#pragma once
#include <functional>

namespace ui {

// Lets the windows repaint in the middle of a long step without letting the user in: clicks and
// keys wait in the queue until the step is over, so nothing can re-enter a save or a load.
void repaintNow();

// Runs `work` in a thread of its own while this thread keeps the windows painting as above, the
// busy pointer shown; returns when the work is done and throws what it threw.
void runPainting(const std::function<void()>& work);

}  // namespace ui
