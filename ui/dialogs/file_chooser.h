#pragma once

#include <string>
#include <vector>

#include "core/file_chooser.h"

namespace orvo {

// The toolkit's file chooser run with gtk_dialog_run; fits ChooseFiles.
// Anything but the accept response gives an empty result.
std::vector<std::string> RunFileChooser(const FileChooserRequest& request);

}  // namespace orvo
