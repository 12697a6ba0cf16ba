// The host build's setup log has no fixed file: lines go where the host program says.
#pragma once
#include <string>

// Where log lines go (empty: nowhere).
void SetHostLogPath(const std::string& path);
