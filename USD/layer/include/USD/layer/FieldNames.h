#pragma once

#include <string_view>

// Names of the fields readers and writers handle specially. Other fields pass through by name.
namespace usd::field {

// Children lists: USD finds child specs only through these.
inline constexpr std::string_view kPrimChildren = "primChildren";
inline constexpr std::string_view kProperties = "properties";
inline constexpr std::string_view kVariantSetChildren = "variantSetChildren";
inline constexpr std::string_view kVariantChildren = "variantChildren";

// Prims.
inline constexpr std::string_view kSpecifier = "specifier";
inline constexpr std::string_view kTypeName = "typeName";
inline constexpr std::string_view kApiSchemas = "apiSchemas";
inline constexpr std::string_view kReferences = "references";
inline constexpr std::string_view kPayload = "payload";
inline constexpr std::string_view kVariantSetNames = "variantSetNames";
inline constexpr std::string_view kVariantSelection = "variantSelection";

// Properties.
inline constexpr std::string_view kCustom = "custom";
inline constexpr std::string_view kVariability = "variability";
inline constexpr std::string_view kDefault = "default";
inline constexpr std::string_view kTimeSamples = "timeSamples";
inline constexpr std::string_view kConnectionPaths = "connectionPaths";
inline constexpr std::string_view kTargetPaths = "targetPaths";

// Legacy fields some old files carry; USD ignores them.
inline constexpr std::string_view kTargetChildren = "targetChildren";
inline constexpr std::string_view kConnectionChildren = "connectionChildren";

// Layer metadata.
inline constexpr std::string_view kDefaultPrim = "defaultPrim";
inline constexpr std::string_view kUpAxis = "upAxis";
inline constexpr std::string_view kMetersPerUnit = "metersPerUnit";

} // namespace usd::field
