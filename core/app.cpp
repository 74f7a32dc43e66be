#include "core/app.h"
#include "platform/instance_channel.h"
#include <cstdlib>

App::App() : terminate([](int code) { std::exit(code); }), errorReporter(defaultErrorReporter()) {}
App::~App() = default;
