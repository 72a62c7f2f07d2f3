#include "HBPreviewCell.h"

#include "HBPreviewCellFields.h"

#include <SettingsReader.h>

#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/ObjCBridge.h>
#include <UIKit/UIKit.h>
#include <UIKit/UITouch.h>

#include <algorithm>
#include <cmath>

namespace huebloom {
namespace {

// The balloon metrics of Messages (the Settings app cannot ask ChatKit for
// them), and the preview's own spacing.
namespace metrics {
constexpr CGFloat kCornerRadius = 17;
constexpr CGFloat kTextSize = 17;
constexpr CGFloat kInsetTop = 7;
constexpr CGFloat kInsetBottom = 8;
constexpr CGFloat kInsetSide = 14;
constexpr CGFloat kMinWidth = 2 * kCornerRadius;
constexpr CGFloat kMinHeight = 2 * kCornerRadius + 1;
constexpr CGFloat kTailWidth = 6;
constexpr CGFloat kTailHeight = 18;
constexpr CGFloat kSideMargin = 4;  // the cell's edge to a tail's tip
constexpr CGFloat kLaneGap = 8;     // between a received and a sent balloon side by side
// The balloons alternate between the sides, each a step lower than the one
// before, so that a row a little taller than three balloons holds four
// without two of one side touching.
constexpr CGFloat kStep = 19;
constexpr CGFloat kCaptionTop = 4;
constexpr CGFloat kCaptionSize = 11;
constexpr CGFloat kCaptionHeight = 17;
constexpr CGFloat kGray = 0x8E / 255.0;
}  // namespace metrics

constexpr const char* kFont = "Helvetica Neue";

HBPreviewCellFields& fieldsOf(id self) { return objc::state<HBPreviewCellFields>(self); }

PS::Specifier* rowOf(id self) { return objc::cast<PS::Specifier>(PS::TableCell::specifierIvar(self)); }

NS::String* stringProperty(id self, const NS::String* key) {
    PS::Specifier* row = rowOf(self);
    id value = row != nullptr ? row->propertyForKey(key) : nil;
    return value != nil && objc::cast<NS::Object>(value)->isKindOfClass("NSString"_cls) ? objc::cast<NS::String>(value)
                                                                                        : nullptr;
}

// Text is measured in a context of its own, so that the layout is known
// before the cell draws (a finger and the dumps ask for it).
CGContextRef measuringContext() {
    static CGContextRef context = [] {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextRef c = CGBitmapContextCreate(nullptr, 1, 1, 8, 0, space, kCGImageAlphaPremultipliedLast);
        CGColorSpaceRelease(space);
        return c;
    }();
    return context;
}

CGFloat textWidth(CGContextRef c, CGFloat size, const std::string& text) {
    CGContextSelectFont(c, kFont, size, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextInvisible);
    CGContextSetTextPosition(c, 0, 0);
    CGContextShowText(c, text.data(), text.size());
    return CGContextGetTextPosition(c).x;
}

UI::Font* balloonFont() { return UI::Font::fontWithName(NS::String::stringWithUTF8String(kFont), metrics::kTextSize); }

bool isLastInRun(const std::vector<PreviewMessage>& messages, std::size_t i) {
    return i + 1 == messages.size() || messages[i + 1].fromMe != messages[i].fromMe;
}

bool anyRandom(const std::vector<HBPreviewCellFields::Balloon>& balloons) {
    return std::any_of(balloons.begin(), balloons.end(), [](const auto& b) { return b.look.random; });
}

// Reads the settings file as Messages does when it starts, and works out
// every balloon's look.
void readSettings(id self) {
    HBPreviewCellFields& f = fieldsOf(self);
    objc::AutoreleasePool pool;
    NS::Dictionary* file =
        NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kSettingsPath));
    const SettingsReader settings(file);
    BalloonLook looks[kBalloonKindCount];
    for (std::size_t k = 0; k < kBalloonKindCount; ++k) looks[k] = balloonLook(settings, *balloonKinds()[k]);

