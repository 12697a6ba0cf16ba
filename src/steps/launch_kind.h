// Which step starts a child, and the launch rule each kind follows.
#pragma once
#include "sys/process.h"
#include "text/internal_error.h"

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

// The rule for `kind`.
constexpr LaunchRule LaunchRuleFor(LaunchKind kind) {
    switch (kind) {
    case LaunchKind::EngineRedistributable:
    case LaunchKind::MaintenanceInstaller:
    case LaunchKind::MainInstaller:
        return {true, true, true};
    case LaunchKind::NestedSetup:
        return {true, true, false};
    case LaunchKind::PostInstallApplication:
        return {false, false, false};
    case LaunchKind::UninstallCommand:
        return {true, false, true};
    }
    return {true, false, false};
}

// True when the child runs. A failed start of `kind` is the step's internal error
// (`failureLocation`, CannotStart) for the installers and the nested setup, and for a missing
// CreateProcessW of any kind started by a step with a location; else it is answered false.
inline bool StartedOrReported(LaunchResult result, LaunchKind kind, unsigned failureLocation) {
    if (result) return true;
    const bool failureRaises = kind == LaunchKind::MaintenanceInstaller ||
                               kind == LaunchKind::MainInstaller || kind == LaunchKind::NestedSetup;
    if (failureLocation && (result.status == LaunchStatus::NoStartCall || failureRaises))
        ReportInternalError(failureLocation, InternalErrorCode::CannotStart);
    return false;
}
