// Property lists between files, libplist nodes and Foundation objects.
#include <Foundation/AtomicFile.h>
#include <Foundation/PropertyList.h>

#include "FoundationInternal.h"
#include "PropertyListLimits.h"
#include "Unicode.h"

#include <Device/DevicePath.h>
#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace NS {
namespace {

using namespace internal;

struct NodeDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Releases the objects of a partly built container when conversion fails.
void releaseAll(std::vector<id>& objects) {
    for (id o : objects) objc::release(o);
    objects.clear();
}

// +1, or nil.
id fromNode(plist_t node, int depth) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return newNumber(NumberKind::Boolean, value ? 1 : 0, 0);
    }
    case PLIST_UINT: {
        // libplist keeps every integer in 64 bits; the file's integers are
        // signed, as the phone reads them.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return newNumber(NumberKind::Integer, static_cast<long long>(value), 0);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return newNumber(NumberKind::Real, 0, value);
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        std::u16string converted;
        if (text == nullptr || !unicode::utf8ToUtf16(std::string_view(text, length), converted)) return nil;
        return newString(std::move(converted));
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        std::vector<unsigned char> copy;
        if (bytes != nullptr) copy.assign(bytes, bytes + length);
        return newData(std::move(copy));
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return newDate(seconds + microseconds / 1e6);
    }
    case PLIST_ARRAY: {
        if (depth >= kMaxPropertyListDepth) return nil;
        std::vector<id> items;
        std::uint32_t count = plist_array_get_size(node);
        items.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            id item = fromNode(plist_array_get_item(node, i), depth + 1);
            if (item == nil) {
                releaseAll(items);
                return nil;
            }
            items.push_back(item);
        }
        return newArrayAdopting(arrayClass, std::move(items));
    }
    case PLIST_DICT: {
        if (depth >= kMaxPropertyListDepth) return nil;
        std::vector<id> keys, values;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        bool ok = true;
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &key, &value);
            if (value == nullptr) {
                std::free(key);
                break;
            }
            std::u16string keyText;
            bool keyOk = key != nullptr && unicode::utf8ToUtf16(key, keyText);
            std::free(key);
            id object = keyOk ? fromNode(value, depth + 1) : nil;
            if (object == nil) {
                ok = false;
                break;
            }
            keys.push_back(newString(std::move(keyText)));
            values.push_back(object);
        }
        std::free(iter);
        if (!ok) {
            releaseAll(keys);
            releaseAll(values);
            return nil;
        }
        return newDictionaryAdopting(dictionaryClass, std::move(keys), std::move(values));
    }
    default:
        // Keys on their own, keyed-archive identifiers and nodes of no
        // type have no Foundation object.
        return nil;
    }
}

plist_t toNode(id object, int depth) {
    if (isString(object)) return plist_new_string(utf8Of(object).c_str());
    if (isNumber(object)) {
        switch (numberKind(object)) {
        case NumberKind::Boolean: return plist_new_bool(numberInteger(object) != 0);
        case NumberKind::Integer: return plist_new_uint(static_cast<std::uint64_t>(numberInteger(object)));
        case NumberKind::Real: return plist_new_real(numberReal(object));
        }
    }
    if (isData(object)) {
        const auto& bytes = dataBytes(object);
        return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    if (isDate(object)) {
        double t = dateSinceReferenceDate(object);
        double whole = std::floor(t);
        if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return nullptr;
        auto micro = static_cast<std::int32_t>(std::lround((t - whole) * 1e6));
        return plist_new_date(static_cast<std::int32_t>(whole), std::min(micro, 999999));
    }
    // Containers nest no deeper than a reader accepts; this also ends the
    // walk of a collection that contains itself.
    if (depth >= kMaxPropertyListDepth) return nullptr;
    if (isArray(object)) {
        Node array(plist_new_array());
        for (id item : arrayItems(object)) {
            plist_t child = toNode(item, depth + 1);
            if (child == nullptr) return nullptr;
            plist_array_append_item(array.get(), child);
        }
        return array.release();
    }
    if (isDictionary(object)) {
        std::vector<id> keys, values;
        dictionaryEntries(object, keys, values);
        std::vector<std::size_t> order(keys.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (!isString(keys[i])) return nullptr;
            order[i] = i;
        }
        // Written in key order, so that the same settings give the same file.
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return stringText(keys[a]) < stringText(keys[b]); });
        Node dict(plist_new_dict());
        for (std::size_t i : order) {
            plist_t child = toNode(values[i], depth + 1);
            if (child == nullptr) return nullptr;
            plist_dict_set_item(dict.get(), utf8Of(keys[i]).c_str(), child);
        }
        return dict.release();
    }
    return nullptr;
}

bool withinLimits(const char* bytes, std::size_t length) {
    if (length >= 8 && std::memcmp(bytes, "bplist00", 8) == 0) {
        return plistlimits::binaryWithinLimits(reinterpret_cast<const unsigned char*>(bytes), length,
                                               kMaxPropertyListDepth, kMaxPropertyListValues);
    }
    return plistlimits::xmlWithinLimits(bytes, length, kMaxPropertyListDepth, kMaxPropertyListValues);
}

}  // namespace

Object* propertyListFromBytes(const void* bytes, std::size_t length) {
    internal::registerAll();
    if (bytes == nullptr || length == 0 || length > kMaxReadableFileSize) return nullptr;
    const char* text = static_cast<const char*>(bytes);
    if (!withinLimits(text, length)) return nullptr;
    plist_t root = nullptr;
    plist_from_memory(text, static_cast<std::uint32_t>(length), &root);
    if (root == nullptr) return nullptr;
    Node owner(root);
    id object = fromNode(root, 0);
    return object ? objc::cast<Object>(objc::autorelease(object)) : nullptr;
}

Object* propertyListFromHostFile(const std::string& hostPath) {
    auto bytes = readHostFile(hostPath);
    if (!bytes) return nullptr;
    return propertyListFromBytes(bytes->data(), bytes->size());
}

Object* propertyListFromFile(std::string_view phonePath) {
    auto host = device::hostPath(phonePath);
    if (!host) return nullptr;
    return propertyListFromHostFile(*host);
}

std::string xmlPropertyList(const Object* plist) {
    if (plist == nullptr) return {};
    Node node(toNode(objc::asId(plist), 0));
    if (!node) return {};
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    if (xml == nullptr) return {};
    std::string text(xml, length);
    plist_to_xml_free(xml);
    return text;
}

bool writePropertyListToHostFile(const Object* plist, const std::string& hostPath, bool atomically) {
    std::string xml = xmlPropertyList(plist);
    if (xml.empty()) return false;
    return atomically ? writeHostFileAtomically(hostPath, xml.data(), xml.size())
                      : writeHostFileDirectly(hostPath, xml.data(), xml.size());
}

bool writePropertyList(const Object* plist, std::string_view phonePath) {
    auto host = device::hostPath(phonePath);
    return host && writePropertyListToHostFile(plist, *host, true);
}

Object* objectFromPlistNode(plist_t node) {
    if (node == nullptr) return nullptr;
    id object = fromNode(node, 0);
    return object ? objc::cast<Object>(objc::autorelease(object)) : nullptr;
}

plist_t plistNodeFromObject(const Object* object) { return object ? toNode(objc::asId(object), 0) : nullptr; }

}  // namespace NS