    const std::vector<PreviewMessage> messages =
        previewConversation(balloonKindNamed(stringProperty(self, "previewLink"_ns)));
    f.balloons.clear();
    for (std::size_t i = 0; i < messages.size(); ++i) {
        HBPreviewCellFields::Balloon b;
        b.message = messages[i];
        b.look =
            looks[std::find(balloonKinds(), balloonKinds() + kBalloonKindCount, messages[i].kind) - balloonKinds()];
        b.tail = b.look.tails && isLastInRun(messages, i);
        f.balloons.push_back(b);
    }
    f.caption = anyRandom(f.balloons) ? "Preview: one draw of the random colours" : "Preview";
    f.pressed = -1;
    f.laidOutWidth = -1;
}

// Received balloons on the left, sent ones on the right, as in Messages;
// each one step lower than the one before.
void layOut(id self) {
    HBPreviewCellFields& f = fieldsOf(self);
    const CGFloat width = objc::cast<UI::View>(self)->bounds().size.width;
    if (f.laidOutWidth == width) return;
    f.laidOutWidth = width;
    const CGFloat lineHeight = std::ceil(balloonFont()->lineHeight());
    const CGFloat laneWidth = std::max<CGFloat>(
        (width - 2 * (metrics::kSideMargin + metrics::kTailWidth) - metrics::kLaneGap) / 2, metrics::kMinWidth);
    CGFloat y = metrics::kCaptionTop + metrics::kCaptionHeight;
    for (HBPreviewCellFields::Balloon& b : f.balloons) {
        const CGFloat text = std::ceil(textWidth(measuringContext(), metrics::kTextSize, b.message.text));
        const CGFloat w = std::min(std::max(metrics::kMinWidth, text + 2 * metrics::kInsetSide), laneWidth);
        const CGFloat h = std::max(metrics::kMinHeight, lineHeight + metrics::kInsetTop + metrics::kInsetBottom);
        const CGFloat x = b.message.fromMe ? width - metrics::kSideMargin - metrics::kTailWidth - w
                                           : metrics::kSideMargin + metrics::kTailWidth;
        b.body = CGRectMake(x, y, w, h);
        y += metrics::kStep;
    }
}

// A balloon's outline: a rounded body whose bottom corner on the sender's
// side curls out into the tail when it has one. It is the outline Messages
// draws, drawn here again because the Settings app has no ChatKit to ask.
void addBalloonPath(CGContextRef c, CGRect body, bool tail, bool onRight, CGFloat radius) {
    const CGFloat minX = CGRectGetMinX(body), maxX = CGRectGetMaxX(body);
    const CGFloat minY = CGRectGetMinY(body), maxY = CGRectGetMaxY(body);
    const CGFloat r = std::min({radius, body.size.width / 2, body.size.height / 2});
    // x as seen from the tail's side: mirrored about the body's centre for a
    // tail on the left.
    auto x = [&](CGFloat px) { return onRight ? px : minX + maxX - px; };
    const CGFloat tw = metrics::kTailWidth;
    const CGFloat th = std::min(metrics::kTailHeight, body.size.height - r);
    CGContextMoveToPoint(c, x((minX + maxX) / 2), minY);
    CGContextAddArcToPoint(c, x(maxX), minY, x(maxX), maxY, r);
    if (tail) {
        CGContextAddLineToPoint(c, x(maxX), maxY - th);
        CGContextAddCurveToPoint(c, x(maxX), maxY - th * 0.35, x(maxX + tw * 0.45), maxY - 1.5, x(maxX + tw), maxY);
        CGContextAddCurveToPoint(c, x(maxX + tw * 0.1), maxY - 3.5, x(maxX - 4), maxY - 3, x(maxX - 11), maxY);
    } else {
        CGContextAddArcToPoint(c, x(maxX), maxY, x(minX), maxY, r);
    }
    CGContextAddArcToPoint(c, x(minX), maxY, x(minX), minY, r);
    CGContextAddArcToPoint(c, x(minX), minY, x(maxX), minY, r);
    CGContextClosePath(c);
}

