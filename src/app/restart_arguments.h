// Arguments of the restart shortcut: the run's own arguments carrying the temporary-copy switch
// exactly once (the command-line parser refuses "/~ /~").
#pragma once
#include <string>

// The argument string with every "/~" or "/~-" switch taken out, followed by " /~" for marker 1 or
// " /~-" for marker 2 (nothing for 0). Only tokens the parser reads as switches are taken out:
// text inside double quotes and the values of properties and switches stay as they are.
std::string BuildRestartArguments(const std::string& argumentString, int tempCopyMarker);
