#include "PropertyListLimits.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace NS::plistlimits {
namespace {

std::uint64_t bigEndian(const unsigned char* p, unsigned size) {
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i) v = (v << 8) | p[i];
    return v;
}

// The layout of a binary property list, read from its trailer.
struct BinaryLayout {
    const unsigned char* data;
    std::uint64_t tableOffset;  // objects lie in [8, tableOffset)
    unsigned offsetSize;
    unsigned refSize;
    std::uint64_t objectCount;

    std::uint64_t objectOffset(std::uint64_t index) const {
        return bigEndian(data + tableOffset + index * offsetSize, offsetSize);
    }

    // The count of an object whose marker's low nibble is 0xF is the integer
    // that follows the marker. False when it lies out of bounds.
    bool readCount(std::uint64_t& p, std::uint64_t& n) const {
        if (n != 0xF) return true;
        if (p >= tableOffset) return false;
        unsigned intMarker = data[p];
        if ((intMarker >> 4) != 0x1 || (intMarker & 0xF) > 3) return false;
        unsigned bytes = 1u << (intMarker & 0xF);
        if (p + 1 + bytes > tableOffset) return false;
        n = bigEndian(data + p + 1, bytes);
        p += 1 + bytes;
        return true;
    }

    // A dictionary key must be a string, ASCII or UTF-16, without a zero
    // character: libplist keeps keys as C strings and aborts on one that is
    // shorter than its length.
    bool usableKey(std::uint64_t index) const {
        std::uint64_t offset = objectOffset(index);
        if (offset < 8 || offset >= tableOffset) return false;
        unsigned marker = data[offset];
        unsigned type = marker >> 4;
        if (type != 0x5 && type != 0x6) return false;
        std::uint64_t p = offset + 1;
        std::uint64_t n = marker & 0xF;
        if (!readCount(p, n)) return false;
        std::uint64_t unit = type == 0x5 ? 1 : 2;
        if (n > (tableOffset - p) / unit) return false;
        for (std::uint64_t i = 0; i < n; ++i) {
            bool zero = unit == 1 ? data[p + i] == 0 : (data[p + 2 * i] == 0 && data[p + 2 * i + 1] == 0);
            if (zero) return false;
        }
        return true;
    }

    // The references an object holds (a dictionary's keys, then its values).
    // False when the object or its references lie out of bounds.
    bool references(std::uint64_t index, const unsigned char*& refs, std::uint64_t& count) const {
        std::uint64_t offset = objectOffset(index);
        if (offset < 8 || offset >= tableOffset) return false;
        unsigned marker = data[offset];
        unsigned type = marker >> 4;
        count = 0;
        refs = nullptr;
        // Arrays, ordered sets, sets and dictionaries hold references.
        if (type != 0xA && type != 0xB && type != 0xC && type != 0xD) return true;
        std::uint64_t p = offset + 1;
        std::uint64_t n = marker & 0xF;
        if (!readCount(p, n)) return false;
        std::uint64_t room = (tableOffset - p) / refSize;
        if (n > room || (type == 0xD && n > room / 2)) return false;
        count = type == 0xD ? 2 * n : n;
        refs = data + p;
        return true;
    }
};

}  // namespace

