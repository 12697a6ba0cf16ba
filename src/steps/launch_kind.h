// Which step starts a child, and the launch rule each kind follows.
#pragma once
#include "sys/process.h"

enum class LaunchKind {
    EngineRedistributable,  // logged; false on failure; recorded
    MaintenanceInstaller,   // logged; the step's internal error on failure; recorded
    MainInstaller,          // logged; the step's internal error on failure; recorded
    NestedSetup,            // logged; the step's internal error on failure; recorded
    PostInstallApplication, // not logged; the step's internal error without CreateProcessW, a
                            // failed start is only answered false; not recorded
    UninstallCommand,       // logged; false on failure; not recorded: the child is handed back
};

// The rule for `kind`; `failureLocation` is the calling step's internal-error location (the kinds
// whose failures are answered false ignore it).
constexpr LaunchRule LaunchRuleFor(LaunchKind kind, unsigned failureLocation = 0) {
    switch (kind) {
    case LaunchKind::EngineRedistributable:
        return {true, true, 0, false};
    case LaunchKind::MaintenanceInstaller:
    case LaunchKind::MainInstaller:
    case LaunchKind::NestedSetup:
        return {true, true, failureLocation, true};
    case LaunchKind::PostInstallApplication:
        return {false, false, failureLocation, false};
    case LaunchKind::UninstallCommand:
        return {true, false, 0, false};
    }
    return {true, false, 0, false};
}
