#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Constants and small types of the crate (.usdc) layout that both the reader and the writer
// need: versions, the bootstrap, section names, value types and the 64-bit value reference.
namespace usd::crate {

struct Version {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint8_t patch = 0;

    std::string text() const {
        return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
    }
    friend auto operator<=>(const Version&, const Version&) = default;
};

inline constexpr Version kNewestReadableVersion{0, 11, 0};
// The version written: every current reader opens it, and it holds all a static scene needs.
inline constexpr Version kWrittenVersion{0, 8, 0};

inline constexpr std::string_view kMagic = "PXR-USDC";
inline constexpr std::size_t kBootstrapSize = 88;
inline constexpr std::size_t kSectionNameSize = 16;
inline constexpr std::size_t kSectionRecordSize = 32;
inline constexpr std::uint32_t kInvalidIndex = 0xFFFFFFFF;

namespace section {
inline constexpr std::string_view kTokens = "TOKENS";
inline constexpr std::string_view kStrings = "STRINGS";
inline constexpr std::string_view kFields = "FIELDS";
inline constexpr std::string_view kFieldSets = "FIELDSETS";
inline constexpr std::string_view kPaths = "PATHS";
inline constexpr std::string_view kSpecs = "SPECS";
} // namespace section

// Value types as numbered in files. The numbers never change; new types are appended.
enum class Type : std::uint8_t {
    Invalid = 0,
    Bool = 1,
    UChar = 2,
    Int = 3,
    UInt = 4,
    Int64 = 5,
    UInt64 = 6,
    Half = 7,
    Float = 8,
    Double = 9,
    String = 10,
    Token = 11,
    AssetPath = 12,
    Matrix2d = 13,
    Matrix3d = 14,
    Matrix4d = 15,
    Quatd = 16,
    Quatf = 17,
    Quath = 18,
    Vec2d = 19,
    Vec2f = 20,
    Vec2h = 21,
    Vec2i = 22,
    Vec3d = 23,
    Vec3f = 24,
    Vec3h = 25,
    Vec3i = 26,
    Vec4d = 27,
    Vec4f = 28,
    Vec4h = 29,
    Vec4i = 30,
    Dictionary = 31,
    TokenListOp = 32,
    StringListOp = 33,
    PathListOp = 34,
    ReferenceListOp = 35,
    IntListOp = 36,
    Int64ListOp = 37,
    UIntListOp = 38,
    UInt64ListOp = 39,
    PathVector = 40,
    TokenVector = 41,
    Specifier = 42,
    Permission = 43,
    Variability = 44,
    VariantSelectionMap = 45,
    TimeSamples = 46,
    Payload = 47,
    DoubleVector = 48,
    LayerOffsetVector = 49,
    StringVector = 50,
    ValueBlock = 51,
    Value = 52,
    UnregisteredValue = 53,
    UnregisteredValueListOp = 54,
    PayloadListOp = 55,
    TimeCode = 56,
    PathExpression = 57,
    Relocates = 58,
    Spline = 59,
    AnimationBlock = 60,
};

// Bits of a list op's header byte.
namespace listop {
inline constexpr std::uint8_t kIsExplicit = 0x01;
inline constexpr std::uint8_t kHasExplicitItems = 0x02;
inline constexpr std::uint8_t kHasAddedItems = 0x04;
inline constexpr std::uint8_t kHasDeletedItems = 0x08;
inline constexpr std::uint8_t kHasOrderedItems = 0x10;
inline constexpr std::uint8_t kHasPrependedItems = 0x20;
inline constexpr std::uint8_t kHasAppendedItems = 0x40;
} // namespace listop

// A field value's 64-bit reference: flags, type and either the value itself (inlined, in the
// low 32 bits) or the absolute offset of its data (the low 48 bits).
class ValueRep {
  public:
    static constexpr std::uint64_t kArrayBit = 1ull << 63;
    static constexpr std::uint64_t kInlinedBit = 1ull << 62;
    static constexpr std::uint64_t kCompressedBit = 1ull << 61;
    static constexpr std::uint64_t kArrayEditBit = 1ull << 60;
    static constexpr std::uint64_t kPayloadMask = (1ull << 48) - 1;

    constexpr ValueRep() = default;
    constexpr explicit ValueRep(std::uint64_t bits) : bits_(bits) {}
    static constexpr ValueRep make(Type type, std::uint64_t flags, std::uint64_t payload) {
        return ValueRep(flags | (static_cast<std::uint64_t>(type) << 48) |
                        (payload & kPayloadMask));
    }

    constexpr std::uint64_t bits() const { return bits_; }
    constexpr Type type() const { return static_cast<Type>((bits_ >> 48) & 0xFF); }
    constexpr bool isArray() const { return bits_ & kArrayBit; }
    constexpr bool isInlined() const { return bits_ & kInlinedBit; }
    constexpr bool isCompressed() const { return bits_ & kCompressedBit; }
    constexpr bool isArrayEdit() const { return bits_ & kArrayEditBit; }
    constexpr std::uint64_t payload() const { return bits_ & kPayloadMask; }
    constexpr std::uint32_t inlineWord() const { return static_cast<std::uint32_t>(bits_); }

    friend constexpr bool operator==(ValueRep, ValueRep) = default;

  private:
    std::uint64_t bits_ = 0;
};

} // namespace usd::crate
