#pragma once

#include <Brightfold/ConversionServices.h>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace brightfold::ui {

/// How one file given to `brightfold --convert` went.
struct BesideResult {
    std::filesystem::path source;
    bool converted = false;
    /// The package saved beside the source, when converted.
    std::filesystem::path package;
    /// Why it failed, as the window would say it.
    std::string failure;
    /// How many notes the conversion made (what the package leaves out or approximates).
    std::size_t noteCount = 0;
};

/// Converts each file and saves it beside itself as <name>.usdz, one after another, through the
/// same workflow the window uses. Runs the event loop of `mainThreadObject`'s thread (the
/// application's) until each conversion is done.
std::vector<BesideResult> convertBeside(const std::vector<std::filesystem::path>& files,
                                        std::shared_ptr<ConversionServices> services,
                                        QObject* mainThreadObject);

/// What the desktop notification says about the results: a title and a line or two.
struct NotificationText {
    QString summary;
    QString body;
};
NotificationText notificationFor(const std::vector<BesideResult>& results);

} // namespace brightfold::ui
