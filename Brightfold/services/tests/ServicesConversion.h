#pragma once

// A fixture that converts files written into a test folder through the real services, on the
// test's thread, up to the preview of the written package.

#include "ManualMainQueue.h"
#include "TestFolder.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <variant>

class ServicesConversion : public testing::Test {
  protected:
    ServicesConversion() { std::filesystem::create_directory(temporary_); }

    const brightfold::Preview& convert(const std::filesystem::path& source,
                                       const brightfold::ConversionOptions& options = {}) {
        workflow_.setConversionOptions(options);
        workflow_.startConversion(source);
        do {
            workflow_.waitForBackgroundWork();
        } while (queue_.drain());
        return std::get<brightfold::Preview>(workflow_.state());
    }

    TestFolder folder_;
    const std::filesystem::path temporary_ = folder_.path() / "tmp";
    ManualMainQueue queue_;
    brightfold::ConversionWorkflow workflow_{brightfold::makeSceneServices(temporary_),
                                             queue_.poster()};
};
