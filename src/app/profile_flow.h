#pragma once
// From the scoring screen to the profile screen and back.
#include "kit/app_context.h"

#include <functional>

class FrmkLID;
class FrmNemudar;

// Lets the scoring screen's view-profile button open a profile screen for the examinee it hands
// over; the profile asks the scoring screen for sex and education on each activation, and
// closing it shows the scoring screen again. The profile screen is made on each opening and
// deleted when it closes (or with the scoring screen); opened, when given, is called once for
// each new one.
void AttachProfileScreen(AppContext& ctx, FrmkLID& scoring, std::function<void(FrmNemudar&)> opened = {});
