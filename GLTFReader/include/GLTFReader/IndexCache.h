#pragma once

#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gltf {

// "<operation>: out of index: <index> < <count>", the one message every index check shares.
std::string outOfIndexMessage(std::string_view operationName, std::int64_t index,
                              std::size_t count);

// One lazily filled slot per element of a document array. A loader asks for index i; the
// first request builds the object and keeps it, later requests return the kept object.
template <class T> class IndexCache {
  public:
    // One empty slot per element of the document array; none when the array is absent, so
    // that every index is out of range.
    void resize(std::size_t count) { slots_.assign(count, std::nullopt); }

    std::size_t size() const { return slots_.size(); }

    // Negative indices are refused like those past the end.
    std::size_t checkIndex(std::int64_t index, std::string_view operationName) const {
        if (index < 0 || static_cast<std::uint64_t>(index) >= slots_.size()) {
            throw GLTFUnarchiveError::dataInconsistent(
                outOfIndexMessage(operationName, index, slots_.size()));
        }
        return static_cast<std::size_t>(index);
    }

    // The object kept at `index`, or null when the index is out of range or nothing has been
    // loaded there; never loads.
    const T* loaded(std::int64_t index) const {
        if (index < 0 || static_cast<std::uint64_t>(index) >= slots_.size()) {
            return nullptr;
        }
        const std::optional<T>& slot = slots_[static_cast<std::size_t>(index)];
        return slot ? &*slot : nullptr;
    }

    // `build()` makes the object (and fails with the loader's own messages, such as the
    // "is not defined" one); `afterStore(object)` runs once the object is kept, which is
    // where a loader runs the record's post-load hook. A failed build leaves the slot empty.
    // The slot is returned for loaders that fill it in steps (the sampler groups of an
    // animation).
    template <class Build, class AfterStore>
    T& load(std::int64_t index, std::string_view operationName, Build&& build,
            AfterStore&& afterStore) {
        std::optional<T>& slot = slots_[checkIndex(index, operationName)];
        if (!slot) {
            slot.emplace(std::forward<Build>(build)());
            std::forward<AfterStore>(afterStore)(*slot);
        }
        return *slot;
    }

    template <class Build>
    T& load(std::int64_t index, std::string_view operationName, Build&& build) {
        return load(index, operationName, std::forward<Build>(build), [](const T&) {});
    }

  private:
    std::vector<std::optional<T>> slots_;
};

} // namespace gltf
