#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <optional>

namespace gltf::extensions {

// The payload of built-in extension `Extension` decoded on a record, or null when the record
// does not carry it (or a caller's registry replaced the built-in type).
template <class Extension, class Payload = typename decltype(Extension::data)::value_type>
const Payload* extensionData(const std::optional<GLTFExtension>& container) {
    if (!container) {
        return nullptr;
    }
    const auto entry = container->extensions.find(Extension::extensionName);
    if (entry == container->extensions.end()) {
        return nullptr;
    }
    const auto* extension = dynamic_cast<const Extension*>(entry->second.get());
    return extension != nullptr && extension->data ? &*extension->data : nullptr;
}

} // namespace gltf::extensions
