// CreateProcessW, found at run time: the 9x KERNEL32 does not export it.
#include "sys/child_start.h"
#include "sys/wide_entry_points.h"

CreateProcessWFunction CreateProcessWEntryPoint() {
    return GetEntryPointAs<CreateProcessWFunction>("KERNEL32.DLL", "CreateProcessW");
}