// Messages fixes a gradient to the screen, so balloons lower down are
// darker; here the preview row is the screen.
void fillGradient(CGContextRef c, NS::Array* colors, CGFloat top, CGFloat bottom) {
    std::vector<CGFloat> components;
    for (NSUInteger i = 0; i < colors->count(); ++i) {
        CGFloat r = 0, g = 0, b = 0, a = 0;
        objc::cast<UI::Color>(colors->objectAtIndex(i))->getRed(&r, &g, &b, &a);
        components.insert(components.end(), {r, g, b, a});
    }
    if (colors->count() == 1) {
        CGContextSetRGBFillColor(c, components[0], components[1], components[2], components[3]);
        CGContextFillRect(c, CGContextGetClipBoundingBox(c));
        return;
    }
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient = CGGradientCreateWithColorComponents(space, components.data(), nullptr, colors->count());
    CGContextDrawLinearGradient(c, gradient, CGPointMake(0, top), CGPointMake(0, bottom),
                                kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    CGGradientRelease(gradient);
    CGColorSpaceRelease(space);
}

// The transparent style's border: a layer border, inside the balloon's
// bounds, following its corner radius.
void strokeBorder(CGContextRef c, const HBPreviewCellFields::Balloon& b) {
    const BalloonLook& look = b.look;
    if (!look.border || look.borderWidth <= 0) return;
    const CGFloat w = std::min({look.borderWidth, b.body.size.width / 2, b.body.size.height / 2});
    CGContextBeginPath(c);
    addBalloonPath(c, b.body, false, true, look.cornerRadius);
    addBalloonPath(c, CGRectInset(b.body, w, w), false, true, std::max<CGFloat>(look.cornerRadius - w, 0));
    CGContextSetFillColorWithColor(c, look.border->CGColor());
    CGContextEOFillPath(c);
}

// Text is laid out with y growing upwards: each run is drawn in a flipped
// frame at its baseline.
void showText(CGContextRef c, CGFloat size, const std::string& text, CGPoint baseline, UI::Color* color) {
    CGContextSaveGState(c);
    CGContextTranslateCTM(c, baseline.x, baseline.y);
    CGContextScaleCTM(c, 1, -1);
    CGContextSelectFont(c, kFont, size, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFill);
    CGContextSetFillColorWithColor(c, color->CGColor());
    CGContextShowTextAtPoint(c, 0, 0, text.data(), text.size());
    CGContextRestoreGState(c);
}

// The text, with the link in the link colour and underlined.
void drawText(CGContextRef c, const HBPreviewCellFields::Balloon& b, CGFloat ascent) {
    const std::string& text = b.message.text;
    std::size_t at = b.message.link.empty() ? std::string::npos : text.find(b.message.link);
    if (at == std::string::npos) at = text.size();
    const std::size_t end = std::min(text.size(), at + b.message.link.size());
    const std::pair<std::string, bool> pieces[] = {
        {text.substr(0, at), false}, {text.substr(at, end - at), true}, {text.substr(end), false}};
    CGFloat x = CGRectGetMinX(b.body) + metrics::kInsetSide;
    const CGFloat baseline = CGRectGetMinY(b.body) + metrics::kInsetTop + ascent;
    for (const auto& [piece, link] : pieces) {
        if (piece.empty()) continue;
        UI::Color* color = link ? b.look.link.get() : b.look.text.get();
        const CGFloat w = textWidth(c, metrics::kTextSize, piece);
        showText(c, metrics::kTextSize, piece, CGPointMake(x, baseline), color);
        if (link) {
            CGContextSetFillColorWithColor(c, color->CGColor());
            CGContextFillRect(c, CGRectMake(x, baseline + 2, w, 1));
        }
        x += w;
    }
}

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    layOut(self);
    HBPreviewCellFields& f = fieldsOf(self);
    const CGRect bounds = objc::cast<UI::View>(self)->bounds();

    UI::Color* gray = UI::Color::colorWithRed(metrics::kGray, metrics::kGray, metrics::kGray, 1);
    const CGFloat captionWidth = textWidth(c, metrics::kCaptionSize, f.caption);
    showText(c, metrics::kCaptionSize, f.caption,
             CGPointMake(std::round((bounds.size.width - captionWidth) / 2), metrics::kCaptionTop + 12), gray);

    const CGFloat ascent = balloonFont()->ascender();
    for (std::size_t i = 0; i < f.balloons.size(); ++i) {
        const HBPreviewCellFields::Balloon& b = f.balloons[i];
        if (b.look.fill && b.look.fill->count() > 0) {
            CGContextSaveGState(c);
            CGContextBeginPath(c);
            addBalloonPath(c, b.body, b.tail, b.message.fromMe, metrics::kCornerRadius);
            CGContextClip(c);
            fillGradient(c, b.look.fill.get(), 0, bounds.size.height);
            if (f.pressed == int(i) && b.look.overlay) {
                CGContextSetFillColorWithColor(c, b.look.overlay->CGColor());
                CGContextFillRect(c, CGContextGetClipBoundingBox(c));
            }
            CGContextRestoreGState(c);
        }
        strokeBorder(c, b);
        drawText(c, b, ascent);
    }
}

