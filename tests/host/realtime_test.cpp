// The audio thread's calls allocate nothing: processing in every mode and
// handling event lists, counted by this program's own malloc family, which
// the plug-in binds to (the program exports it; the plug-in's statically
// linked C++ runtime allocates through malloc too). Linux builds without
// sanitizers only, which bring their own allocator.

#include <atomic>
#include <cstddef>

#include "audio_fixture.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gCalls{0};

void count() {
    if (gCounting.load(std::memory_order_relaxed)) gCalls.fetch_add(1, std::memory_order_relaxed);
}

// Counts the allocator calls made while it lives.
class AllocationCount {
public:
    AllocationCount() {
        gCalls = 0;
        gCounting = true;
    }
    ~AllocationCount() { gCounting = false; }
    long calls() const { return gCalls.load(); }
};

}  // namespace

extern "C" {
void* malloc(std::size_t size) {
    count();
    return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
    count();
    return __libc_calloc(n, size);
}
void* realloc(void* pointer, std::size_t size) {
    count();
    return __libc_realloc(pointer, size);
}
void free(void* pointer) {
    if (pointer) count();
    __libc_free(pointer);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** pointer, std::size_t alignment, std::size_t size) {
    count();
    *pointer = __libc_memalign(alignment, size);
    return *pointer ? 0 : 12;  // ENOMEM
}
}

namespace {

VstIntPtr VSTCALLBACK bareHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The counter sees the plug-in's own allocations: `main` creates an instance
// with a host callback that allocates nothing.
TEST(RealTime, CounterSeesThePluginsAllocations) {
    const host::PluginEntry entry = pluginLibrary().entry();
    long calls;
    {
        AllocationCount counted;
        AEffect* effect = entry(&bareHost);
        ASSERT_NE(effect, nullptr);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        calls = counted.calls();
    }
    EXPECT_GT(calls, 1);
}

TEST(RealTime, ProcessingAndEventsAllocateNothing) {
    Player player;
    constexpr VstInt32 kFrames = 700;
    Stereo in = Stereo::noise(kFrames, 0.5f), out(kFrames);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    EventList notes({noteOn(60), noteOn(67, 90, 3), noteOff(60), noteOn(72, 0)});
    EventList release({controller(126, 0), noteOff(67), controller(1, 64)});
    VstEvents* noteList = notes.get();
    VstEvents* releaseList = release.get();
    player.run(in);  // first calls resolve the plug-in's symbols

    // Effect mode with a morph running and settled, synth mode with each
    // waveform, both entries, in place.
    long calls = 0;
    player.set(kMorphTime, 0.01f);
    for (float waveform : {0.0f, 0.4f, 0.8f}) {
        player.set(kWaveform, waveform);
        player.set(kVowel, waveform / 2.0f);
        {
            AllocationCount counted;
            player->processReplacing(inputs, outputs, kFrames);
            player->process(inputs, outputs, kFrames);
            player->dispatch(effProcessEvents, 0, 0, noteList);
            for (int block = 0; block < 20; ++block) player->processReplacing(inputs, outputs, kFrames);
            player->process(inputs, inputs, kFrames);
            player->dispatch(effProcessEvents, 0, 0, releaseList);
            player->processReplacing(inputs, inputs, kFrames);
            calls += counted.calls();
        }
    }
    EXPECT_EQ(calls, 0);
}

}  // namespace
