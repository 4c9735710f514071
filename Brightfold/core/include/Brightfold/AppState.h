#pragma once

#include <Brightfold/PackageVerdict.h>
#include <Brightfold/AnimationClips.h>
#include <Brightfold/SceneHandle.h>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace brightfold {

// Waiting for a file.
struct Idle {};

// A conversion runs in the background; progress is the last write progress reported (0 to 1).
struct Converting {
    float progress = 0.0f;
};

// The temporary USDZ file exists at tempURL and was read back into scene. The notes say,
// one sentence each, what the conversion left out, approximated or repaired; the verdict, how
// the package stands against AR Quick Look's rules and budgets; the clips, which animation clips
// the model has and which the package plays.
struct Preview {
    SceneHandle scene;
    std::filesystem::path tempURL;
    std::filesystem::path originalURL;
    std::vector<std::string> notes = {};
    PackageVerdict verdict = {};
    AnimationClips clips = {};
};

// The USDZ file was saved at fileURL.
struct Success {
    std::filesystem::path fileURL;
};

// A converted package that could not be saved where it was meant to go; it waits in the
// temporary directory for another destination.
struct UnsavedPackage {
    std::filesystem::path tempURL;
    std::filesystem::path intendedDestination;
};

// A failure message, shown to the user verbatim.
struct Error {
    std::string message;
    std::optional<UnsavedPackage> unsaved = std::nullopt;
};

// An existing USD file shown as it is: nothing was converted and nothing is to be saved (a
// package that fails the verdict may be converted to one that passes).
struct Viewing {
    SceneHandle scene;
    std::filesystem::path fileURL;
    std::vector<std::string> notes = {};
    PackageVerdict verdict = {};
};

// The application's whole state; every screen is a function of it.
using AppState = std::variant<Idle, Converting, Preview, Success, Error, Viewing>;

} // namespace brightfold
