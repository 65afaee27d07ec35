#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvo {

// Starts the program anew: `arguments` are its command-line arguments (each
// one passed as it is, blanks included), `workingFolder` its working folder.
// The real operation ends the calling process; tests record the call.
using RestartProgram =
    std::function<void(const std::vector<std::string>& arguments, const std::string& workingFolder)>;

// Starts `programPath` with `arguments` in `workingFolder` as a new process
// and ends this one at once with exit status 0, skipping every shutdown step.
// Returns (false) only when no new process could be started; this process
// then keeps running.
bool RestartProcess(const std::string& programPath, const std::vector<std::string>& arguments,
                    const std::string& workingFolder);

}  // namespace orvo
