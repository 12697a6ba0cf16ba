// The thread's COM apartment, left when its owner ends.
#pragma once
#include "sys/win32.h"

#include <objbase.h>

class ComApartment {
  public:
    ComApartment() noexcept = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { Leave(); }

    // Every success, S_FALSE (already entered) included, is paired with one CoUninitialize; a
    // failure with none.
    void Enter() noexcept {
        Leave();
        entered_ = SUCCEEDED(::CoInitialize(nullptr));
    }
    void Leave() noexcept {
        if (entered_) ::CoUninitialize();
        entered_ = false;
    }

  private:
    bool entered_ = false;
};
