#pragma once

#include <USD/codec/CrateFormat.h>
#include <USD/layer/Value.h>
#include <optional>
#include <type_traits>

// Which value type stands for which crate type number, for the types that exist both as
// scalars and as arrays.
namespace usd::crate {

template <typename T> struct ElementType;
#define USD_CRATE_ELEMENT_TYPE(CppType, CrateType)                                                 \
    template <> struct ElementType<CppType> { static constexpr Type type = Type::CrateType; };
USD_CRATE_ELEMENT_TYPE(bool, Bool)
USD_CRATE_ELEMENT_TYPE(std::uint8_t, UChar)
USD_CRATE_ELEMENT_TYPE(std::int32_t, Int)
USD_CRATE_ELEMENT_TYPE(std::uint32_t, UInt)
USD_CRATE_ELEMENT_TYPE(std::int64_t, Int64)
USD_CRATE_ELEMENT_TYPE(std::uint64_t, UInt64)
USD_CRATE_ELEMENT_TYPE(Half, Half)
USD_CRATE_ELEMENT_TYPE(float, Float)
USD_CRATE_ELEMENT_TYPE(double, Double)
USD_CRATE_ELEMENT_TYPE(std::string, String)
USD_CRATE_ELEMENT_TYPE(Token, Token)
USD_CRATE_ELEMENT_TYPE(AssetPath, AssetPath)
USD_CRATE_ELEMENT_TYPE(Matrix2d, Matrix2d)
USD_CRATE_ELEMENT_TYPE(Matrix3d, Matrix3d)
USD_CRATE_ELEMENT_TYPE(Matrix4d, Matrix4d)
USD_CRATE_ELEMENT_TYPE(Quatd, Quatd)
USD_CRATE_ELEMENT_TYPE(Quatf, Quatf)
USD_CRATE_ELEMENT_TYPE(Quath, Quath)
USD_CRATE_ELEMENT_TYPE(Vec2d, Vec2d)
USD_CRATE_ELEMENT_TYPE(Vec2f, Vec2f)
USD_CRATE_ELEMENT_TYPE(Vec2h, Vec2h)
USD_CRATE_ELEMENT_TYPE(Vec2i, Vec2i)
USD_CRATE_ELEMENT_TYPE(Vec3d, Vec3d)
USD_CRATE_ELEMENT_TYPE(Vec3f, Vec3f)
USD_CRATE_ELEMENT_TYPE(Vec3h, Vec3h)
USD_CRATE_ELEMENT_TYPE(Vec3i, Vec3i)
USD_CRATE_ELEMENT_TYPE(Vec4d, Vec4d)
USD_CRATE_ELEMENT_TYPE(Vec4f, Vec4f)
USD_CRATE_ELEMENT_TYPE(Vec4h, Vec4h)
USD_CRATE_ELEMENT_TYPE(Vec4i, Vec4i)
USD_CRATE_ELEMENT_TYPE(TimeCode, TimeCode)
USD_CRATE_ELEMENT_TYPE(PathExpression, PathExpression)
#undef USD_CRATE_ELEMENT_TYPE

// Calls visitor(std::type_identity<T>{}) with the element type numbered type and returns
// its result, or returns std::nullopt when type has no scalar/array element type.
template <typename Visitor> auto visitElementType(Type type, Visitor&& visitor) {
    using Result = decltype(visitor(std::type_identity<bool>{}));
    std::optional<Result> result;
    const auto tryType = [&]<typename T>(std::type_identity<T> identity) {
        if (!result && ElementType<T>::type == type) {
            result.emplace(visitor(identity));
        }
    };
#define USD_TRY_ELEMENT_TYPE(T) tryType(std::type_identity<T>{});
    USD_FOR_EACH_ELEMENT_TYPE(USD_TRY_ELEMENT_TYPE)
#undef USD_TRY_ELEMENT_TYPE
    return result;
}

} // namespace usd::crate