// The balloons are laid out at once, so that a finger and the dumps find
// them where they will be drawn.
void redraw(id self) {
    readSettings(self);
    layOut(self);
    objc::cast<UI::View>(self)->setNeedsDisplay();
}

void redrawPreview(id self, SEL) { redraw(self); }

NS::String* nsString(const std::string& s) { return NS::String::stringWithUTF8String(s.c_str()); }
NS::Number* nsBool(bool b) { return NS::Number::numberWithBool(b ? YES : NO); }
NS::Number* nsNumber(CGFloat x) { return NS::Number::numberWithDouble(x); }

// Sets the value of the key unless there is none: a dictionary holds no nil.
void setIfAny(NS::MutableDictionary* d, objc::AnyObject value, const NS::String* key) {
    if (value.get() != nil) d->setObject(value, key);
}

NS::Dictionary* describeBalloon(const HBPreviewCellFields::Balloon& b) {
    const BalloonLook& look = b.look;
    NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
    d->setObject(nsString(b.message.kind->name), "kind"_ns);
    d->setObject(nsBool(b.message.fromMe), "fromMe"_ns);
    d->setObject(nsString(b.message.text), "text"_ns);
    if (!b.message.link.empty()) d->setObject(nsString(b.message.link), "link"_ns);
    NS::MutableDictionary* frame = NS::MutableDictionary::dictionary();
    frame->setObject(nsNumber(b.body.origin.x), "x"_ns);
    frame->setObject(nsNumber(b.body.origin.y), "y"_ns);
    frame->setObject(nsNumber(b.body.size.width), "width"_ns);
    frame->setObject(nsNumber(b.body.size.height), "height"_ns);
    d->setObject(frame, "frame"_ns);
    d->setObject(look.fill ? NS::Array::arrayWithArray(look.fill.get()) : NS::Array::array(), "fill"_ns);
    d->setObject(nsBool(look.random), "random"_ns);
    setIfAny(d, look.text.get(), "textColor"_ns);
    setIfAny(d, look.link.get(), "linkColor"_ns);
    setIfAny(d, look.overlay.get(), "overlay"_ns);
    if (look.border) {
        NS::MutableDictionary* border = NS::MutableDictionary::dictionary();
        border->setObject(look.border.get(), "color"_ns);
        border->setObject(nsNumber(look.borderWidth), "width"_ns);
        border->setObject(nsNumber(look.cornerRadius), "cornerRadius"_ns);
        d->setObject(border, "border"_ns);
    }
    d->setObject(nsBool(b.tail), "tail"_ns);
    return d;
}

// What the cell draws, where it will draw it (see HBPreviewCell.h).
NS::Dictionary* previewContents(id self, SEL) {
    layOut(self);
    const HBPreviewCellFields& f = fieldsOf(self);
    NS::MutableArray* balloons = NS::MutableArray::array();
    for (const HBPreviewCellFields::Balloon& b : f.balloons) balloons->addObject(describeBalloon(b));
    NS::MutableDictionary* contents = NS::MutableDictionary::dictionary();
    contents->setObject(nsString(f.caption), "caption"_ns);
    contents->setObject(balloons, "balloons"_ns);
    return contents;
}

void layoutSubviews(id self, SEL cmd) {
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd);
    // A new width (the device turned) lays the balloons out again; the
    // backing store is redrawn when the size changes.
    layOut(self);
}

void notified(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef) {
    redraw(static_cast<id>(observer));
}

