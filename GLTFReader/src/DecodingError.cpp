#include <GLTFReader/DecodingError.h>

namespace gltf {
namespace {

std::string describe(DecodingError::Kind kind, const std::string& codingPath,
                     const std::string& detail) {
    const std::string place = codingPath.empty() ? "the document root" : codingPath;
    return std::string(kindName(kind)) + " at " + place + ": " + detail;
}

} // namespace

DecodingError::DecodingError(Kind kind, std::string codingPath, const std::string& detail)
    : std::runtime_error(describe(kind, codingPath, detail)), kind_(kind),
      codingPath_(std::move(codingPath)) {}

const char* kindName(DecodingError::Kind kind) {
    switch (kind) {
    case DecodingError::Kind::keyNotFound:
        return "keyNotFound";
    case DecodingError::Kind::typeMismatch:
        return "typeMismatch";
    case DecodingError::Kind::valueNotFound:
        return "valueNotFound";
    case DecodingError::Kind::dataCorrupted:
        return "dataCorrupted";
    }
    return "unknown";
}

} // namespace gltf
