// Switches the setup log on for the whole test program.
#include "log_capture.h"

#include <cstdlib>

void EnableSetupLogForTests() {
    setenv("ZBSETUP", "LOG", 1);
}

namespace {
[[maybe_unused]] const bool kLogEnabled = (EnableSetupLogForTests(), true);
}