CFStringRef cf(const NS::String* s) { return reinterpret_cast<CFStringRef>(s); }

void stopObserving(id self) {
    HBPreviewCellFields& f = fieldsOf(self);
    if (!f.observedNotification) return;
    CFNotificationCenterRemoveObserver(CFNotificationCenterGetDarwinNotifyCenter(), self, cf(f.observedNotification),
                                       nullptr);
    f.observedNotification.reset();
}

void didMoveToSuperview(id self, SEL cmd) {
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd);
    stopObserving(self);
    if (objc::cast<UI::View>(self)->superview() == nullptr) return;
    redraw(self);
    if (NS::String* name = stringProperty(self, "redrawNotification"_ns)) {
        fieldsOf(self).observedNotification = objc::adopt(objc::cast<NS::String>(name->copy()));
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), self, &notified,
                                        cf(fieldsOf(self).observedNotification), nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }
}

// The balloon under a finger shows the kind's overlay until it lifts.
int balloonAt(id self, UI::TouchSet* touches) {
    UI::Touch* touch = touches != nullptr ? touches->anyObject() : nullptr;
    if (touch == nullptr) return -1;
    const CGPoint p = touch->locationInView(objc::cast<UI::View>(self));
    const auto& balloons = fieldsOf(self).balloons;
    for (std::size_t i = 0; i < balloons.size(); ++i) {
        if (CGRectContainsPoint(balloons[i].body, p)) return int(i);
    }
    return -1;
}

void press(id self, int balloon) {
    HBPreviewCellFields& f = fieldsOf(self);
    if (f.pressed == balloon) return;
    f.pressed = balloon;
    objc::cast<UI::View>(self)->setNeedsDisplay();
}

// The base still hears the finger, so that a drag that starts on the
// preview scrolls the pane; a finger that drags presses nothing.
void touchesBegan(id self, SEL cmd, UI::TouchSet* touches, id event) {
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd, touches, event);
    press(self, balloonAt(self, touches));
}
void touchesMoved(id self, SEL cmd, UI::TouchSet* touches, id event) {
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd, touches, event);
    if (!objc::cast<UI::TableViewCell>(self)->isHighlighted()) press(self, -1);
}
void touchesEnded(id self, SEL cmd, UI::TouchSet* touches, id event) {
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd, touches, event);
    press(self, -1);
}

id initWithStyleReuseIdentifierSpecifier(id self, SEL cmd, NSInteger style, NS::String* reuse, PS::Specifier* row) {
    self = objc::sendSuper<id>(self, "HBPreviewCell"_cls, cmd, style, reuse, row);
    if (self == nil) return nil;
    auto* cell = objc::cast<UI::TableViewCell>(self);
    // Nothing to choose here: the row does not light up under a finger.
    cell->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);
    cell->contentView()->setUserInteractionEnabled(NO);
    return self;
}

void dealloc(id self, SEL cmd) {
    stopObserving(self);
    objc::sendSuper<void>(self, "HBPreviewCell"_cls, cmd);
}

}  // namespace

HBPreviewCellFields* previewFieldsOf(id cell) {
    if (cell == nil || !objc::cast<NS::Object>(cell)->isKindOfClass("HBPreviewCell"_cls)) return nullptr;
    return &fieldsOf(cell);
}

void registerPreviewCell() {
    static const bool registered = [] {
        objc::ClassBuilder("HBPreviewCell", objc::cls("PSTableCell"))
            .state<HBPreviewCellFields>()
            .method("initWithStyle:reuseIdentifier:specifier:", &initWithStyleReuseIdentifierSpecifier)
            .method("redrawPreview", &redrawPreview)
            .method("previewContents", &previewContents)
            .method("drawRect:", &drawRect)
            .method("layoutSubviews", &layoutSubviews)
            .method("didMoveToSuperview", &didMoveToSuperview)
            .method("touchesBegan:withEvent:", &touchesBegan)
            .method("touchesMoved:withEvent:", &touchesMoved)
            .method("touchesEnded:withEvent:", &touchesEnded)
            .method("touchesCancelled:withEvent:", &touchesEnded)
            .method("dealloc", &dealloc)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace huebloom
