// Security descriptors for what the launcher makes for itself (its temporary copy, the engine
// download, the log): full control for SYSTEM, the Administrators group and the user running
// setup, nothing for anyone else, and nothing inherited from the folder above.
#pragma once
#include <string>

#include "sys/win32.h"

class PrivateSecurity {
  public:
    // `inheritable`: the entries pass to files and folders made inside (for a folder).
    explicit PrivateSecurity(bool inheritable);
    ~PrivateSecurity();
    PrivateSecurity(const PrivateSecurity&) = delete;
    PrivateSecurity& operator=(const PrivateSecurity&) = delete;

    // For CreateDirectory and CreateFile; null on the 9x family (no ACLs) and where the system
    // cannot build the descriptor (NT 4 lacks the conversion), so that the object inherits as
    // before.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

  private:
    void* descriptor_ = nullptr; // LocalAlloc'ed by the system
    SECURITY_ATTRIBUTES attributes_{};
};
