// Arguments of the restart shortcut: the run's own arguments carrying the temporary-copy switch
// exactly once.
#include "app/restart_arguments.h"

#include "config/setup_command_line.h"
#include "sys/next_token.h"

std::string BuildRestartArguments(const std::string& argumentString,
                                  const SetupCommandLine& commandLine) {
    const std::size_t openValue = commandLine.GetOpenValueArgument();
    const SetupCommandLine::TextSpan given = commandLine.GetTempCopySwitch();
    std::string arguments = argumentString;
    if (given.begin < given.end && given.end <= arguments.size()) {
        // A last "NAME=" would take the switch moved after it as its value.
        if (openValue != std::string::npos) return argumentString;
        arguments.erase(given.begin, given.end - given.begin);
        std::size_t next = given.begin;
        while (next < arguments.size() && IsBlank(arguments[next]))
            ++next;
        const char following = next < arguments.size() ? arguments[next] : '/';
        // Moved away, the switch would let a first word name the setup data file, or join the
        // word before it with an "=value" after it.
        if (following == '=' || (given.begin == 0 && following != '/')) return argumentString;
    }
    std::string marker;
    commandLine.AppendTempCopyMarker(marker);
    if (openValue != std::string::npos && openValue <= arguments.size() && !marker.empty()) {
        arguments.insert(openValue, marker.substr(1) + " ");
    } else {
        arguments += marker;
    }
    return arguments;
}
