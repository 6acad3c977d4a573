#pragma once

#include <filesystem>

class QApplication;

namespace vs {

class DialogSeam;

// Builds the main window over the data in `dataDir`, shows it and runs the event
// loop. When start-up fails the termination message is shown through `dialogs`
// and 1 is returned at once; the window never appears.
int runEditor(QApplication& app, DialogSeam& dialogs, const std::filesystem::path& dataDir);

}  // namespace vs
