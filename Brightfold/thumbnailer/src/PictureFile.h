#pragma once

#include <QImage>
#include <filesystem>

namespace brightfold::thumbnailer {

/// Saves `picture` as a PNG file at `file`, written in one go once it is encoded (the file
/// manager gave us that name and no other, so there is no temporary file beside it). Throws
/// std::runtime_error when it cannot, leaving no partial file behind.
void savePicture(const QImage& picture, const std::filesystem::path& file);

} // namespace brightfold::thumbnailer
