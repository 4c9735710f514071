#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>

namespace scene {

Scene::Scene() : rootNode_(Node::create()) {}

std::shared_ptr<Scene> Scene::create() {
    return std::shared_ptr<Scene>(new Scene());
}

const Value* Scene::value(std::string_view key) const {
    return findValue(values_, key);
}

void Scene::setValue(std::string key, Value value) {
    values_.insert_or_assign(std::move(key), std::move(value));
}

void Scene::removeValue(std::string_view key) {
    eraseValue(values_, key);
}

} // namespace scene
