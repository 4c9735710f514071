#pragma once

// Which of a scene's animation clips a package plays. A package has one timeline, and the AR
// viewer plays it whole: clips that are alternatives to each other (idle, walk, run) would all
// play at once, each hiding the others where they move the same property.

#include "Notes.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Node.h>
#include <USD/scene_writer/SceneWriter.h>
#include <string>

namespace usd::writer {

class ClipSelection {
  public:
    // With `requested` empty, every clip plays unless it moves a property that an earlier clip
    // (or an animation of no clip) moves; clips left out that way are noted. With a clip's
    // name or index (the name is tried first), only that clip plays; one the scene lacks is
    // noted and the default choice made.
    static ClipSelection of(const scene::Node& root, const std::string& requested, Notes& notes);

    // Whether an animation registered on a node is written: those of no clip always are.
    bool plays(const scene::Animation& animation) const;

    const WrittenClips& clips() const { return clips_; }

  private:
    WrittenClips clips_;
};

} // namespace usd::writer
