// The preview row's cell: its layout at every width a pane has on the three
// models in both orientations, and the overlay under a finger.
#include "HBPreviewCell.h"
#include "HBPreviewCellFields.h"

#include "../uikit/UIKitTesting.h"

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

constexpr CGFloat kRowHeight = 120;  // the rows' "height" in the specifier lists

// The colour at a point of the cell once the screen is painted.
uitest::Pixel paintedPoint(UI::View* view, CGPoint p) {
    UI::updateDisplay();
    return uitest::samplePoint(view, p.x, p.y);
}

class PreviewCellTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

    static void SetUpTestSuite() { huebloom::registerPreviewCell(); }

    void writeSettings(std::initializer_list<std::pair<const char*, NS::Object*>> values) {
        NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
        for (auto& [k, v] : values) d->setObject(v, NS::String::stringWithUTF8String(k));
        d->writeToFile(NS::String::stringWithUTF8String(huebloom::kSettingsPath), YES);
    }

    Ref<UI::TableViewCell> makeCell(const char* link, CGFloat width) {
        PS::Specifier* row = PS::Specifier::preferenceSpecifierNamed(""_ns, nil, PS::PSStaticTextCell);
        row->setProperty(NS::String::stringWithUTF8String(link), "previewLink"_ns);
        Ref<UI::TableViewCell> cell = objc::adopt(objc::send<UI::TableViewCell*>(
            objc::send<id>("HBPreviewCell"_cls, "alloc"_sel), "initWithStyle:reuseIdentifier:specifier:"_sel,
            NSInteger(0), static_cast<id>(nil), row));
        cell->setFrame(CGRectMake(0, 0, width, kRowHeight));
        objc::send<void>(cell.get(), "redrawPreview"_sel);
        cell->layoutIfNeeded();
        return cell;
    }
};

// Received balloons on the left, sent ones on the right, each a step lower:
// no two touch, the tails stay inside the row, and every text has its whole
// balloon.
TEST_F(PreviewCellTest, BalloonsStayApartAndInsideTheRowAtEveryWidth) {
    writeSettings({});
    for (CGFloat width : {320.0, 480.0, 568.0, 768.0, 1024.0}) {
        for (const char* link : {"blue", "green", "gray", "unknown"}) {
            SCOPED_TRACE(std::to_string(int(width)) + " " + link);
            Ref<UI::TableViewCell> cell = makeCell(link, width);
            const auto& balloons = huebloom::previewFieldsOf(objc::asId(cell.get()))->balloons;
            ASSERT_EQ(balloons.size(), 4u);
            int links = 0;
            for (std::size_t i = 0; i < balloons.size(); ++i) {
                const CGRect a = balloons[i].body;
                links += !balloons[i].message.link.empty();
                EXPECT_EQ(balloons[i].message.fromMe, i % 2 == 1) << "the sides alternate";
                EXPECT_GE(CGRectGetMinX(a), 10) << i;
                EXPECT_LE(CGRectGetMaxX(a), width - 10) << i;
                EXPECT_GE(CGRectGetMinY(a), 20) << "below the caption: " << i;
                EXPECT_LE(CGRectGetMaxY(a), kRowHeight - 4) << i;
                EXPECT_GE(a.size.height, 35) << i;
                EXPECT_LT(a.size.width, (width - 28) / 2) << "room for the whole text: " << i;
                for (std::size_t j = i + 1; j < balloons.size(); ++j) {
                    const CGRect b = balloons[j].body;
                    if (balloons[i].message.fromMe == balloons[j].message.fromMe) {
                        EXPECT_GE(CGRectGetMinY(b) - CGRectGetMaxY(a), 2) << i << " above " << j;
                    } else {
                        EXPECT_FALSE(CGRectIntersectsRect(CGRectInset(a, -4, 0), b)) << i << " beside " << j;
                    }
                }
            }
            EXPECT_EQ(links, 1);
        }
    }
}

NS::Object* entry(NS::Dictionary* d, const char* key) {
    return objc::cast<NS::Object>(d->objectForKey(NS::String::stringWithUTF8String(key)));
}
std::string stringEntry(NS::Dictionary* d, const char* key) {
    NS::Object* value = entry(d, key);
    return value != nullptr ? objc::cast<NS::String>(value)->UTF8String() : "<none>";
}
double numberEntry(NS::Dictionary* d, const char* key) {
    NS::Object* value = entry(d, key);
    return value != nullptr ? objc::cast<NS::Number>(value)->doubleValue() : -1;
}
bool boolEntry(NS::Dictionary* d, const char* key) {
    NS::Object* value = entry(d, key);
    return value != nullptr && objc::cast<NS::Number>(value)->boolValue();
}

