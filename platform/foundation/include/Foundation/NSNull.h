// NSNull: the one object that stands for "nothing" inside a collection,
// which cannot hold nil.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {

class Null : public Object {
public:
    static Null* null() { return objc::send<Null*>("NSNull"_cls, "null"_sel); }
};

}  // namespace NS
