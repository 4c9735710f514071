#pragma once

#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

namespace gltf::testing {

// The exception of type Error that `action` throws; a test failure when it throws nothing.
template <class Error, class Action> Error thrownBy(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "expected an exception, none was thrown";
    throw std::logic_error("expected an exception");
}

} // namespace gltf::testing
