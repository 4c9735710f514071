#pragma once

namespace brightfold::thumbnailer {

/// Ends the process with a message and status 1 once `seconds` have passed: a model that takes
/// that long to draw is not worth holding up a folder of thumbnails for.
void endProcessAfter(unsigned seconds);

} // namespace brightfold::thumbnailer
