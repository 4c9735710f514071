#include "PreparedSceneShelf.h"

#include "PreparedScene.h"

#include <mutex>
#include <utility>

namespace brightfold::preview {
namespace {

struct Shelf {
    std::mutex mutex;
    // Weak, so a scene that is never shown can still go; its identity is checked through it,
    // since a new scene may later be made at a dead one's address.
    std::weak_ptr<const scene::Scene> scene;
    std::shared_ptr<PreparedScene> prepared;
};

Shelf& shelf() {
    static Shelf instance;
    return instance;
}

} // namespace

void shelvePreparedScene(const std::shared_ptr<const scene::Scene>& scene,
                         std::shared_ptr<PreparedScene> prepared) {
    Shelf& held = shelf();
    std::lock_guard lock(held.mutex);
    held.scene = scene;
    held.prepared = std::move(prepared);
}

std::shared_ptr<PreparedScene> takePreparedScene(const scene::Scene& scene) {
    Shelf& held = shelf();
    std::shared_ptr<PreparedScene> taken;
    bool sceneExists = false;
    {
        std::lock_guard lock(held.mutex);
        const std::shared_ptr<const scene::Scene> shelved = held.scene.lock();
        if (shelved && shelved.get() != &scene) {
            return nullptr; // prepared for another scene, still to be shown
        }
        sceneExists = shelved != nullptr;
        taken = std::exchange(held.prepared, nullptr);
        held.scene.reset();
    }
    // What was prepared for a scene that has gone is freed here, outside the lock.
    return sceneExists ? taken : nullptr;
}

} // namespace brightfold::preview
