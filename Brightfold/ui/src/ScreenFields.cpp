#include <Brightfold/Ui/ScreenFields.h>
#include <QFile>

namespace brightfold::ui {
namespace {

// File names are bytes in the locale's encoding, not necessarily UTF-8.
QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QStringList fromTexts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << QString::fromStdString(text);
    }
    return list;
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

void showVerdict(const PackageVerdict& verdict, ScreenFields& fields) {
    fields.verdict = QString::fromStdString(verdictSummary(verdict));
    fields.readyForAR = verdict.passes();
}

int playedPosition(const AnimationClips& clips) {
    for (std::size_t position = 0; position < clips.all.size(); ++position) {
        if (!clips.played.empty() && clips.all[position].index == clips.played.front()) {
            return static_cast<int>(position);
        }
    }
    return -1;
}

// A conversion's notes already tell what its check found.
ScreenFields fieldsOf(const Preview& preview) {
    ScreenFields fields = onScreen("preview");
    fields.previewScene = preview.scene;
    fields.notes = fromTexts(preview.notes);
    showVerdict(preview.verdict, fields);
    for (const SourceClip& clip : preview.clips.all) {
        fields.animationClips << QString::fromStdString(clipTitle(clip));
    }
    fields.playedClip = playedPosition(preview.clips);
    return fields;
}

// A file shown as it is lists each problem of its verdict among its notes.
ScreenFields fieldsOf(const Viewing& viewing) {
    ScreenFields fields = onScreen("viewing");
    fields.previewScene = viewing.scene;
    fields.viewedFileName = fromPath(viewing.fileURL.filename());
    fields.notes = fromTexts(viewing.notes);
    fields.notes << fromTexts(verdictNotes(viewing.verdict, {}));
    showVerdict(viewing.verdict, fields);
    fields.canMakeARReady = !viewing.verdict.passes();
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
    fields.canSaveElsewhere = error.unsaved.has_value();
    return fields;
}

} // namespace

ScreenFields screenFieldsFor(const AppState& state) {
    return std::visit([](const auto& current) { return fieldsOf(current); }, state);
}

} // namespace brightfold::ui
