#pragma once

// The mouse pointer of the whole program: the hourglass while a long step runs, the default
// pointer again when it is done. Setting the hourglass twice needs only one reset.
namespace ui {

void setBusyPointer();
void setDefaultPointer();
bool isBusyPointer();

// Shows the hourglass for the lifetime of the object.
class BusyPointer final {
public:
    BusyPointer() { setBusyPointer(); }
    ~BusyPointer() { setDefaultPointer(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace ui
