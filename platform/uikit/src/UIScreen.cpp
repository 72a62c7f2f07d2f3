#include <Device/DevicePath.h>
#include <UIKit/UIScreen.h>

#include "UIKitRegistration.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>

namespace UI {
namespace screen {
namespace {

std::optional<Model> chosen;

std::string trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
    return text.substr(start);
}

Model resolve() {
    if (const char* env = std::getenv("HB_DEVICE_MODEL")) {
        if (auto m = parseModel(trimmed(env))) return *m;
    }
    if (auto path = device::hostPath("/var/run/hbsim/model")) {
        std::ifstream in(*path);
        std::string text;
        if (in && std::getline(in, text)) {
            if (auto m = parseModel(trimmed(text))) return *m;
        }
    }
    return Model::iPhone5;
}

}  // namespace

std::optional<Model> parseModel(std::string_view name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "iphone4") return Model::iPhone4;
    if (lower == "iphone5") return Model::iPhone5;
    if (lower == "ipad") return Model::iPad;
    return std::nullopt;
}

const char* modelName(Model model) {
    switch (model) {
    case Model::iPhone4: return "iphone4";
    case Model::iPad: return "ipad";
    case Model::iPhone5: break;
    }
    return "iphone5";
}

Model model() {
    if (!chosen) chosen = resolve();
    return *chosen;
}

void setModel(Model m) { chosen = m; }
void resetModel() { chosen.reset(); }

CGSize pointSize(Model m) {
    switch (m) {
    case Model::iPhone4: return CGSizeMake(320, 480);
    case Model::iPad: return CGSizeMake(768, 1024);
    case Model::iPhone5: break;
    }
    return CGSizeMake(320, 568);
}

CGFloat scale(Model) { return 2; }

}  // namespace screen

namespace {

id mainScreen(Class self, SEL) {
    // The one screen lives as long as the process.
    static id screen = objc::asId(objc::send<NS::Object*>(self, "alloc"_sel)->init());
    return screen;
}

CGRect bounds(id, SEL) {
    CGSize size = screen::pointSize(screen::model());
    return CGRectMake(0, 0, size.width, size.height);
}

CGFloat scale(id, SEL) { return screen::scale(screen::model()); }

}  // namespace

void registerScreen() {
    objc::ClassBuilder("UIScreen", "NSObject"_cls)
        .classMethod("mainScreen", &mainScreen)
        .method("bounds", &bounds)
        .method("scale", &scale)
        .build();
}

}  // namespace UI
