// NSURL: a URL kept as its text.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {

class String;

class URL : public Object {
public:
    // nil for nil, an empty text or one that is not a well-formed URL: every
    // character must be one a URL may hold, "%" must start a two-digit hex
    // escape, and a scheme, when there is one, must start with a letter.
    static URL* URLWithString(const String* text) { return objc::send<URL*>("NSURL"_cls, "URLWithString:"_sel, text); }
    String* absoluteString() const { return objc::send<String*>(this, "absoluteString"_sel); }
    // The part before the first ":", or nil when there is no scheme.
    String* scheme() const { return objc::send<String*>(this, "scheme"_sel); }
};

}  // namespace NS
