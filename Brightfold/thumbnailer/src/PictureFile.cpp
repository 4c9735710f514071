#include "PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <stdexcept>

namespace brightfold::thumbnailer {

void savePicture(const QImage& picture, const std::filesystem::path& file) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        throw std::runtime_error("the picture could not be encoded as PNG");
    }
    QFile out(QFile::decodeName(file.c_str()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot write " + file.string() + ": " +
                                 out.errorString().toStdString());
    }
    if (out.write(encoded) != encoded.size() || !out.flush()) {
        const std::string reason = out.errorString().toStdString();
        out.remove();
        throw std::runtime_error("cannot write " + file.string() + ": " + reason);
    }
}

} // namespace brightfold::thumbnailer
