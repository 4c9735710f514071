// A cut-out (alpha MASK) material converted through the real services, read by our glTF reader
// and, when the document requires an extension our reader refuses, by the general importer:
// both packages test alpha against the cut-off instead of blending.

#include "ServicesConversion.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageReader.h>
#include <algorithm>
#include <gmock/gmock.h>
#include <optional>

namespace {

// A triangle with a half-transparent material cut out at 0.25.
std::string maskedTriangle(bool requiresUnknownExtension) {
    return std::string(R"({
  "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}],
  "nodes": [{"name": "Leaf", "mesh": 0}],
  "materials": [{"name": "Cut", "alphaMode": "MASK", "alphaCutoff": 0.25,
                 "pbrMetallicRoughness": {"baseColorFactor": [0.2, 0.8, 0.2, 0.5]}}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 0}, "material": 0}]}],
  "buffers": [{"byteLength": 36,
               "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}],
  "bufferViews": [{"buffer": 0, "byteLength": 36}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [1, 1, 0]}])") +
           (requiresUnknownExtension ? R"(, "extensionsUsed": ["EXT_brightfold_unknown"],
  "extensionsRequired": ["EXT_brightfold_unknown"])"
                                     : "") +
           "}";
}

// The value of the first surface input named `input` in the package's layer, if any.
std::optional<float> surfaceInput(const std::filesystem::path& package, const std::string& input) {
    const usd::Layer layer = usd::readCrate(usd::PackageReader::open(package).rootLayer().bytes);
    for (const auto& [path, spec] : layer.specs())
        if (path.text().ends_with(".inputs:" + input))
            if (const usd::Value* value = spec.field("default"))
                if (const float* number = value->get<float>())
                    return *number;
    return std::nullopt;
}

class CutoutConversion : public ServicesConversion {
  protected:
    const brightfold::Preview& convert(bool requiresUnknownExtension) {
        return ServicesConversion::convert(
            folder_.write("leaf.gltf", maskedTriangle(requiresUnknownExtension)));
    }
};

TEST_F(CutoutConversion, BothReadersWriteTheCutOffAndNoBlending) {
    for (const bool importer : {false, true}) {
        const brightfold::Preview& preview = convert(importer);
        const bool noted = std::ranges::any_of(preview.notes, [](const std::string& note) {
            return note.find("general model importer") != std::string::npos;
        });
        EXPECT_EQ(noted, importer) << "the notes say which reader read it";
        EXPECT_EQ(surfaceInput(preview.tempURL, "opacityThreshold"), 0.25f)
            << "importer " << importer;
        EXPECT_EQ(surfaceInput(preview.tempURL, "opacity"), 0.5f) << "importer " << importer;
    }
}

} // namespace
