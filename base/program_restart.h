#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvo {

// Starts the program anew: `arguments` are its command-line arguments (each
// one passed as it is, blanks included), `workingFolder` its working folder.
// The real operation ends the calling process once the new one runs; it
// returns only when the new one could not be started, with the errno that
// says why. Tests record the call and return 0.
using RestartProgram =
    std::function<int(const std::vector<std::string>& arguments, const std::string& workingFolder)>;

// Starts `programPath` with `arguments` in `workingFolder` as a new process
// and, once that process has really replaced itself with the program, ends
// this one at once with exit status 0, skipping every shutdown step.
// Returns only when no new program runs (fork, the change of folder or the
// exec failed: a binary replaced by an upgrade, one no longer executable),
// with the errno of the failed step; this process then keeps running.
int RestartProcess(const std::string& programPath, const std::vector<std::string>& arguments,
                   const std::string& workingFolder);

// `path` as seen from the current working folder, for an argument that a
// program started in another folder must find: a relative path is joined to
// the working folder (without its leading "./"); an absolute or empty one is
// returned as it is.
std::string AbsolutePath(const std::string& path);

}  // namespace orvo
