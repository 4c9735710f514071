#include "ConversionFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

ConversionFolder::ConversionFolder()
    : root_(fs::temp_directory_path() /
            ("brightfold-ui-" + std::to_string(::getpid()) + "-" +
             testing::UnitTest::GetInstance()->current_test_info()->name())),
      source_(root_ / "model.glb") {
    fs::create_directories(root_ / "tmp");
    std::ofstream(source_) << "glTF";
    services_ = std::make_shared<ScriptedServices>(root_ / "tmp");
}

ConversionFolder::~ConversionFolder() {
    services_->releaseWrites();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}
