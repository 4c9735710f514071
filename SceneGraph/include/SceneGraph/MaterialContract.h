#pragma once

// The named values a material carries beside its slots, and what they mean. Every module that
// makes materials (the glTF reader, the avatar set-up, the fallback importer, the USD reader) or
// reads them (the USD writer, the preview) goes through these names and accessors, so a value
// written by one is understood by all.
//
// A factor is kept as a named value only where a texture fills its slot: without a texture the
// slot's own colour or number is the factor, and the named value stays at its neutral 1.

#include <SceneGraph/Value.h>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

class Material;
class Node;
class Scene;

namespace material_keys {

/// Colour factors are kept per channel, the key followed by "R", "G", "B" or "A".
inline constexpr std::string_view baseColorFactor = "baseColorFactor";
inline constexpr std::string_view emissiveFactor = "emissiveFactor";
/// The specular-glossiness model's diffuse and specular colours.
inline constexpr std::string_view diffuseFactor = "diffuseFactor";
inline constexpr std::string_view specularFactor = "specularFactor";

inline constexpr std::string_view metallicFactor = "metallicFactor";
inline constexpr std::string_view roughnessFactor = "roughnessFactor";
/// Present only on materials in the specular-glossiness model.
inline constexpr std::string_view glossinessFactor = "glossinessFactor";
inline constexpr std::string_view clearcoatFactor = "clearcoatFactor";
inline constexpr std::string_view clearcoatRoughnessFactor = "clearcoatRoughnessFactor";
inline constexpr std::string_view indexOfRefraction = "ior";

/// Present only on cut-out materials: fragments whose alpha falls below it are dropped.
inline constexpr std::string_view alphaCutoff = "alphaCutoff";
/// An unlit avatar material's colour (linear RGBA), which multiplies its texture.
inline constexpr std::string_view avatarBaseColor = "baseColor";
/// The source's features the material is shown without, as one comma-separated text.
inline constexpr std::string_view leftOutFeatures = "leftOutFeatures";

} // namespace material_keys

// Beside materials, two values that loaders keep on nodes for the writer.
namespace node_keys {

/// On a node that holds a mesh: the key paths, relative to the node, of the morph weights its
/// weight animations drive, one per morph target in the glTF order.
inline constexpr std::string_view weightPaths = "weightPaths";
/// On an avatar's root node: its expressions (expression key → morph-weight key path → weight).
inline constexpr std::string_view avatarBlendShapes = "VRMBlendShapes";

} // namespace node_keys

namespace scene_keys {

/// On a scene: what its reader left out or approximated, one sentence each, fit to show the
/// user; the conversion adds the writer's and the package check's notes to these.
inline constexpr std::string_view notes = "notes";

} // namespace scene_keys

/// A colour factor's channels; a channel the material does not name reads as `fallback`.
std::array<double, 4> colorFactor(const Material& material, std::string_view key,
                                  double fallback = 1.0);
/// Names three (RGB) or four (RGBA) channels of a colour factor.
void setColorFactor(Material& material, std::string_view key, std::span<const double> channels);
void setColorFactor(Material& material, std::string_view key, std::span<const float> channels);

/// A named number, or `fallback` when the material names none under `key`.
double namedNumber(const Material& material, std::string_view key, double fallback);
void setNamedNumber(Material& material, std::string_view key, double number);

/// The cut-off of a cut-out material, or nullopt for an opaque or blended one.
std::optional<double> cutoutThreshold(const Material& material);
void setCutoutThreshold(Material& material, double threshold);
void clearCutout(Material& material);

std::optional<glm::dvec4> avatarBaseColor(const Material& material);
void setAvatarBaseColor(Material& material, const glm::dvec4& color);

/// Unlit: the constant lighting model, or an unlit avatar material.
bool isUnlit(const Material& material);
bool isSpecularGlossiness(const Material& material);

/// The node's morph weight paths, or nullopt when it names none (or any is not a text).
std::optional<std::vector<std::string>> weightPaths(const Node& node);
void setWeightPaths(Node& node, ValueArray paths);

/// Adds the notes the scene does not hold yet, in their order.
void addNotes(Scene& scene, const std::vector<std::string>& notes);
std::vector<std::string> notes(const Scene& scene);

/// Adds one feature to the material's list of what it is shown without.
void noteLeftOutFeature(Material& material, std::string_view feature);
/// The comma-separated list of what the material is shown without, or nullopt.
std::optional<std::string> leftOutFeatures(const Material& material);

} // namespace scene
