#pragma once

#include "FakeServices.h"
#include "ManualMainQueue.h"
#include "TestFolder.h"

#include <Brightfold/ConversionWorkflow.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

// The state's case, or a failure naming the case it actually is.
template <class Case> const Case& stateCase(const brightfold::AppState& state) {
    const Case* value = std::get_if<Case>(&state);
    if (value == nullptr) {
        throw std::runtime_error("the state is case #" + std::to_string(state.index()));
    }
    return *value;
}

// A workflow over scripted services, a hand-drained main queue and a real test folder whose
// "tmp" subfolder plays the temporary directory.
class WorkflowTest : public ::testing::Test {
  protected:
    WorkflowTest() { std::filesystem::create_directory(temporaryDirectory); }

    // Lets every conversion finish, including those that posted steps start, and applies
    // everything they posted.
    void finishConversions() {
        do {
            workflow->waitForBackgroundWork();
        } while (queue.drain());
    }

    const brightfold::AppState& convert(const std::string& sourceName) {
        workflow->startConversion(folder.write(sourceName, "source bytes"));
        finishConversions();
        return workflow->state();
    }

    const brightfold::Preview& convertToPreview(const std::string& sourceName) {
        return stateCase<brightfold::Preview>(convert(sourceName));
    }

    std::size_t temporaryFileCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(temporaryDirectory), {}));
    }

    TestFolder folder;
    const std::filesystem::path temporaryDirectory = folder.path() / "tmp";
    std::shared_ptr<FakeServices> services = std::make_shared<FakeServices>(temporaryDirectory);
    ManualMainQueue queue;
    std::unique_ptr<brightfold::ConversionWorkflow> workflow =
        std::make_unique<brightfold::ConversionWorkflow>(services, queue.poster());
};
