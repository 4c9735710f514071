#include "ArrayValues.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <numeric>

namespace usd::crate {
namespace {

// Below this file size a second thread costs more than it saves.
constexpr std::uint64_t kFileBytesWorthAThread = std::uint64_t{4} << 20;
// Decoding a compressed array's byte takes a few times longer than copying a raw one's.
constexpr std::uint64_t kCompressedCostFactor = 3;

// The reps' numbers, costliest first. Arrays lie one after another in the file, so the bytes up
// to the next one's start stand for each one's size.
std::vector<std::size_t> costliestFirst(std::span<const ValueRep> reps, std::uint64_t fileSize) {
    std::vector<std::size_t> byOffset(reps.size());
    std::iota(byOffset.begin(), byOffset.end(), std::size_t{0});
    std::ranges::sort(byOffset, {}, [&](std::size_t i) { return reps[i].payload(); });
    std::vector<std::uint64_t> costs(reps.size(), 0);
    for (std::size_t k = 0; k < byOffset.size(); ++k) {
        const ValueRep rep = reps[byOffset[k]];
        const std::uint64_t end =
            k + 1 < byOffset.size() ? reps[byOffset[k + 1]].payload() : fileSize;
        const std::uint64_t bytes = end > rep.payload() ? end - rep.payload() : 0;
        costs[byOffset[k]] = bytes * (rep.isCompressed() ? kCompressedCostFactor : 1);
    }
    std::vector<std::size_t> order(reps.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::ranges::stable_sort(order, std::greater{}, [&](std::size_t i) { return costs[i]; });
    return order;
}

} // namespace

bool isStoredArray(ValueRep rep) {
    return rep.isArray() && !rep.isInlined() && !rep.isArrayEdit();
}

std::vector<DecodedArray> decodeArrays(std::span<const ValueRep> reps, std::uint64_t fileSize,
                                       const std::function<ValueDecoder()>& makeDecoder) {
    std::vector<DecodedArray> decoded(reps.size());
    const std::vector<std::size_t> order = costliestFirst(reps, fileSize);
    std::atomic<std::size_t> next{0};
    // Each thread takes the costliest array left, so the two finish close together.
    const auto decodeRemaining = [&] {
        ValueDecoder decoder = makeDecoder();
        for (std::size_t k = next++; k < order.size(); k = next++) {
            DecodedArray& result = decoded[order[k]];
            try {
                result.value = decoder.decode(reps[order[k]]);
            } catch (const DecodeLimitExceeded&) {
                throw;
            } catch (const FormatError& error) {
                result.error = error.what();
            }
        }
    };
    const bool worthAThread = fileSize >= kFileBytesWorthAThread && reps.size() > 1;
    auto second =
        std::async(worthAThread ? std::launch::async : std::launch::deferred, decodeRemaining);
    decodeRemaining();
    second.get();
    return decoded;
}

} // namespace usd::crate
