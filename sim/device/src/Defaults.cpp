#include <Sim/Defaults.h>
#include <Sim/UserError.h>

#include <Foundation/Foundation.h>
#include <Foundation/PropertyList.h>

#include <Device/DevicePath.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace sim::defaults {
namespace {

std::string lowercase(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

NS::String* nsString(std::string_view text) {
    std::string copy(text);
    NS::String* s = NS::String::stringWithUTF8String(copy.c_str());
    if (s == nullptr) throw UserError("\"" + copy + "\" is not valid UTF-8 text");
    return s;
}

bool isKind(const NS::Object* value, Class cls) { return value != nullptr && value->isKindOfClass(cls); }

std::string utf8(const NS::String* s) {
    const char* text = s->UTF8String();
    return text ? text : "";
}

// `defaults` leaves a string bare only when it is made of letters, digits,
// "." and "_"; anything else is quoted with the quotes and backslashes
// escaped.
std::string quotedIfNeeded(const std::string& text) {
    bool bare = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_';
    });
    if (bare) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string shortestReal(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::to_string(value);
}

std::string formatNumber(const NS::Number* number) {
    std::string kind = number->objCType();
    if (kind == "c" || kind == "B") return number->boolValue() ? "1" : "0";
    if (kind == "d" || kind == "f") return shortestReal(number->doubleValue());
    return std::to_string(number->longLongValue());
}

void formatInto(std::string& out, const NS::Object* value, int depth, bool topLevel) {
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    const std::string inner(static_cast<std::size_t>(depth + 1) * 4, ' ');
    if (value == nullptr) {
        out += "(null)";
    } else if (isKind(value, "NSString"_cls)) {
        std::string text = utf8(objc::cast<const NS::String>(value));
        out += topLevel ? text : quotedIfNeeded(text);
    } else if (isKind(value, "NSNumber"_cls)) {
        out += formatNumber(objc::cast<const NS::Number>(value));
    } else if (isKind(value, "NSDictionary"_cls)) {
        auto* dict = objc::cast<const NS::Dictionary>(value);
        NS::Array* keys = dict->allKeys();
        std::vector<std::pair<std::string, NS::Object*>> entries;
        for (NSUInteger i = 0; i < keys->count(); ++i) {
            NS::Object* key = objc::cast<NS::Object>(keys->objectAtIndex(i));
            std::string name =
                isKind(key, "NSString"_cls) ? utf8(objc::cast<NS::String>(key)) : utf8(key->description());
            entries.emplace_back(name, objc::cast<NS::Object>(dict->objectForKey(key)));
        }
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        out += "{\n";
        for (const auto& [name, item] : entries) {
            out += inner + quotedIfNeeded(name) + " = ";
            formatInto(out, item, depth + 1, false);
            out += ";\n";
        }
        out += indent + "}";
    } else if (isKind(value, "NSArray"_cls)) {
        auto* array = objc::cast<const NS::Array>(value);
        out += "(\n";
        for (NSUInteger i = 0; i < array->count(); ++i) {
            out += inner;
            formatInto(out, objc::cast<NS::Object>(array->objectAtIndex(i)), depth + 1, false);
            out += i + 1 < array->count() ? ",\n" : "\n";
        }
        out += indent + ")";
    } else if (isKind(value, "NSData"_cls)) {
        auto* data = objc::cast<const NS::Data>(value);
        const auto* bytes = static_cast<const unsigned char*>(data->bytes());
        out += "{length = " + std::to_string(data->length()) + ", bytes = 0x";
        char hex[3];
        for (NSUInteger i = 0; i < data->length(); ++i) {
            std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
            out += hex;
        }
        out += "}";
    } else if (isKind(value, "NSDate"_cls)) {
        std::time_t t =
            static_cast<std::time_t>(std::floor(objc::cast<const NS::Date>(value)->timeIntervalSince1970()));
        std::tm tm{};
        gmtime_r(&t, &tm);
        char text[40];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &tm);
        out += quotedIfNeeded(text);
    } else {
        out += quotedIfNeeded(utf8(value->description()));
    }
}

void writeDomain(std::string_view domain, const NS::Dictionary* dict) {
    if (!NS::writePropertyList(dict, phonePath(domain))) {
        throw UserError("cannot write the domain " + std::string(domain) + " (" + phonePath(domain) +
                        " in the device)");
    }
}

