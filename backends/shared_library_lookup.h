#pragma once

#include <string>

namespace orvo {

// Asks the system library folders "/lib" and "/usr/lib" (the second only
// when the first has no match) for a file whose bare name contains `name`,
// ignoring case, by running `ls FOLDER | grep -i -F -e NAME`. Among the
// matching names the last shared object in listing order wins (a name
// ending in ".so" or holding ".so."; these tests heed case).
// Returns FOLDER + "/" + that file name; only FOLDER + "/" when names
// matched but none is a shared object; "" when neither folder matched.
// A name holding "/" matches no bare file name and gives "" at once,
// without starting either tool.
std::string FindLibraryFile(const std::string& name);

// The same search over two given folders, written without a trailing "/".
std::string FindLibraryFileIn(const std::string& name, const std::string& firstFolder,
                              const std::string& secondFolder);

}  // namespace orvo
