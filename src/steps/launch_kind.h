// Which step starts a child, and the launch rule each kind follows.
#pragma once
#include "sys/process.h"

// The installers, the redistributable and removers may elevate (each asks for rights itself); the
// nested setup and the applications started afterwards run as the user who started setup.
enum class LaunchKind {
    EngineRedistributable,  // logged; false on failure; recorded; may elevate
    MaintenanceInstaller,   // logged; the step's internal error on failure; recorded; may elevate
    MainInstaller,          // logged; the step's internal error on failure; recorded; may elevate
    NestedSetup,            // logged; the step's internal error on failure; recorded
    PostInstallApplication, // not logged; the step's internal error without CreateProcessW, a
                            // failed start is only answered false; not recorded
    UninstallCommand,       // logged; false on failure; not recorded: the child is handed back;
                            // may elevate
};

// The rule for `kind`; `failureLocation` is the calling step's internal-error location (the kinds
// whose failures are answered false ignore it).
constexpr LaunchRule LaunchRuleFor(LaunchKind kind, unsigned failureLocation = 0) {
    switch (kind) {
    case LaunchKind::EngineRedistributable:
        return {true, true, 0, false, true};
    case LaunchKind::MaintenanceInstaller:
    case LaunchKind::MainInstaller:
        return {true, true, failureLocation, true, true};
    case LaunchKind::NestedSetup:
        return {true, true, failureLocation, true, false};
    case LaunchKind::PostInstallApplication:
        return {false, false, failureLocation, false, false};
    case LaunchKind::UninstallCommand:
        return {true, false, 0, false, true};
    }
    return {true, false, 0, false, false};
}
