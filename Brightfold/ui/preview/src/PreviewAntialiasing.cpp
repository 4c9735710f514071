#include "PreviewAntialiasing.h"

namespace brightfold::preview {

const char* antialiasingModeFor(bool softwareRenderer) {
    return softwareRenderer ? "NoAA" : "MSAA";
}

} // namespace brightfold::preview
