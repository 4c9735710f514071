#pragma once

// Unarchivers over small in-test documents, and the description of what a loader throws.

#include "GLTFTestDocument.h"

#include <GLTFReader/ConsoleOutput.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace gltf::testing {

inline GLTFUnarchiver unarchiverOf(std::string_view members,
                                   const GLTFExtensionRegistry& callerRegistry = {}) {
    return GLTFUnarchiver(GLTFTestDocument(members).gltf(), callerRegistry);
}

// A document whose only buffer holds `bytes`, embedded as a data URI.
inline GLTFUnarchiver unarchiverOf(const TestBytes& bytes, std::string_view members,
                                   const GLTFExtensionRegistry& callerRegistry = {}) {
    return unarchiverOf(embeddedBuffer(bytes) + ", " + std::string(members), callerRegistry);
}

// The description of the failure `action` throws ("DataInconsistent: loadNode: …"), or an
// empty text when it succeeds.
template <class Action> std::string failureOf(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// Key times or values as numbers; anything else reads as -99.
inline std::vector<double> numbersOf(const std::vector<scene::Value>& values) {
    std::vector<double> numbers;
    for (const scene::Value& value : values) {
        numbers.push_back(value.number().value_or(-99));
    }
    return numbers;
}

// Collects the reader's console lines while it lives, instead of printing them.
class CapturedConsoleLines {
  public:
    CapturedConsoleLines()
        : previous_(
              redirectConsoleLines([this](std::string_view line) { lines_.emplace_back(line); })) {}
    ~CapturedConsoleLines() { redirectConsoleLines(previous_); }
    CapturedConsoleLines(const CapturedConsoleLines&) = delete;
    CapturedConsoleLines& operator=(const CapturedConsoleLines&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::vector<std::string> lines_;
    ConsoleLineWriter previous_;
};

} // namespace gltf::testing
