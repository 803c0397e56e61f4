#include "kit/app_context.h"
