#include <USD/codec/ByteReader.h>
#include <string>

namespace usd {

namespace {

[[noreturn]] void throwPastEnd(std::size_t position, std::uint64_t wanted, std::size_t left) {
    throw FormatError("data ends early at offset " + std::to_string(position) + ": " +
                      std::to_string(wanted) + " bytes needed, " + std::to_string(left) + " left");
}

} // namespace

ByteReader::ByteReader(std::span<const std::uint8_t> data, std::size_t position)
    : data_(data), position_(0) {
    seek(position);
}

void ByteReader::seek(std::uint64_t offset) {
    if (offset > data_.size()) {
        throw FormatError("offset " + std::to_string(offset) + " lies outside the data (" +
                          std::to_string(data_.size()) + " bytes)");
    }
    position_ = static_cast<std::size_t>(offset);
}

void ByteReader::requireElements(std::uint64_t count, std::size_t elementSize) const {
    if (count > remaining() / elementSize) {
        const std::uint64_t wanted =
            count > UINT64_MAX / elementSize ? UINT64_MAX : count * elementSize;
        throwPastEnd(position_, wanted, remaining());
    }
}

std::span<const std::uint8_t> ByteReader::take(std::uint64_t count) {
    if (count > remaining()) {
        throwPastEnd(position_, count, remaining());
    }
    const auto bytes = data_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return bytes;
}

} // namespace usd
