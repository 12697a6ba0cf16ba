// The user-interface levels of the installer's /q switch, numbered as the launcher has always
// numbered them (the command line, the message boxes and the steps all test them).
#pragma once
#include <cstdint>

enum UILevel : int32_t {
    kUILevelNone = 0,             // no /q given
    kUILevelFull = 1,             // /qf
    kUILevelReduced = 2,          // /qr
    kUILevelBasicWithEndBox = 3,  // /qb+
    kUILevelBasic = 4,            // /qb
    kUILevelBasicNoModal = 5,     // /qb-
    kUILevelSilentWithEndBox = 6, // /qn+
    kUILevelSilent = 7,           // /q, /qn
};
