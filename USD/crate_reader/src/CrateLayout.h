#pragma once

#include <USD/codec/ByteReader.h>
#include <USD/codec/CrateFormat.h>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace usd::crate {

struct Section {
    std::string name;
    std::uint64_t start = 0;
    std::uint64_t size = 0;
};

// The bootstrap header and table of contents of a crate file, checked against its size.
class CrateLayout {
  public:
    // Throws FormatError for a wrong signature, an unsupported version or a table of
    // contents or section that does not fit the file.
    explicit CrateLayout(std::span<const std::uint8_t> file);

    const Version& version() const { return version_; }
    // A reader confined to the named section, positioned at its start; offsets stay absolute.
    // Throws FormatError when the file has no such section.
    ByteReader sectionReader(std::string_view name) const;

  private:
    void readBootstrap();
    void readTableOfContents(std::uint64_t tocOffset);

    std::span<const std::uint8_t> file_;
    Version version_;
    std::vector<Section> sections_;
};

} // namespace usd::crate