bool binaryWithinLimits(const unsigned char* data, std::size_t length, int maxDepth, std::size_t maxValues) {
    if (length < 8 + 32 || std::memcmp(data, "bplist00", 8) != 0) return false;
    const unsigned char* trailer = data + length - 32;
    BinaryLayout layout{data, bigEndian(trailer + 24, 8), trailer[6], trailer[7], bigEndian(trailer + 8, 8)};
    const std::uint64_t top = bigEndian(trailer + 16, 8);
    const std::uint64_t trailerStart = length - 32;
    if (layout.offsetSize < 1 || layout.offsetSize > 8 || layout.refSize < 1 || layout.refSize > 8) return false;
    if (layout.objectCount == 0 || layout.objectCount > maxValues || top >= layout.objectCount) return false;
    if (layout.tableOffset < 8 || layout.tableOffset > trailerStart) return false;
    if (layout.objectCount > (trailerStart - layout.tableOffset) / layout.offsetSize) return false;

    enum : unsigned char { Unvisited, Open, Done };
    std::vector<unsigned char> mark(layout.objectCount, Unvisited);
    std::vector<std::uint32_t> height(layout.objectCount, 0);
    std::vector<std::uint64_t> values(layout.objectCount, 1);
    struct Frame {
        std::uint64_t object;
        const unsigned char* refs;
        std::uint64_t count;
        std::uint64_t next;
        bool dictionary;
    };
    std::vector<Frame> stack;
    auto enter = [&](std::uint64_t object) {
        Frame f{object, nullptr, 0, 0, false};
        if (!layout.references(object, f.refs, f.count)) return false;
        // references() has checked that the object's offset is in bounds.
        f.dictionary = (data[layout.objectOffset(object)] >> 4) == 0xD;
        mark[object] = Open;
        stack.push_back(f);
        return stack.size() <= static_cast<std::size_t>(maxDepth) + 1;
    };
    if (!enter(top)) return false;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next < f.count) {
            std::uint64_t child = bigEndian(f.refs + f.next * layout.refSize, layout.refSize);
            ++f.next;
            if (child >= layout.objectCount) return false;
            // A dictionary lists its keys first, then its values.
            if (f.dictionary && f.next <= f.count / 2 && !layout.usableKey(child)) return false;
            if (mark[child] == Open) return false;  // a cycle
            if (mark[child] == Unvisited && !enter(child)) return false;
            continue;
        }
        // All children are done: this container's height and expanded size.
        std::uint32_t h = 0;
        std::uint64_t total = 1;
        bool container = f.refs != nullptr;
        for (std::uint64_t i = 0; i < f.count; ++i) {
            std::uint64_t child = bigEndian(f.refs + i * layout.refSize, layout.refSize);
            h = std::max(h, height[child]);
            total += values[child];
            if (total > maxValues) return false;
        }
        height[f.object] = container ? h + 1 : 0;
        if (height[f.object] > static_cast<std::uint32_t>(maxDepth)) return false;
        values[f.object] = total;
        mark[f.object] = Done;
        stack.pop_back();
    }
    return true;
}

bool xmlWithinLimits(const char* data, std::size_t length, int maxDepth, std::size_t maxValues) {
    const std::string_view text(data, length);
    // <plist> itself and the leaf element inside the deepest container come
    // on top of the containers' nesting.
    const long depthLimit = static_cast<long>(maxDepth) + 2;
    long depth = 0;
    std::size_t elements = 0;
    std::size_t i = 0;
    auto skipPast = [&](std::string_view end, std::size_t from) {
        std::size_t at = text.find(end, from);
        if (at == std::string_view::npos) return false;
        i = at + end.size();
        return true;
    };
    while (i < length) {
        std::size_t lt = text.find('<', i);
        if (lt == std::string_view::npos) break;
        std::string_view rest = text.substr(lt);
        if (rest.starts_with("<!--")) {
            if (!skipPast("-->", lt + 4)) return false;
        } else if (rest.starts_with("<![CDATA[")) {
            if (!skipPast("]]>", lt + 9)) return false;
        } else if (rest.starts_with("<?")) {
            if (!skipPast("?>", lt + 2)) return false;
        } else if (rest.starts_with("<!")) {
            // A document type, possibly with an internal subset in brackets.
            int brackets = 0;
            char quote = 0;
            std::size_t j = lt + 2;
            for (; j < length; ++j) {
                char c = text[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '[') {
                    ++brackets;
                } else if (c == ']') {
                    --brackets;
                } else if (c == '>' && brackets <= 0) {
                    break;
                }
            }
            if (j >= length) return false;
            i = j + 1;
        } else if (rest.starts_with("</")) {
            if (--depth < 0) return false;
            if (!skipPast(">", lt + 2)) return false;
        } else {
            char quote = 0;
            std::size_t j = lt + 1;
            for (; j < length; ++j) {
                char c = text[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (j >= length) return false;
            if (++elements > maxValues) return false;
            if (text[j - 1] != '/' && ++depth > depthLimit) return false;
            i = j + 1;
        }
    }
    return true;
}

}  // namespace NS::plistlimits
