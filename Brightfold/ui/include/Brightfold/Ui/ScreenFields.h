#pragma once

#include <Brightfold/AppState.h>
#include <QString>
#include <QStringList>

namespace brightfold::ui {

// The values the screens read, flattened from the application state. Fields that the state's
// case does not carry keep their empty defaults.
struct ScreenFields {
    QString screen; // "idle", "converting", "preview", "viewing", "success" or "error"
    double progress = 0.0;
    QString message;
    QString savedFileName;
    // The file shown on the viewing screen.
    QString viewedFileName;
    SceneHandle previewScene;
    // What the conversion (or the reading of a viewed file) left out, approximated or repaired.
    QStringList notes;
    // The converted model's animation clips, by title, and the position among them of the one
    // the package plays (the first, when it plays several; -1 when none).
    QStringList animationClips;
    int playedClip = -1;
    // An error that keeps a converted package, which can still be saved elsewhere.
    bool canSaveElsewhere = false;
};

ScreenFields screenFieldsFor(const AppState& state);

} // namespace brightfold::ui
