#include <Brightfold/Ui/ScreenFields.h>
#include <QFile>

namespace brightfold::ui {
namespace {

// File names are bytes in the locale's encoding, not necessarily UTF-8.
QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

ScreenFields onScreen(const char* screen) {
    ScreenFields fields;
    fields.screen = QString::fromLatin1(screen);
    return fields;
}

ScreenFields fieldsOf(const Idle&) {
    return onScreen("idle");
}

ScreenFields fieldsOf(const Converting& converting) {
    ScreenFields fields = onScreen("converting");
    fields.progress = converting.progress;
    return fields;
}

ScreenFields fieldsOf(const Preview& preview) {
    ScreenFields fields = onScreen("preview");
    fields.previewScene = preview.scene;
    return fields;
}

ScreenFields fieldsOf(const Success& success) {
    ScreenFields fields = onScreen("success");
    fields.savedFileName = fromPath(success.fileURL.filename());
    return fields;
}

ScreenFields fieldsOf(const Error& error) {
    ScreenFields fields = onScreen("error");
    fields.message = QString::fromStdString(error.message);
    return fields;
}

} // namespace

ScreenFields screenFieldsFor(const AppState& state) {
    return std::visit([](const auto& current) { return fieldsOf(current); }, state);
}

} // namespace brightfold::ui
