#pragma once

#include <USD/layer/Half.h>
#include <USD/layer/Path.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The plain data types a layer value can hold, besides the standard scalars and strings.
namespace usd {

// An interned name: type names, prim names, allowed tokens. Distinct from a free string.
struct Token {
    std::string text;
    friend auto operator<=>(const Token&, const Token&) = default;
};

struct AssetPath {
    std::string path;
    friend auto operator<=>(const AssetPath&, const AssetPath&) = default;
};

struct PathExpression {
    std::string text;
    friend auto operator<=>(const PathExpression&, const PathExpression&) = default;
};

struct TimeCode {
    double time = 0.0;
    friend auto operator<=>(const TimeCode&, const TimeCode&) = default;
};

// Components in file order; memory layout matches the crate's raw array layout.
using Vec2d = std::array<double, 2>;
using Vec2f = std::array<float, 2>;
using Vec2h = std::array<Half, 2>;
using Vec2i = std::array<std::int32_t, 2>;
using Vec3d = std::array<double, 3>;
using Vec3f = std::array<float, 3>;
using Vec3h = std::array<Half, 3>;
using Vec3i = std::array<std::int32_t, 3>;
using Vec4d = std::array<double, 4>;
using Vec4f = std::array<float, 4>;
using Vec4h = std::array<Half, 4>;
using Vec4i = std::array<std::int32_t, 4>;

// The imaginary part first, then the real part, as stored in files.
template <typename T> struct Quat {
    std::array<T, 3> imaginary{};
    T real{};
    friend bool operator==(const Quat&, const Quat&) = default;
};
using Quatd = Quat<double>;
using Quatf = Quat<float>;
using Quath = Quat<Half>;

// Row-major; USD uses row vectors, so a 4x4 transform keeps its translation in [12..14].
template <std::size_t N> struct Matrix {
    std::array<double, N * N> rowMajor{};

    static Matrix identity() {
        Matrix m;
        for (std::size_t i = 0; i < N; ++i) {
            m.rowMajor[i * N + i] = 1.0;
        }
        return m;
    }
    friend bool operator==(const Matrix&, const Matrix&) = default;
};
using Matrix2d = Matrix<2>;
using Matrix3d = Matrix<3>;
using Matrix4d = Matrix<4>;

enum class Specifier : std::uint8_t { Def = 0, Over = 1, Class = 2 };
enum class Permission : std::uint8_t { Public = 0, Private = 1 };
enum class Variability : std::uint8_t { Varying = 0, Uniform = 1 };

// Marks an opinion as explicitly blocked ("None" in text form).
struct ValueBlock {
    friend bool operator==(ValueBlock, ValueBlock) = default;
};

struct LayerOffset {
    double offset = 0.0;
    double scale = 1.0;
    friend bool operator==(const LayerOffset&, const LayerOffset&) = default;
};

struct Payload {
    std::string assetPath; // empty for an internal payload
    Path primPath;         // empty when the target's default prim is meant
    LayerOffset layerOffset;
    friend bool operator==(const Payload&, const Payload&) = default;
};

struct Relocate {
    Path source;
    Path target;
    friend bool operator==(const Relocate&, const Relocate&) = default;
};

// The list edits one layer applies to a list-valued field. An explicit list op replaces
// weaker opinions with its explicit items (possibly none) instead of editing them.
template <typename T> struct ListOp {
    bool isExplicit = false;
    std::vector<T> explicitItems;
    std::vector<T> addedItems;
    std::vector<T> prependedItems;
    std::vector<T> appendedItems;
    std::vector<T> deletedItems;
    std::vector<T> orderedItems;

    static ListOp makeExplicit(std::vector<T> items) {
        ListOp op;
        op.isExplicit = true;
        op.explicitItems = std::move(items);
        return op;
    }
    static ListOp makePrepended(std::vector<T> items) {
        ListOp op;
        op.prependedItems = std::move(items);
        return op;
    }
    bool operator==(const ListOp&) const;
};

// A list-valued metadata field (children names, sublayers, ...). Kept apart from value
// arrays because files distinguish the two.
template <typename T> struct ItemVector {
    std::vector<T> items;
    bool operator==(const ItemVector&) const;
};
using TokenVector = ItemVector<Token>;
using StringVector = ItemVector<std::string>;
using PathVector = ItemVector<Path>;
using DoubleVector = ItemVector<double>;
using LayerOffsetVector = ItemVector<LayerOffset>;
using Relocates = ItemVector<Relocate>;

// Defined out of line so that ListOp and ItemVector also work for Value, which is
// incomplete where these templates are declared.
template <typename T> bool ListOp<T>::operator==(const ListOp& other) const {
    return isExplicit == other.isExplicit && explicitItems == other.explicitItems &&
           addedItems == other.addedItems && prependedItems == other.prependedItems &&
           appendedItems == other.appendedItems && deletedItems == other.deletedItems &&
           orderedItems == other.orderedItems;
}

template <typename T> bool ItemVector<T>::operator==(const ItemVector& other) const {
    return items == other.items;
}

} // namespace usd
