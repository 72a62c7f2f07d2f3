// The runtime classes of the list table tests.
#include "ListTableTesting.h"

namespace tabletest {
namespace {

struct PaneState {
    int specifiersRequests = 0;
    Ref<NS::Object> level;  // what the getter and setter rows keep
};

void note(const std::string& entry) { journal().push_back(entry); }

NS::Array* specifiers(id self, SEL) {
    ++objc::state<PaneState>(self).specifiersRequests;
    id& rows = PS::ListController::specifiersIvar(self);
    if (rows == nil) {
        const std::string& xml = pendingList();
        rows = objc::retain(PS::specifiersFromPropertyList(NS::propertyListFromBytes(xml.data(), xml.size()), self));
    }
    return objc::cast<NS::Array>(rows);
}

void pressed(id, SEL) { note("pressed"); }
void pressedRow(id, SEL, PS::Specifier* row) { note("pressedRow:" + text(row != nullptr ? row->name() : nullptr)); }
id level(id self, SEL) { return objc::asId(objc::state<PaneState>(self).level.get()); }
void setLevel(id self, SEL, id value) {
    objc::state<PaneState>(self).level = objc::cast<NS::Object>(value);
    note("setLevel:" + text(objc::send<NS::String*>(value, "description"_sel)));
}
id levelForRow(id self, SEL, PS::Specifier*) { return objc::asId(objc::state<PaneState>(self).level.get()); }
void setLevelForRow(id self, SEL, id value, PS::Specifier* row) {
    objc::state<PaneState>(self).level = objc::cast<NS::Object>(value);
    note("setLevel:specifier:" + text(objc::send<NS::String*>(value, "description"_sel)) + "," + text(row->name()));
}
// A getter that answers a number, not an object: it cannot be read as one.
NSInteger rawLevel(id, SEL) { return 7; }

struct DetailState {
    Ref<PS::Specifier> row;
};
void detailSetSpecifier(id self, SEL, PS::Specifier* row) {
    objc::state<DetailState>(self).row = row;
    note("setSpecifier:" + text(row != nullptr ? row->name() : nullptr));
}

void countedDidMove(id self, SEL _cmd) {
    objc::sendSuper<void>(self, objc_getClass("TableCountingCell"), _cmd);
    if (objc::send<id>(self, "superview"_sel) != nil) ++countedPlacements();
}

}  // namespace

std::string& pendingList() {
    static std::string xml;
    return xml;
}

Class paneClass() {
    static Class cls = [] {
        objc::ClassBuilder("TableTestPane", "PSListController"_cls)
            .state<PaneState>()
            .method("specifiers", &specifiers)
            .method("pressed", &pressed)
            .method("pressedRow:", &pressedRow)
            .method("level", &level)
            .method("setLevel:", &setLevel)
            .method("levelForRow:", &levelForRow)
            .method("setLevel:forRow:", &setLevelForRow)
            .method("rawLevel", &rawLevel)
            .build();
        objc::ClassBuilder("TableTestDetail", "UIViewController"_cls)
            .state<DetailState>()
            .method("setSpecifier:", &detailSetSpecifier)
            .build();
        objc::ClassBuilder("TableCountingCell", "PSTableCell"_cls)
            .method("didMoveToSuperview", &countedDidMove)
            .build();
        objc::ClassBuilder("TableNotACell", "NSObject"_cls).build();
        return objc_getClass("TableTestPane");
    }();
    return cls;
}

Class detailClass() {
    paneClass();
    return objc_getClass("TableTestDetail");
}

int specifiersRequests(id pane) { return objc::state<PaneState>(pane).specifiersRequests; }

}  // namespace tabletest

namespace tabletest {
namespace {

// A pane that rebuilds its rows itself before it appears and does not call
// the base, as the bundle's sub-panes do.
void reloadOnAppear(id self, SEL, BOOL) { objc::send<void>(self, "reload"_sel); }

}  // namespace

Class reloadingPaneClass() {
    static Class cls =
        objc::ClassBuilder("TableReloadingPane", paneClass()).method("viewWillAppear:", &reloadOnAppear).build();
    return cls;
}

}  // namespace tabletest
