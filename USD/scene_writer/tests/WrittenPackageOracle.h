#pragma once

// A scene written as a package beside the build and opened by the independent USD readers.

#include <SceneGraph/Scene.h>
#include <USD/scene_writer/SceneWriter.h>
#include <filesystem>
#include <string>

namespace usd::test {

struct OpenedPackage {
    std::filesystem::path package;
    USDZWriteResult written;
    std::string skipReason; // why the oracle could not run; empty when it did
    int exitStatus = -1;
    std::string complaint;
    std::string report; // the oracle's JSON
};

// Writes `scene` as build/oracle/<fileName> and runs both engines on it.
OpenedPackage writeAndOpen(const scene::Scene& scene, const std::string& fileName,
                           const WriteOptions& options = {});

} // namespace usd::test
