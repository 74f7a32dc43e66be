#pragma once
// The short-date texts of the form moved to the platform layer, where the register uses them too.
#include "platform/date_text.h"
