// Arguments of the restart shortcut: the run's own arguments carrying the temporary-copy switch
// exactly once (the command-line parser refuses "/~ /~").
#pragma once
#include <string>

class SetupCommandLine;

// The argument string as `commandLine` parsed it, with the "/~" or "/~-" switch it read (if any)
// taken out, followed by the command line's temporary-copy marker switch. Only the token the
// parser took as that switch is taken out; text inside quotes and values stay as they are. Where
// the usual place would change what the restarted run reads, the switch goes elsewhere: a given
// switch stays where it is when it came first before a word that is not a switch, before an
// "=value" token, or before a last "NAME=" whose value is open; an added switch goes before such
// a last "NAME=" rather than after it.
std::string BuildRestartArguments(const std::string& argumentString,
                                  const SetupCommandLine& commandLine);
