#pragma once

#include <Brightfold/ConversionWorkflow.h>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

namespace brightfold::ui {

// What the program was asked to do by its arguments (the program name first).
struct CommandLine {
    // ConvertWithoutWindow: each file saved beside itself as a package, the result told in a
    // desktop notification (the right-click "Convert to USDZ" of file managers).
    enum class Action { OpenWindow, ConvertWithoutWindow, PrintHelp, PrintVersion, Refuse };

    Action action = Action::OpenWindow;
    // The files to open, made absolute (file URLs, as a desktop may pass, are accepted).
    std::vector<std::filesystem::path> files;
    OpenMode mode = OpenMode::ByExtension;
    // For PrintHelp and PrintVersion the text to print; for Refuse, why.
    QString text;
};

CommandLine parseCommandLine(const QStringList& arguments);

} // namespace brightfold::ui
