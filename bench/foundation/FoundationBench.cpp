// Lookups in the settings dictionary and loading the settings file, the two
// things the hook library does with Foundation: every replaced method looks
// its keys up, and the library loads the 43-key settings file once.
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

const std::string kSettingsFile = std::string(HB_SOURCE_DIR) + "/tests/foundation/corpus/valid/settings43.plist";
constexpr const char* kPhonePath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";

struct Device {
    device::TemporaryDevice device;
    Device() {
        std::filesystem::copy_file(kSettingsFile, device / kPhonePath,
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

// A key found, as the replaced getters look up "blueText" with a literal.
void BM_ObjectForKeyHit(benchmark::State& state) {
    objc::AutoreleasePool pool;
    Device d;
    Ref<NS::Dictionary> pref =
        objc::adopt(NS::Dictionary::alloc()->initWithContentsOfFile(NS::String::stringWithUTF8String(kPhonePath)));
    if (!pref || pref->count() != 43) state.SkipWithError("settings file did not load");
    NS::String* key = "blueText"_ns;
    for (auto _ : state) benchmark::DoNotOptimize(pref->objectForKey(key));
}
BENCHMARK(BM_ObjectForKeyHit);

void BM_ObjectForKeyMiss(benchmark::State& state) {
    objc::AutoreleasePool pool;
    Device d;
    Ref<NS::Dictionary> pref =
        objc::adopt(NS::Dictionary::alloc()->initWithContentsOfFile(NS::String::stringWithUTF8String(kPhonePath)));
    NS::String* key = "noSuchSetting"_ns;
    for (auto _ : state) benchmark::DoNotOptimize(pref->objectForKey(key));
}
BENCHMARK(BM_ObjectForKeyMiss);

// Every one of the 43 keys in turn.
void BM_ObjectForKeyAll43(benchmark::State& state) {
    objc::AutoreleasePool pool;
    Device d;
    Ref<NS::Dictionary> pref =
        objc::adopt(NS::Dictionary::alloc()->initWithContentsOfFile(NS::String::stringWithUTF8String(kPhonePath)));
    Ref<NS::Array> keys = pref->allKeys();
    std::vector<NS::String*> probe;
    for (NSUInteger i = 0; i < keys->count(); ++i) {
        // Separate string objects, as literals in product code would be.
        probe.push_back(NS::String::stringWithString(objc::cast<NS::String>(keys->objectAtIndex(i))));
    }
    for (auto _ : state) {
        for (NS::String* k : probe) benchmark::DoNotOptimize(pref->objectForKey(k));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(probe.size()));
}
BENCHMARK(BM_ObjectForKeyAll43);

// The settings loader: file read, parse and conversion into a dictionary.
void BM_LoadSettingsFile(benchmark::State& state) {
    objc::AutoreleasePool pool;
    Device d;
    // Held across the drains of the loop.
    Ref<NS::String> path = NS::String::stringWithUTF8String(kPhonePath);
    for (auto _ : state) {
        NS::Dictionary* pref = NS::Dictionary::alloc()->initWithContentsOfFile(path);
        if (pref == nullptr || pref->count() != 43) {
            state.SkipWithError("settings file did not load");
            break;
        }
        benchmark::DoNotOptimize(pref);
        pref->release();
        pool.drain();
    }
}
BENCHMARK(BM_LoadSettingsFile);

// The chooser's save: read, set one key, write atomically.
void BM_SaveOneColour(benchmark::State& state) {
    objc::AutoreleasePool pool;
    Device d;
    // Held across the drains of the loop.
    Ref<NS::String> path = NS::String::stringWithUTF8String(kPhonePath);
    for (auto _ : state) {
        NS::MutableDictionary* m = NS::MutableDictionary::dictionaryWithContentsOfFile(path);
        if (m == nullptr) {
            state.SkipWithError("settings file did not load");
            break;
        }
        m->setObject("#FF8000"_ns, "blueText"_ns);
        benchmark::DoNotOptimize(m->writeToFile(path, YES));
        pool.drain();
    }
}
BENCHMARK(BM_SaveOneColour);

}  // namespace
