#pragma once
#include "kit/app_context.h"
#include "kit/single_instance.h"

#include <memory>

class Frm1;

// The start of the program: refuses a second copy, prepares the program folder (creating what
// is missing, refusing damaged files), then loads the main window. Returns nullptr when the
// program must end; the reason has been shown to the user.
std::unique_ptr<Frm1> StartProgram(AppContext& ctx, SingleInstanceGuard& guard);