// What the cell answers to previewContents is what it draws: every balloon's
// message, body, colours (the very colour objects it paints with), border
// and tail, and the caption, under settings that use each part.
TEST_F(PreviewCellTest, ItsContentsAreWhatItDraws) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"no settings", [&] { writeSettings({}); }},
        {"transparent with a border",
         [&] {
             writeSettings({{"enabled", NS::Number::numberWithBool(YES)},
                            {"transparent", NS::Number::numberWithBool(YES)},
                            {"border", "#FF0000"_ns},
                            {"tb_size", NS::Number::numberWithInteger(2)},
                            {"tb_radius", NS::Number::numberWithInteger(10)},
                            {"tail", NS::Number::numberWithBool(YES)}});
         }},
        {"random and solid",
         [&] {
             writeSettings({{"enabled", NS::Number::numberWithBool(YES)},
                            {"imessage", NS::Number::numberWithInteger(4)},
                            {"sms", NS::Number::numberWithInteger(1)},
                            {"blueText", "#FF8000"_ns},
                            {"greenLinkText", "#123456"_ns}});
         }},
    };
    for (const auto& [name, write] : cases) {
        SCOPED_TRACE(name);
        write();
        Ref<UI::TableViewCell> cell = makeCell("green", 320);
        const HBPreviewCellFields& f = *huebloom::previewFieldsOf(objc::asId(cell.get()));
        NS::Dictionary* contents = objc::cast<HBPreviewCell>(cell.get())->previewContents();
        ASSERT_NE(contents, nullptr);
        EXPECT_EQ(stringEntry(contents, "caption"), f.caption);
        auto* balloons = objc::cast<NS::Array>(entry(contents, "balloons"));
        ASSERT_NE(balloons, nullptr);
        ASSERT_EQ(balloons->count(), f.balloons.size());
        for (std::size_t i = 0; i < f.balloons.size(); ++i) {
            SCOPED_TRACE(i);
            const HBPreviewCellFields::Balloon& b = f.balloons[i];
            auto* d = objc::cast<NS::Dictionary>(balloons->objectAtIndex(i));
            EXPECT_EQ(stringEntry(d, "kind"), b.message.kind->name);
            EXPECT_EQ(boolEntry(d, "fromMe"), b.message.fromMe);
            EXPECT_EQ(stringEntry(d, "text"), b.message.text);
            EXPECT_EQ(stringEntry(d, "link"), b.message.link.empty() ? "<none>" : b.message.link);
            auto* frame = objc::cast<NS::Dictionary>(entry(d, "frame"));
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(numberEntry(frame, "x"), b.body.origin.x);
            EXPECT_EQ(numberEntry(frame, "y"), b.body.origin.y);
            EXPECT_EQ(numberEntry(frame, "width"), b.body.size.width);
            EXPECT_EQ(numberEntry(frame, "height"), b.body.size.height);
            auto* fill = objc::cast<NS::Array>(entry(d, "fill"));
            ASSERT_NE(fill, nullptr);
            ASSERT_EQ(fill->count(), b.look.fill ? b.look.fill->count() : 0u);
            for (NSUInteger k = 0; k < fill->count(); ++k)
                EXPECT_EQ(fill->objectAtIndex(k), b.look.fill->objectAtIndex(k)) << "stop " << k;
            EXPECT_EQ(boolEntry(d, "random"), b.look.random);
            EXPECT_EQ(entry(d, "textColor"), objc::cast<NS::Object>(b.look.text.get()));
            EXPECT_EQ(entry(d, "linkColor"), objc::cast<NS::Object>(b.look.link.get()));
            EXPECT_EQ(entry(d, "overlay"), objc::cast<NS::Object>(b.look.overlay.get()));
            auto* border = objc::cast<NS::Dictionary>(entry(d, "border"));
            ASSERT_EQ(border != nullptr, static_cast<bool>(b.look.border));
            if (border != nullptr) {
                EXPECT_EQ(entry(border, "color"), objc::cast<NS::Object>(b.look.border.get()));
                EXPECT_EQ(numberEntry(border, "width"), b.look.borderWidth);
                EXPECT_EQ(numberEntry(border, "cornerRadius"), b.look.cornerRadius);
            }
            EXPECT_EQ(boolEntry(d, "tail"), b.tail);
        }
    }
}

// As in Messages, a finger on a balloon darkens it with the kind's overlay
// colour until it lifts; the colour saved as an alpha overlay is the one laid
// over.
TEST_F(PreviewCellTest, AFingerOnABalloonLaysTheOverlayOverIt) {
    writeSettings({{"enabled", NS::Number::numberWithBool(YES)},
                   {"imessage", NS::Number::numberWithInteger(2)},
                   {"bot", "#FFFFFF"_ns},
                   {"blueOverlay", "#FF0000:0.500000"_ns}});
    UI::screen::setModel(UI::screen::Model::iPhone5);
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    window->makeKeyAndVisible();
    Ref<UI::TableViewCell> cell = makeCell("gray", 320);
    cell->setFrame(CGRectMake(0, 100, 320, kRowHeight));
    window->addSubview(cell.get());
    const CGRect body = huebloom::previewFieldsOf(objc::asId(cell.get()))->balloons[1].body;
    const CGPoint inside = CGPointMake(CGRectGetMinX(body) + 6, CGRectGetMidY(body));

    const uitest::Pixel before = paintedPoint(cell.get(), inside);
    EXPECT_EQ(before.r + before.g + before.b, 3 * 255) << "the Solid white body";
    {
        UI::input::Finger finger(cell->convertPointToView(inside, nullptr));
        const uitest::Pixel pressed = paintedPoint(cell.get(), inside);
        EXPECT_NEAR(pressed.r, 255, 2);
        EXPECT_NEAR(pressed.g, 128, 2);
        EXPECT_NEAR(pressed.b, 128, 2);
        EXPECT_EQ(huebloom::previewFieldsOf(objc::asId(cell.get()))->pressed, 1);
    }
    const uitest::Pixel after = paintedPoint(cell.get(), inside);
    EXPECT_EQ(after.r + after.g + after.b, 3 * 255) << "lifted";
    window->setHidden(YES);
    UI::screen::resetModel();
}

}  // namespace
