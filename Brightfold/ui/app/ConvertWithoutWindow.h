#pragma once

#include <filesystem>
#include <vector>

/// brightfold --convert FILE...: converts each file beside itself without a window, tells the
/// result in a desktop notification (and one line a file on standard output), and opens the
/// window on the first file that failed so that it can say why. Returns the exit status: 0
/// when every file converted, 1 otherwise.
int convertWithoutWindow(int argc, char* argv[], const std::vector<std::filesystem::path>& files);
