#include "register/print_output.h"
#include "register/print_state.h"

PrintOutput& printOutput(App& app)
{
    PrintState& st = printState(app);
    if (!st.output) st.output = std::make_shared<PrintOutput>();
    return *st.output;
}
