#include "OscShape.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int DeepestBundle = 8;
constexpr std::size_t Word = 4;
constexpr std::size_t BundleHeader = 16;  // "#bundle\0" and the time tag

std::size_t roundUp(std::size_t n) { return (n + Word - 1) / Word * Word; }

std::uint32_t bigEndian32(const char* at) {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

// The length of a padded string starting at `at`, or 0 when it does not end
// within the packet or its padding is not all zero bytes. The library finds
// a string's end by looking only at the last byte of each word, so a string
// padded with anything else ends elsewhere for it than here.
std::size_t paddedString(const char* data, std::size_t size, std::size_t at) {
    if (at >= size) return 0;
    const void* found = std::memchr(data + at, '\0', size - at);
    if (!found) return 0;
    const std::size_t terminator = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    const std::size_t end = at + roundUp(terminator - at + 1);
    if (end > size) return 0;
    for (std::size_t i = terminator; i < end; ++i) {
        if (data[i] != '\0') return 0;
    }
    return end - at;
}

// The bytes an argument of this type takes at `at`, or 0 for none that fit
// (an argument of no bytes is given as 0 too, and told apart by its type).
bool argumentFits(char tag, const char* data, std::size_t size, std::size_t& at) {
    switch (tag) {
        case 'i':
        case 'f':
        case 'c':
        case 'r':
        case 'm':
            at += Word;
            return at <= size;
        case 'h':
        case 't':
        case 'd':
            at += 2 * Word;
            return at <= size;
        case 's':
        case 'S': {
            const std::size_t length = paddedString(data, size, at);
            at += length;
            return length > 0;
        }
        case 'b': {
            if (at + Word > size) return false;
            const std::uint32_t length = bigEndian32(data + at);
            at += Word;
            if (length > size - at) return false;
            at += roundUp(length);
            return at <= size;
        }
        case 'T':
        case 'F':
        case 'N':
        case 'I':
        case '[':
        case ']':
            return true;
        default:
            return false;  // a type whose size is unknown cannot be stepped over
    }
}

bool isSoundMessage(const char* data, std::size_t size) {
    const std::size_t address = paddedString(data, size, 0);
    if (address == 0 || address >= size || data[address] != ',') return false;
    const std::size_t tags = paddedString(data, size, address);
    if (tags == 0) return false;
    std::size_t at = address + tags;
    for (const char* tag = data + address + 1; *tag != '\0'; ++tag) {
        if (!argumentFits(*tag, data, size, at)) return false;
    }
    return at <= size;
}

bool isSoundElement(const char* data, std::size_t size, int depth);

bool isSoundBundle(const char* data, std::size_t size, int depth) {
    if (depth > DeepestBundle || size < BundleHeader) return false;
    for (std::size_t at = BundleHeader; at < size;) {
        if (at + Word > size) return false;
        const std::uint32_t length = bigEndian32(data + at);
        at += Word;
        if (length == 0 || length % Word != 0 || length > size - at) return false;
        if (!isSoundElement(data + at, length, depth + 1)) return false;
        at += length;
    }
    return true;
}

bool isSoundElement(const char* data, std::size_t size, int depth) {
    if (size == 0 || size % Word != 0) return false;
    if (size >= 8 && std::memcmp(data, "#bundle", 8) == 0) return isSoundBundle(data, size, depth);
    return data[0] == '/' && isSoundMessage(data, size);
}

}  // namespace

bool isSoundOsc(const char* data, std::size_t size) { return isSoundElement(data, size, 0); }
