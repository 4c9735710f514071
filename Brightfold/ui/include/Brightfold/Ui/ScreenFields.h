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
    // How the package shown stands against AR Quick Look's rules and budgets ("Ready for AR
    // Quick Look", or the count of problems, which a viewed file's notes list); empty off the
    // preview and viewing screens.
    QString verdict;
    bool readyForAR = false;
    // A viewed package that fails can be converted to one that passes.
    bool canMakeARReady = false;
};

ScreenFields screenFieldsFor(const AppState& state);

} // namespace brightfold::ui
