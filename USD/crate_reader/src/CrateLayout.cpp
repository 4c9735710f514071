#include "CrateLayout.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace usd::crate {

namespace {

std::string sectionName(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

} // namespace

CrateLayout::CrateLayout(std::span<const std::uint8_t> file) : file_(file) {
    readBootstrap();
}

void CrateLayout::readBootstrap() {
    if (file_.size() < kBootstrapSize) {
        throw FormatError("not a crate file: " + std::to_string(file_.size()) +
                          " bytes is shorter than the " + std::to_string(kBootstrapSize) +
                          "-byte header");
    }
    if (std::memcmp(file_.data(), kMagic.data(), kMagic.size()) != 0) {
        throw FormatError("not a crate file: the PXR-USDC signature is missing");
    }
    version_ = Version{file_[8], file_[9], file_[10]};
    // Patch releases never change the layout, so only major and minor are compared.
    if (version_.major != kNewestReadableVersion.major ||
        version_.minor > kNewestReadableVersion.minor) {
        throw FormatError("crate version " + version_.text() +
                          " is newer than this reader supports (" + kNewestReadableVersion.text() +
                          ")");
    }
    ByteReader header(file_, 16);
    const auto tocOffset = header.read<std::int64_t>();
    if (tocOffset < static_cast<std::int64_t>(kBootstrapSize) ||
        static_cast<std::uint64_t>(tocOffset) >= file_.size()) {
        throw FormatError("table of contents offset " + std::to_string(tocOffset) +
                          " lies outside the file (" + std::to_string(file_.size()) +
                          " bytes); the file is truncated or corrupt");
    }
    readTableOfContents(static_cast<std::uint64_t>(tocOffset));
}

void CrateLayout::readTableOfContents(std::uint64_t tocOffset) {
    ByteReader toc(file_, tocOffset);
    const auto count = toc.read<std::uint64_t>();
    toc.requireElements(count, kSectionRecordSize);
    for (std::uint64_t i = 0; i < count; ++i) {
        Section section;
        section.name = sectionName(toc.readBytes(kSectionNameSize));
        const auto start = toc.read<std::int64_t>();
        const auto size = toc.read<std::int64_t>();
        if (start < 0 || size < 0 || static_cast<std::uint64_t>(start) > file_.size() ||
            static_cast<std::uint64_t>(size) > file_.size() - static_cast<std::uint64_t>(start)) {
            throw FormatError("section " + section.name + " (offset " + std::to_string(start) +
                              ", " + std::to_string(size) + " bytes) does not fit the file (" +
                              std::to_string(file_.size()) + " bytes)");
        }
        section.start = static_cast<std::uint64_t>(start);
        section.size = static_cast<std::uint64_t>(size);
        sections_.push_back(std::move(section));
    }
}

ByteReader CrateLayout::sectionReader(std::string_view name) const {
    const auto it = std::find_if(sections_.begin(), sections_.end(),
                                 [&](const Section& section) { return section.name == name; });
    if (it == sections_.end()) {
        throw FormatError("crate file has no " + std::string(name) + " section");
    }
    return ByteReader(file_.first(it->start + it->size), it->start);
}

} // namespace usd::crate
