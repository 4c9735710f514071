#pragma once

#include <Brightfold/SceneHandle.h>
#include <filesystem>
#include <string>
#include <variant>

namespace brightfold {

// Waiting for a file.
struct Idle {};

// A conversion runs in the background; progress is the last write progress reported (0 to 1).
struct Converting {
    float progress = 0.0f;
};

// The temporary USDZ file exists at tempURL and was read back into scene.
struct Preview {
    SceneHandle scene;
    std::filesystem::path tempURL;
    std::filesystem::path originalURL;
};

// The USDZ file was saved at fileURL.
struct Success {
    std::filesystem::path fileURL;
};

// A failure message, shown to the user verbatim.
struct Error {
    std::string message;
};

// The application's whole state; every screen is a function of it.
using AppState = std::variant<Idle, Converting, Preview, Success, Error>;

} // namespace brightfold
