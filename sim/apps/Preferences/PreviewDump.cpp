// The dump of a preview row: what the cell says it draws, through the one
// message it answers for that (previewContents, HBPreviewCell.h).
#include "DumpReading.h"

#include <AppHost.h>
#include <Foundation/Foundation.h>
#include <HBPreviewCell.h>
#include <UIKit/UIKit.h>

namespace settings {
namespace {

using json = nlohmann::json;

// The values of the preview cell's description (HBPreviewCell.h), each
// checked for its class: what is missing or of another class reads as null.
id entry(NS::Dictionary* d, const char* key) {
    return d != nullptr ? d->objectForKey(NS::String::stringWithUTF8String(key)) : nil;
}

json stringJSON(NS::Dictionary* d, const char* key) {
    id value = entry(d, key);
    return isKind(value, "NSString") ? json(text(objc::cast<NS::String>(value))) : json(nullptr);
}

NS::Number* numberOf(NS::Dictionary* d, const char* key) {
    id value = entry(d, key);
    return isKind(value, "NSNumber") ? objc::cast<NS::Number>(value) : nullptr;
}

json boolJSON(NS::Dictionary* d, const char* key) {
    NS::Number* n = numberOf(d, key);
    return n != nullptr ? json(static_cast<bool>(n->boolValue())) : json(nullptr);
}

json numberJSON(NS::Dictionary* d, const char* key) {
    NS::Number* n = numberOf(d, key);
    return n != nullptr ? json(n->doubleValue()) : json(nullptr);
}

json colorJSON(id value) {
    return isKind(value, "UIColor") ? apphost::colorJSON(objc::cast<UI::Color>(value)) : json(nullptr);
}

NS::Dictionary* dictionaryOf(NS::Dictionary* d, const char* key) {
    id value = entry(d, key);
    return isKind(value, "NSDictionary") ? objc::cast<NS::Dictionary>(value) : nullptr;
}

NS::Array* arrayOf(NS::Dictionary* d, const char* key) {
    id value = entry(d, key);
    return isKind(value, "NSArray") ? objc::cast<NS::Array>(value) : nullptr;
}

json balloonJSON(NS::Dictionary* b) {
    NS::Dictionary* frame = dictionaryOf(b, "frame");
    json fill = json::array();
    NS::Array* colors = arrayOf(b, "fill");
    for (NSUInteger i = 0; colors != nullptr && i < colors->count(); ++i)
        fill.push_back(colorJSON(colors->objectAtIndex(i)));
    NS::Dictionary* border = dictionaryOf(b, "border");
    return {{"kind", stringJSON(b, "kind")},
            {"fromMe", boolJSON(b, "fromMe")},
            {"text", stringJSON(b, "text")},
            {"link", stringJSON(b, "link")},
            {"frame", frame != nullptr ? json{{"x", numberJSON(frame, "x")},
                                              {"y", numberJSON(frame, "y")},
                                              {"width", numberJSON(frame, "width")},
                                              {"height", numberJSON(frame, "height")}}
                                       : json(nullptr)},
            {"fill", fill},
            {"random", boolJSON(b, "random")},
            {"textColor", colorJSON(entry(b, "textColor"))},
            {"linkColor", colorJSON(entry(b, "linkColor"))},
            {"overlay", colorJSON(entry(b, "overlay"))},
            {"border", border != nullptr ? json{{"color", colorJSON(entry(border, "color"))},
                                                {"width", numberJSON(border, "width")},
                                                {"cornerRadius", numberJSON(border, "cornerRadius")}}
                                         : json(nullptr)},
            {"tail", boolJSON(b, "tail")}};
}

}  // namespace

json previewState(UI::TableViewCell* cell) {
    if (!isKind(cell, "HBPreviewCell") || !objc::respondsTo(cell, "previewContents"_sel)) return nullptr;
    NS::Dictionary* contents = objc::cast<HBPreviewCell>(cell)->previewContents();
    if (!isKind(contents, "NSDictionary")) return nullptr;
    json balloons = json::array();
    NS::Array* list = arrayOf(contents, "balloons");
    for (NSUInteger i = 0; list != nullptr && i < list->count(); ++i) {
        id balloon = list->objectAtIndex(i);
        balloons.push_back(isKind(balloon, "NSDictionary") ? balloonJSON(objc::cast<NS::Dictionary>(balloon))
                                                           : json(nullptr));
    }
    return {{"caption", stringJSON(contents, "caption")}, {"balloons", balloons}};
}

}  // namespace settings
