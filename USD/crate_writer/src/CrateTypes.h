#pragma once

// Which crate value type stores each kind of layer value.

#include <USD/codec/CrateFormat.h>
#include <USD/layer/Value.h>
#include <type_traits>

namespace usd::crate {

template <typename T> constexpr Type crateTypeOf() {
    // clang-format off
    if constexpr (std::is_same_v<T, bool>) return Type::Bool;
    else if constexpr (std::is_same_v<T, std::uint8_t>) return Type::UChar;
    else if constexpr (std::is_same_v<T, std::int32_t>) return Type::Int;
    else if constexpr (std::is_same_v<T, std::uint32_t>) return Type::UInt;
    else if constexpr (std::is_same_v<T, std::int64_t>) return Type::Int64;
    else if constexpr (std::is_same_v<T, std::uint64_t>) return Type::UInt64;
    else if constexpr (std::is_same_v<T, Half>) return Type::Half;
    else if constexpr (std::is_same_v<T, float>) return Type::Float;
    else if constexpr (std::is_same_v<T, double>) return Type::Double;
    else if constexpr (std::is_same_v<T, std::string>) return Type::String;
    else if constexpr (std::is_same_v<T, Token>) return Type::Token;
    else if constexpr (std::is_same_v<T, AssetPath>) return Type::AssetPath;
    else if constexpr (std::is_same_v<T, Matrix2d>) return Type::Matrix2d;
    else if constexpr (std::is_same_v<T, Matrix3d>) return Type::Matrix3d;
    else if constexpr (std::is_same_v<T, Matrix4d>) return Type::Matrix4d;
    else if constexpr (std::is_same_v<T, Quatd>) return Type::Quatd;
    else if constexpr (std::is_same_v<T, Quatf>) return Type::Quatf;
    else if constexpr (std::is_same_v<T, Quath>) return Type::Quath;
    else if constexpr (std::is_same_v<T, Vec2d>) return Type::Vec2d;
    else if constexpr (std::is_same_v<T, Vec2f>) return Type::Vec2f;
    else if constexpr (std::is_same_v<T, Vec2h>) return Type::Vec2h;
    else if constexpr (std::is_same_v<T, Vec2i>) return Type::Vec2i;
    else if constexpr (std::is_same_v<T, Vec3d>) return Type::Vec3d;
    else if constexpr (std::is_same_v<T, Vec3f>) return Type::Vec3f;
    else if constexpr (std::is_same_v<T, Vec3h>) return Type::Vec3h;
    else if constexpr (std::is_same_v<T, Vec3i>) return Type::Vec3i;
    else if constexpr (std::is_same_v<T, Vec4d>) return Type::Vec4d;
    else if constexpr (std::is_same_v<T, Vec4f>) return Type::Vec4f;
    else if constexpr (std::is_same_v<T, Vec4h>) return Type::Vec4h;
    else if constexpr (std::is_same_v<T, Vec4i>) return Type::Vec4i;
    else if constexpr (std::is_same_v<T, Dictionary>) return Type::Dictionary;
    else if constexpr (std::is_same_v<T, TokenListOp>) return Type::TokenListOp;
    else if constexpr (std::is_same_v<T, StringListOp>) return Type::StringListOp;
    else if constexpr (std::is_same_v<T, PathListOp>) return Type::PathListOp;
    else if constexpr (std::is_same_v<T, ReferenceListOp>) return Type::ReferenceListOp;
    else if constexpr (std::is_same_v<T, IntListOp>) return Type::IntListOp;
    else if constexpr (std::is_same_v<T, Int64ListOp>) return Type::Int64ListOp;
    else if constexpr (std::is_same_v<T, UIntListOp>) return Type::UIntListOp;
    else if constexpr (std::is_same_v<T, UInt64ListOp>) return Type::UInt64ListOp;
    else if constexpr (std::is_same_v<T, PathVector>) return Type::PathVector;
    else if constexpr (std::is_same_v<T, TokenVector>) return Type::TokenVector;
    else if constexpr (std::is_same_v<T, Specifier>) return Type::Specifier;
    else if constexpr (std::is_same_v<T, Permission>) return Type::Permission;
    else if constexpr (std::is_same_v<T, Variability>) return Type::Variability;
    else if constexpr (std::is_same_v<T, VariantSelectionMap>) return Type::VariantSelectionMap;
    else if constexpr (std::is_same_v<T, TimeSamples>) return Type::TimeSamples;
    else if constexpr (std::is_same_v<T, Payload>) return Type::Payload;
    else if constexpr (std::is_same_v<T, DoubleVector>) return Type::DoubleVector;
    else if constexpr (std::is_same_v<T, LayerOffsetVector>) return Type::LayerOffsetVector;
    else if constexpr (std::is_same_v<T, StringVector>) return Type::StringVector;
    else if constexpr (std::is_same_v<T, ValueBlock>) return Type::ValueBlock;
    else if constexpr (std::is_same_v<T, UnregisteredValueListOp>) return Type::UnregisteredValueListOp;
    else if constexpr (std::is_same_v<T, PayloadListOp>) return Type::PayloadListOp;
    else if constexpr (std::is_same_v<T, TimeCode>) return Type::TimeCode;
    else if constexpr (std::is_same_v<T, PathExpression>) return Type::PathExpression;
    else if constexpr (std::is_same_v<T, Relocates>) return Type::Relocates;
    else return Type::Invalid;
    // clang-format on
}

// The oldest file version able to hold values of this type.
template <typename T> constexpr Version versionNeededFor() {
    constexpr Type type = crateTypeOf<T>();
    if constexpr (type == Type::TimeCode)
        return {0, 9, 0};
    else if constexpr (type == Type::PathExpression)
        return {0, 10, 0};
    else if constexpr (type == Type::Relocates)
        return {0, 11, 0};
    else
        return kWrittenVersion;
}

} // namespace usd::crate
