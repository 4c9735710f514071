#pragma once

#include <stdexcept>
#include <string>

// The reader's own failure. Its message starts with the operation that failed
// ("loadNode: nodes is not defined"); what() gives the description shown to callers.
class GLTFUnarchiveError : public std::runtime_error {
  public:
    enum class Kind {
        // The file contradicts itself or the reader's limits.
        DataInconsistent,
        // A valid feature the reader does not handle.
        NotSupported,
        // Data could not be obtained.
        Unknown,
    };

    GLTFUnarchiveError(Kind kind, std::string message);

    static GLTFUnarchiveError dataInconsistent(std::string message);
    static GLTFUnarchiveError notSupported(std::string message);
    static GLTFUnarchiveError unknown(std::string message);

    Kind kind() const { return kind_; }
    const std::string& message() const { return message_; }

  private:
    Kind kind_;
    std::string message_;
};
