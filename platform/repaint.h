#pragma once

namespace ui {

// Lets the windows repaint in the middle of a long step without letting the user in: clicks and
// keys wait in the queue until the step is over, so nothing can re-enter a save or a load.
void repaintNow();

}  // namespace ui
