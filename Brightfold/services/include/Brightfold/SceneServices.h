#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <memory>

namespace brightfold {

// The services a real conversion uses: the project's glTF reader, the model importer for
// .usdc files and refused glTF files, our USDZ writer and reader, and the real file system,
// identifiers and console. Safe to use from several conversion threads at once. Temporary
// packages go to `temporaryDirectory`, or to the system's when it is empty.
std::unique_ptr<ConversionServices>
makeSceneServices(const std::filesystem::path& temporaryDirectory = {});

} // namespace brightfold
