#pragma once

#include <Brightfold/AppState.h>
#include <QString>

namespace brightfold::ui {

// The values the screens read, flattened from the application state. Fields that the state's
// case does not carry keep their empty defaults.
struct ScreenFields {
    QString screen; // "idle", "converting", "preview", "success" or "error"
    double progress = 0.0;
    QString message;
    QString savedFileName;
    SceneHandle previewScene;
};

ScreenFields screenFieldsFor(const AppState& state);

} // namespace brightfold::ui
