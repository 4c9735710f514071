#include "FakeServices.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

std::vector<std::string> FakeServices::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> FakeServices::printedLines() const {
    std::lock_guard lock(mutex_);
    return printedLines_;
}

brightfold::SceneHandle FakeServices::clearedScene() const {
    std::lock_guard lock(mutex_);
    return clearedScene_ == readBackScene_.get() ? readBackScene_ : nullptr;
}

brightfold::ProgressHandler FakeServices::keptProgressHandler() const {
    std::lock_guard lock(mutex_);
    return keptProgressHandler_;
}

std::vector<std::filesystem::path> FakeServices::checkedFiles() const {
    std::lock_guard lock(mutex_);
    return checkedFiles_;
}

std::string FakeServices::lastPackageName() const {
    std::lock_guard lock(mutex_);
    return lastPackageName_;
}

brightfold::ConversionOptions FakeServices::lastWriteOptions() const {
    std::lock_guard lock(mutex_);
    return lastWriteOptions_;
}

brightfold::SceneHandle FakeServices::loadWithGLTFReader(const std::filesystem::path&,
                                                         std::stop_token) {
    record("reader");
    if (readerRefuses) {
        throw std::runtime_error("loadNode: nodes is not defined");
    }
    return readerScene_;
}

brightfold::SceneHandle FakeServices::importModel(const std::filesystem::path&, std::stop_token) {
    record("importer");
    if (importerError) {
        throw std::runtime_error(*importerError);
    }
    return importedScene_;
}

bool FakeServices::hasGeometry(const scene::Scene&) {
    return importedSceneHasGeometry;
}

brightfold::USDZWriteResult FakeServices::writeUSDZ(const scene::Scene&,
                                                    const std::filesystem::path& destination,
                                                    const std::string& packageName,
                                                    const brightfold::ConversionOptions& options,
                                                    const brightfold::ProgressHandler& progress,
                                                    std::stop_token stop) {
    record("write " + destination.filename().string());
    std::ofstream(destination) << (writeSucceeds ? "usdz" : "partial");
    for (float value : progressReports) {
        progress(value);
    }
    if (duringWrite) {
        duringWrite(stop);
    }
    std::lock_guard lock(mutex_);
    lastPackageName_ = packageName;
    lastWriteOptions_ = options;
    keptProgressHandler_ = progress;
    return {writeSucceeds, writerNotes, writtenClips};
}

brightfold::SceneHandle FakeServices::readUSDZ(const std::filesystem::path& file,
                                               std::vector<std::string>& warnings) {
    record("read " + file.filename().string());
    if (readBackError) {
        throw std::runtime_error(*readBackError);
    }
    warnings.insert(warnings.end(), readWarnings.begin(), readWarnings.end());
    return readBackScene_;
}

brightfold::PackageVerdict FakeServices::checkPackage(const std::filesystem::path& file,
                                                      const brightfold::ConversionOptions&) {
    std::lock_guard lock(mutex_);
    checkedFiles_.push_back(file);
    return verdict;
}

void FakeServices::clearBackground(scene::Scene& scene) {
    std::lock_guard lock(mutex_);
    clearedScene_ = &scene;
}

std::string FakeServices::makeIdentifier() {
    std::lock_guard lock(mutex_);
    char text[37];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012d", ++identifiersMade_);
    return text;
}

void FakeServices::printLine(std::string_view line) {
    std::lock_guard lock(mutex_);
    printedLines_.emplace_back(line);
}

void FakeServices::record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}
