#include "register/print_state.h"
#include "core/app.h"

PrintState& printState(App& app)
{
    if (!app.printState) app.printState = std::make_shared<PrintState>();
    return *app.printState;
}
