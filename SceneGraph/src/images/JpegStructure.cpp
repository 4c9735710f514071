#include "images/JpegStructure.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace scene::detail {
namespace {

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kDefineHuffmanTables = 0xC4;
constexpr std::uint8_t kDefineQuantizationTables = 0xDB;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::size_t kMaxCodes = 256;
constexpr std::size_t kTableSlots = 4;
constexpr std::size_t kDcClass = 0;
constexpr std::size_t kAcClass = 1;

// Markers that stand alone, without a length: the start of the image, restarts and TEM.
bool standsAlone(std::uint8_t marker) {
    return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The frames the decoder reads: baseline, extended and progressive, all Huffman-coded.
bool startsFrame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xC2;
}

// Where the next marker starts after entropy-coded data at `at`: there a marker byte is always
// followed by zero (a stuffed byte) or a restart.
std::size_t afterEntropyCodedData(std::span<const std::uint8_t> jpeg, std::size_t at) {
    for (; at + 1 < jpeg.size(); ++at) {
        const std::uint8_t next = jpeg[at + 1];
        if (jpeg[at] == kMarkerStart && next != 0 && !(next >= 0xD0 && next <= 0xD7))
            return at;
    }
    return jpeg.size();
}

struct Component {
    std::size_t id;
    std::size_t quantizationTable;
    bool coded = false;
};

// Follows the segments in the order the decoder reads them and keeps which tables each scan
// finds defined.
class JpegWalk {
  public:
    explicit JpegWalk(std::span<const std::uint8_t> jpeg) : jpeg_(jpeg) {}

    JpegFaults run() {
        std::size_t at = 2; // after the start of the image
        while (at + 1 < jpeg_.size()) {
            if (jpeg_[at] != kMarkerStart) {
                ++at; // padding after a segment, which the decoder skips to find the next marker
                continue;
            }
            const std::uint8_t marker = jpeg_[at + 1];
            at += 2;
            if (marker == kMarkerStart) {
                --at; // fill bytes before a marker
                continue;
            }
            if (marker == kEndOfImage) {
                noteUncodedComponent();
                break;
            }
            if (standsAlone(marker))
                continue;
            if (at + 2 > jpeg_.size())
                break;
            const std::size_t length = std::size_t{jpeg_[at]} << 8 | jpeg_[at + 1];
            if (length < 2)
                break;
            if (marker == kDefineHuffmanTables) {
                const std::optional<std::size_t> end = readHuffmanTables(at + 2, length - 2);
                if (!end)
                    return {.huffmanTableOverflows = true, .undecodable = {}};
                at = *end;
                continue;
            }
            if (at + length > jpeg_.size())
                break;
            readSegment(marker, at + 2, length - 2);
            at += length;
            if (marker == kStartOfScan)
                at = afterEntropyCodedData(jpeg_, at);
        }
        return {.huffmanTableOverflows = false, .undecodable = undecodable_};
    }

  private:
    std::size_t byteAt(std::size_t index) const { return index < jpeg_.size() ? jpeg_[index] : 0; }

    void readSegment(std::uint8_t marker, std::size_t at, std::size_t length) {
        if (marker == kDefineQuantizationTables)
            readQuantizationTables(at, length);
        else if (startsFrame(marker) && components_.empty())
            readFrame(at, marker == 0xC2);
        else if (marker == kStartOfScan)
            readScan(at);
    }

    // Reads the tables of the DHT segment whose contents start at `at` as the decoder does:
    // while the segment's declared length lasts, each table whole, even past the segment's end
    // (and past the file's end, where bytes read as zero). Returns where the decoder's reading
    // ends, or nothing when a table declares too many codes.
    std::optional<std::size_t> readHuffmanTables(std::size_t at, std::size_t length) {
        const std::size_t end = at + length;
        while (at < end) {
            const std::size_t slot = byteAt(at);
            if ((slot >> 4) > 1 || (slot & 15) >= kTableSlots)
                return jpeg_.size(); // the decoder refuses the table itself
            std::size_t codes = 0;
            for (std::size_t bits = 1; bits <= 16; ++bits)
                codes += byteAt(at + bits);
            if (codes > kMaxCodes)
                return std::nullopt;
            huffmanDefined_[slot >> 4][slot & 15] = true;
            at += 17 + codes;
        }
        return at;
    }

    void readQuantizationTables(std::size_t at, std::size_t length) {
        const std::size_t end = at + length;
        while (at < end) {
            const std::size_t precision = byteAt(at) >> 4;
            const std::size_t slot = byteAt(at) & 15;
            if (precision > 1 || slot >= kTableSlots)
                return; // the decoder refuses the table itself
            quantizationDefined_[slot] = true;
            at += 1 + (precision == 0 ? 64 : 128);
        }
    }

    void readFrame(std::size_t at, bool progressive) {
        progressive_ = progressive;
        const std::size_t count = byteAt(at + 5);
        for (std::size_t index = 0; index < count; ++index) {
            const std::size_t component = at + 6 + 3 * index;
            components_.push_back({byteAt(component), byteAt(component + 2)});
        }
    }

    // A progressive file codes each coefficient band in scans of its own: the first pass over
    // the DC coefficients uses a DC table, the AC bands an AC table, and later DC passes none.
    // The first DC pass sets a component's every block.
    void readScan(std::size_t at) {
        const std::size_t count = byteAt(at);
        const std::size_t spectralStart = byteAt(at + 1 + 2 * count);
        const std::size_t approximationHigh = byteAt(at + 3 + 2 * count) >> 4;
        const bool usesDc = !progressive_ || (spectralStart == 0 && approximationHigh == 0);
        const bool usesAc = !progressive_ || spectralStart > 0;
        for (std::size_t index = 0; index < count; ++index) {
            const std::size_t id = byteAt(at + 1 + 2 * index);
            const std::size_t tables = byteAt(at + 2 + 2 * index);
            const auto component = std::ranges::find(components_, id, &Component::id);
            if (component == components_.end())
                continue; // the decoder refuses the scan
            if ((usesDc && !huffmanDefined(kDcClass, tables >> 4)) ||
                (usesAc && !huffmanDefined(kAcClass, tables & 15)))
                note("a scan uses a Huffman table the file does not define before it");
            if (!defined(quantizationDefined_, component->quantizationTable))
                note("a scan uses a quantization table the file does not define before it");
            component->coded = component->coded || usesDc;
        }
    }

    void noteUncodedComponent() {
        if (std::ranges::any_of(components_, [](const Component& c) { return !c.coded; }))
            note("a colour component of the image is in no scan");
    }

    static bool defined(const std::array<bool, kTableSlots>& tables, std::size_t slot) {
        return slot < kTableSlots && tables[slot];
    }
    bool huffmanDefined(std::size_t tableClass, std::size_t slot) const {
        return defined(huffmanDefined_[tableClass], slot);
    }

    void note(std::string_view fault) {
        if (undecodable_.empty())
            undecodable_ = fault;
    }

    std::span<const std::uint8_t> jpeg_;
    std::array<std::array<bool, kTableSlots>, 2> huffmanDefined_{};
    std::array<bool, kTableSlots> quantizationDefined_{};
    std::vector<Component> components_;
    bool progressive_ = false;
    std::string_view undecodable_;
};

} // namespace

JpegFaults inspectJpeg(std::span<const std::uint8_t> jpeg) {
    return JpegWalk(jpeg).run();
}

} // namespace scene::detail
