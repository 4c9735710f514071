#include <USD/ar_check/PackageCheck.h>
#include <cstddef>
#include <cstdint>

// Any input must come out as a verdict: the checker reports what it cannot read as a broken
// rule and never throws; the sanitizers catch every look past what the archive holds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const usd::ar::PackageVerdict verdict = usd::ar::checkPackageBytes({data, size});
    if (verdict.passes() && verdict.problemCount() != 0)
        __builtin_trap();
    return 0;
}
