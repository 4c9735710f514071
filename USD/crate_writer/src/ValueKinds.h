#pragma once

#include <USD/layer/Value.h>
#include <type_traits>

namespace usd::crate {

template <typename T> inline constexpr bool isArray = false;
template <typename T> inline constexpr bool isArray<Array<T>> = true;

template <typename T> inline constexpr bool isListOp = false;
template <typename T> inline constexpr bool isListOp<ListOp<T>> = true;

} // namespace usd::crate
