#include <GLTFReader/GLTFUnarchiveError.h>

namespace {

std::string describe(GLTFUnarchiveError::Kind kind, const std::string& message) {
    switch (kind) {
    case GLTFUnarchiveError::Kind::DataInconsistent:
        return "DataInconsistent: " + message;
    case GLTFUnarchiveError::Kind::NotSupported:
        return "NotSupported: " + message;
    case GLTFUnarchiveError::Kind::Unknown:
        return message;
    }
    return message;
}

} // namespace

GLTFUnarchiveError::GLTFUnarchiveError(Kind kind, std::string message)
    : std::runtime_error(describe(kind, message)), kind_(kind), message_(std::move(message)) {}

GLTFUnarchiveError GLTFUnarchiveError::dataInconsistent(std::string message) {
    return {Kind::DataInconsistent, std::move(message)};
}

GLTFUnarchiveError GLTFUnarchiveError::notSupported(std::string message) {
    return {Kind::NotSupported, std::move(message)};
}

GLTFUnarchiveError GLTFUnarchiveError::unknown(std::string message) {
    return {Kind::Unknown, std::move(message)};
}
