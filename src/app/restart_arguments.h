// Arguments of the restart shortcut: the run's own arguments carrying the temporary-copy switch
// exactly once (the command-line parser refuses "/~ /~").
#pragma once
#include <string>

class SetupCommandLine;

// The argument string as `commandLine` parsed it, with the "/~" or "/~-" switch it read (if any)
// taken out, followed by the command line's temporary-copy marker switch. Only the token the
// parser took as that switch is taken out; text inside quotes and values stay as they are. The
// switch stays where it is when moving it would change what the restarted run reads: given first
// and followed by a word that is not a switch, or followed by an "=value" token.
std::string BuildRestartArguments(const std::string& argumentString,
                                  const SetupCommandLine& commandLine);
