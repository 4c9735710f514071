#include <USD/layer/Layer.h>
#include <stdexcept>

namespace usd {

Spec& Layer::createSpec(const Path& path, SpecType type) {
    if (path.isEmpty()) {
        throw std::invalid_argument("a spec needs a non-empty path");
    }
    auto [it, inserted] = specs_.try_emplace(path);
    if (inserted) {
        it->second.type = type;
    } else if (it->second.type != type) {
        throw std::invalid_argument("a spec of another type already exists at " + path.text());
    }
    return it->second;
}

bool Layer::removeSpec(const Path& path) {
    return specs_.erase(path) > 0;
}

const Spec* Layer::spec(const Path& path) const {
    const auto it = specs_.find(path);
    return it == specs_.end() ? nullptr : &it->second;
}

Spec* Layer::spec(const Path& path) {
    const auto it = specs_.find(path);
    return it == specs_.end() ? nullptr : &it->second;
}

Spec& Layer::pseudoRoot() {
    return createSpec(Path::absoluteRoot(), SpecType::PseudoRoot);
}

} // namespace usd
