// The preview row's costs on an iPhone 5 screen (a 320 × 120 point row at
// scale 2): drawing the cell as it stands, and redrawing it from the
// settings file (reading the file, working out every balloon's look by the
// hook library's rules, laying the balloons out and drawing them), which is
// what the master switch and each appearance of a pane cost. The settings
// use a gradient, a random draw, stripes and single colours, so that every
// kind of fill is drawn.
#include "HBPreviewCell.h"
#include "HBPreviewCellFields.h"

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Preferences/PSSpecifier.h>
#include <UIKit/UIKit.h>

#include <benchmark/benchmark.h>

namespace {

struct Environment {
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
    Ref<UI::TableViewCell> cell;

    explicit Environment(bool transparent = false) {
        UI::screen::setModel(UI::screen::Model::iPhone5);
        huebloom::registerPreviewCell();
        NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
        settings->setObject(NS::Number::numberWithBool(YES), "enabled"_ns);
        settings->setObject(NS::Number::numberWithInteger(1), "imessage"_ns);
        settings->setObject(NS::Number::numberWithInteger(4), "sms"_ns);
        settings->setObject(NS::Number::numberWithInteger(3), "gray"_ns);
        settings->setObject("#FF8000"_ns, "blueText"_ns);
        settings->setObject("#FFFF00"_ns, "grayLinkText"_ns);
        settings->setObject(NS::Number::numberWithBool(transparent ? YES : NO), "transparent"_ns);
        settings->setObject(NS::Number::numberWithInteger(2), "tb_size"_ns);
        settings->setObject(NS::Number::numberWithInteger(12), "tb_radius"_ns);
        settings->writeToFile("/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"_ns, YES);

        PS::Specifier* row = PS::Specifier::preferenceSpecifierNamed(""_ns, nil, PS::PSStaticTextCell);
        row->setProperty("gray"_ns, "previewLink"_ns);
        cell = objc::adopt(objc::send<UI::TableViewCell*>(objc::send<id>("HBPreviewCell"_cls, "alloc"_sel),
                                                          "initWithStyle:reuseIdentifier:specifier:"_sel, NSInteger(0),
                                                          static_cast<id>(nil), row));
        cell->setFrame(CGRectMake(0, 0, 320, 120));
        objc::send<void>(cell.get(), "redrawPreview"_sel);
        cell->layer()->displayIfNeeded();
    }
    ~Environment() { UI::screen::resetModel(); }
};

void drawCell(benchmark::State& state, bool transparent) {
    Environment env(transparent);
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        env.cell->setNeedsDisplay();
        env.cell->layer()->displayIfNeeded();
    }
    if (huebloom::previewFieldsOf(objc::asId(env.cell.get()))->balloons.size() != 4) state.SkipWithError("no balloons");
}

void BM_DrawPreviewCell(benchmark::State& state) { drawCell(state, false); }
BENCHMARK(BM_DrawPreviewCell)->Unit(benchmark::kMillisecond);

void BM_DrawTransparentPreviewCell(benchmark::State& state) { drawCell(state, true); }
BENCHMARK(BM_DrawTransparentPreviewCell)->Unit(benchmark::kMillisecond);

void BM_RedrawPreviewFromTheSettingsFile(benchmark::State& state) {
    Environment env;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        objc::send<void>(env.cell.get(), "redrawPreview"_sel);
        env.cell->layer()->displayIfNeeded();
    }
}
BENCHMARK(BM_RedrawPreviewFromTheSettingsFile)->Unit(benchmark::kMillisecond);

}  // namespace
