#pragma once

#include <string>

namespace scene::detail {

/// The shortest decimal text that reads back as the same double ("1", "0.5", "inf").
std::string formatNumber(double number);

/// "(a, b, c)" for any number of components.
template <class Vector> std::string formatComponents(const Vector& vector, int count) {
    std::string text = "(";
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : ", ") + formatNumber(vector[i]);
    }
    return text + ")";
}

} // namespace scene::detail
