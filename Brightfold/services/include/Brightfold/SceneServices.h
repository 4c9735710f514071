#pragma once

#include <Brightfold/ConversionServices.h>
#include <memory>

namespace brightfold {

// The services a real conversion uses: the project's glTF reader, the model importer for
// .usdc files and refused glTF files, our USDZ writer and reader, and the real file system,
// identifiers and console. Safe to use from several conversion threads at once.
std::unique_ptr<ConversionServices> makeSceneServices();

} // namespace brightfold