NS::MutableDictionary* mutableDomain(std::string_view domain) {
    NS::Dictionary* existing = readDomain(domain);
    return existing ? NS::MutableDictionary::dictionaryWithDictionary(existing) : NS::MutableDictionary::dictionary();
}

}  // namespace

std::optional<ValueType> parseTypeFlag(std::string_view flag) {
    if (flag.substr(0, 2) == "--") {
        flag.remove_prefix(2);
    } else if (flag.substr(0, 1) == "-") {
        flag.remove_prefix(1);
    } else {
        return std::nullopt;
    }
    if (flag == "bool" || flag == "boolean") return ValueType::Bool;
    if (flag == "int" || flag == "integer") return ValueType::Int;
    if (flag == "float") return ValueType::Float;
    if (flag == "string") return ValueType::String;
    return std::nullopt;
}

bool isValidDomain(std::string_view domain) {
    return !domain.empty() && domain.find('/') == std::string_view::npos &&
           domain.find("..") == std::string_view::npos && domain.find('\0') == std::string_view::npos;
}

void requireValidDomain(std::string_view domain) {
    if (isValidDomain(domain)) return;
    throw UserError("\"" + std::string(domain) +
                    "\" is not a preferences domain: use a name such as com.Quillfen.huebloom, without \"/\" or "
                    "\"..\"");
}

std::string phonePath(std::string_view domain) {
    return "/var/mobile/Library/Preferences/" + std::string(domain) + ".plist";
}

NS::Object* makeValue(ValueType type, std::string_view text) {
    const std::string shown = "\"" + std::string(text) + "\"";
    switch (type) {
    case ValueType::String: return nsString(text);
    case ValueType::Bool: {
        std::string word = lowercase(text);
        if (word == "true" || word == "yes" || word == "1") return NS::Number::numberWithBool(YES);
        if (word == "false" || word == "no" || word == "0") return NS::Number::numberWithBool(NO);
        throw UserError("-bool expects true, false, yes, no, 1 or 0, not " + shown);
    }
    case ValueType::Int: {
        long long value = 0;
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
            throw UserError("-int expects a whole number such as 2 or -15 (within 64 bits), not " + shown);
        }
        return NS::Number::numberWithLongLong(value);
    }
    case ValueType::Float: {
        double value = 0;
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
        auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
            throw UserError("-float expects a finite decimal number such as 0.5 or -2, not " + shown);
        }
        return NS::Number::numberWithDouble(value);
    }
    }
    return nullptr;
}

NS::Dictionary* readDomain(std::string_view domain) {
    requireValidDomain(domain);
    NS::Object* plist = NS::propertyListFromFile(phonePath(domain));
    return plist && plist->isKindOfClass("NSDictionary"_cls) ? objc::cast<NS::Dictionary>(plist) : nullptr;
}

void writeValue(std::string_view domain, std::string_view key, const NS::Object* value) {
    requireValidDomain(domain);
    NS::MutableDictionary* dict = mutableDomain(domain);
    dict->setObject(value, nsString(key));
    writeDomain(domain, dict);
}

void writeValues(std::string_view domain, const NS::Dictionary* values) {
    requireValidDomain(domain);
    NS::MutableDictionary* dict = mutableDomain(domain);
    dict->addEntriesFromDictionary(values);
    writeDomain(domain, dict);
}

bool deleteKey(std::string_view domain, std::string_view key) {
    NS::Dictionary* existing = readDomain(domain);
    NS::String* name = nsString(key);
    if (existing == nullptr || existing->objectForKey(name) == nil) return false;
    NS::MutableDictionary* dict = NS::MutableDictionary::dictionaryWithDictionary(existing);
    dict->removeObjectForKey(name);
    writeDomain(domain, dict);
    return true;
}

bool deleteDomain(std::string_view domain) {
    requireValidDomain(domain);
    auto host = device::hostPath(phonePath(domain));
    std::error_code ec;
    return host && std::filesystem::remove(*host, ec);
}

std::string format(const NS::Object* value, bool topLevel) {
    std::string out;
    formatInto(out, value, 0, topLevel);
    return out;
}

}  // namespace sim::defaults
