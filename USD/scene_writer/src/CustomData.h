#pragma once

#include <SceneGraph/Value.h>
#include <USD/layer/Value.h>
#include <optional>

namespace usd::writer {

// A scene value as a customData value: booleans, numbers, text, vectors and dictionaries of
// them; nullopt for what a layer cannot hold (node references, images, opaque objects).
std::optional<Value> customDataValue(const scene::Value& value);

// The entries of `values` that a layer can hold, except the keys in `skipped`.
Dictionary customDataOf(const scene::ValueDictionary& values,
                        std::initializer_list<std::string_view> skipped = {});

// Keeps `name` as "originalName" when the prim had to be named `primName` instead, so that a
// reader can give it back.
void keepOriginalName(Dictionary& data, const std::string& name, std::string_view primName);

} // namespace usd::writer
