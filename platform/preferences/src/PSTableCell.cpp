#include <Preferences/PSTableCell.h>

#include <ObjCBridge/ObjCBridge.h>

namespace PS {
namespace {

Specifier* rowOf(id self) { return objc::cast<Specifier>(TableCell::specifierIvar(self)); }

id initWithStyleReuseIdentifierSpecifier(id self, SEL, NSInteger style, NS::String* reuse, Specifier* row) {
    self = objc::sendSuper<id>(self, "PSTableCell"_cls, "initWithStyle:reuseIdentifier:"_sel, style, reuse);
    if (self == nil) return nil;
    TableCell::specifierIvar(self) = objc::retain(row);
    if (row != nullptr) objc::send<void>(objc::send<id>(self, "textLabel"_sel), "setText:"_sel, row->name());
    return self;
}

SEL action(id self, SEL) { return rowOf(self) != nullptr ? rowOf(self)->buttonAction() : nullptr; }
id target(id self, SEL) { return rowOf(self) != nullptr ? rowOf(self)->target() : nil; }
SEL cellAction(id self, SEL) { return objc::send<SEL>(self, "action"_sel); }
id cellTarget(id self, SEL) { return objc::send<id>(self, "target"_sel); }

void didMoveToSuperview(id self, SEL _cmd) { objc::sendSuper<void>(self, "PSTableCell"_cls, _cmd); }

void dealloc(id self, SEL _cmd) {
    id& row = TableCell::specifierIvar(self);
    objc::release(row);
    row = nil;
    objc::sendSuper<void>(self, "PSTableCell"_cls, _cmd);
}

}  // namespace

id& TableCell::specifierIvar(id self) {
    static const std::ptrdiff_t offset = [] {
        Ivar ivar = class_getInstanceVariable("PSTableCell"_cls, "_specifier");
        if (ivar == nullptr) objc::fatal("PSTableCell has no _specifier");
        return ivar_getOffset(ivar);
    }();
    return *reinterpret_cast<id*>(reinterpret_cast<char*>(self) + offset);
}

void registerTableCell() {
    static const bool registered = [] {
        objc::ClassBuilder("PSTableCell", "UITableViewCell"_cls)
            .ivar("_specifier", sizeof(id), alignof(id), "@")
            .method("initWithStyle:reuseIdentifier:specifier:", &initWithStyleReuseIdentifierSpecifier)
            .method("action", &action)
            .method("target", &target)
            .method("cellAction", &cellAction)
            .method("cellTarget", &cellTarget)
            .method("didMoveToSuperview", &didMoveToSuperview)
            .method("dealloc", &dealloc)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
