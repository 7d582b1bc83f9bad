// Processing as validators and careless hosts exercise it: every sample rate
// and block size, noise, non-finite input, nonsense sample rates, null
// pointers, processing before resume, and changes from other threads while
// audio runs.

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "audio_fixture.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

bool allNormalOrZero(const std::vector<float>& samples, float limit) {
    for (float v : samples) {
        const int kind = std::fpclassify(v);
        if ((kind != FP_NORMAL && kind != FP_ZERO) || std::fabs(v) > limit) return false;
    }
    return true;
}

// Every sample rate from 8 kHz to 192 kHz, blocks of 1 to 8192 frames, odd
// sizes and blocks larger than the announced 512, in effect and synth mode:
// finite output within the clip, nothing written past the block, the input
// left as it was.
TEST(AudioRobustness, EverySampleRateAndBlockSize) {
    const float rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000};
    const std::size_t blocks[] = {1, 2, 3, 17, 64, 511, 512, 513, 1000, 4096, 8192};
    constexpr std::size_t kGuard = 16;
    for (float rate : rates) {
        Player player(rate, 512);
        player.set(kMorphTime, 0.01f);
        std::uint32_t seed = static_cast<std::uint32_t>(rate);
        for (bool synth : {false, true}) {
            if (synth) player.midi({noteOn(100)});
            for (std::size_t block : blocks) {
                const Stereo in = Stereo::noise(block, 0.9f, ++seed);
                Stereo source = in;
                std::vector<float> left(block + kGuard, 5.0f), right(block + kGuard, 5.0f);
                float* inputs[2] = {source.left.data(), source.right.data()};
                float* outputs[2] = {left.data(), right.data()};
                player->processReplacing(inputs, outputs, static_cast<VstInt32>(block));
                player.set(kVowel, static_cast<float>(block % 5) / 10.0f);
                ASSERT_EQ(source, in) << rate << " Hz, block " << block;
                for (std::size_t i = block; i < block + kGuard; ++i) ASSERT_TRUE(left[i] == 5.0f && right[i] == 5.0f);
                left.resize(block);
                right.resize(block);
                ASSERT_TRUE(allNormalOrZero(left, 1.0f) && allNormalOrZero(right, 1.0f)) << rate << " Hz, block " << block;
            }
        }
    }
}

// Noise of any level, in effect and synth mode and with any mix, gives no
// NaN, infinity or subnormal number; nor does the silence after it.
TEST(AudioRobustness, NoiseGivesNoNonFiniteOrSubnormalOutput) {
    for (float amplitude : {1e-3f, 1.0f, 1e3f}) {
        for (float dryWet : {0.0f, 0.5f, 1.0f}) {
            for (float volume : {0.0f, 0.9f, 1.0f}) {
                Player player;
                player.set(kDryWet, dryWet);
                player.set(kVolume, volume);
                player.set(kMorphTime, 0.001f);
                Stereo out = player.run(Stereo::noise(8000, amplitude, 5));
                player.set(kVowel, 0.4f);
                player.midi({noteOn(40)});
                out.append(player.run(Stereo::noise(8000, amplitude, 6)));
                player.midi({controller(126, 0)});
                out.append(player.run(Stereo(60000)));
                EXPECT_TRUE(allNormalOrZero(out.left, 1.0f) && allNormalOrZero(out.right, 1.0f))
                    << "amplitude " << amplitude << ", dry/wet " << dryWet << ", volume " << volume;
            }
        }
    }
}

// One NaN or infinite input frame reaches the clip on its own frame, but the
// filters it passed through start afresh: the output is normal again from the
// next frame and within a thousand frames follows an instance that never saw
// the bad frame.
TEST(AudioRobustness, NonFiniteInputFrameDoesNotStick) {
    const Stereo in = Stereo::noise(20000, 0.5f, 11);
    Player clean;
    const Stereo expected = clean.run(in);
    for (float bad : {kNaN, kInfinity, -kInfinity}) {
        Player player;
        Stereo poisoned = in;
        poisoned.left[10000] = bad;
        const Stereo out = player.run(poisoned);
        EXPECT_TRUE(std::fabs(out.left[10000]) == 1.0f) << bad;
        for (std::size_t i = 10001; i < out.frames(); ++i) {
            ASSERT_TRUE(std::fabs(out.left[i]) < 0.5f && std::isfinite(out.left[i])) << bad << " frame " << i;
            ASSERT_EQ(out.left[i], out.right[i]);
        }
        // Float rounding in the recursion keeps the two a little apart for good
        // (about 1% of the level), but no more.
        double difference = 0.0, level = 0.0;
        for (std::size_t i = 11000; i < out.frames(); ++i) {
            difference = std::max<double>(difference, std::fabs(out.left[i] - expected.left[i]));
            level = std::max<double>(level, std::fabs(expected.left[i]));
        }
        EXPECT_LT(difference, 0.05 * level) << bad;
    }
}

// The oscillator's phase wrap ends promptly at any sample rate the host sets,
// nonsense included, and the voice sounds normally again once the rate is.
TEST(AudioRobustness, PhaseWrapEndsForEverySampleRate) {
    const float rates[] = {0.0f, -0.0f, -44100.0f, kNaN, kInfinity, -kInfinity, 1e-30f, 1.0f, 10e6f};
    for (float rate : rates) {
        Player player;
        player.set(kGlide, 1.0f);
        player.midi({noteOn(127)});
        player.run(44100, 0.0f, 0.0f);
        player->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        const auto start = std::chrono::steady_clock::now();
        const Stereo odd = player.run(4096, 0.0f, 0.0f);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << rate << " Hz";
        EXPECT_TRUE(allNormalOrZero(odd.left, 1.0f)) << rate << " Hz";
        player->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        const Stereo out = player.run(44100, 0.0f, 0.0f);
        float peak = 0.0f;
        for (std::size_t i = 40000; i < out.frames(); ++i) peak = std::max(peak, std::fabs(out.left[i]));
        EXPECT_TRUE(peak > 0.01f && peak < 1.0f) << rate << " Hz: peak " << peak;
    }
}

// A host may process before it ever resumes the plug-in.
TEST(AudioRobustness, ProcessingBeforeResume) {
    const Stereo in = Stereo::noise(5000, 0.5f, 13);
    Player resumed, never(44100.0f, 512, false);
    for (Player* p : {&resumed, &never}) p->midi({noteOn(50)});
    EXPECT_EQ(never.run(in), resumed.run(in));
}

// Null buffers, null channels and frame counts of 0 or less: nothing is
// touched, no state changes, nothing crashes. Null events are skipped.
TEST(AudioRobustness, NullPointersAndEmptyBlocks) {
    Player player, twin;
    float left[4] = {1, 2, 3, 4}, right[4] = {5, 6, 7, 8};
    float* good[2] = {left, right};
    float* nullLeft[2] = {nullptr, right};
    float* nullRight[2] = {left, nullptr};
    float** arrays[] = {nullptr, nullLeft, nullRight};
    for (float** bad : arrays) {
        player->processReplacing(bad, good, 4);
        player->processReplacing(good, bad, 4);
        player->process(bad, good, 4);
        player->process(good, bad, 4);
    }
    for (VstInt32 frames : {0, -1, -512}) {
        player->processReplacing(good, good, frames);
        player->process(good, good, frames);
    }
    const float untouchedLeft[4] = {1, 2, 3, 4}, untouchedRight[4] = {5, 6, 7, 8};
    EXPECT_EQ(std::memcmp(left, untouchedLeft, sizeof left), 0);
    EXPECT_EQ(std::memcmp(right, untouchedRight, sizeof right), 0);

    EventList events({noteOn(60)});
    events.addNull();
    events.addOther(kVstSysExType);
    events.add(noteOn(64));
    EXPECT_EQ(player->dispatch(effProcessEvents, 0, 0, events.get()), 1);
    EXPECT_EQ(twin.midi({noteOn(60), noteOn(64)}), 1);
    EventList empty({});
    EXPECT_EQ(player->dispatch(effProcessEvents, 0, 0, empty.get()), 1);
    EXPECT_EQ(player->dispatch(effProcessEvents, 0, 0, nullptr), 0);

    const Stereo in = Stereo::noise(3000, 0.5f, 17);
    EXPECT_EQ(player.run(in), twin.run(in));
}

// Parameters and programs changed from one thread while another processes
// (the ThreadSanitizer build checks for races), with vowel changes racing
// against every block: the last vowel chosen is never lost. With morph time
// 0 the gains then rest on it from the next block, so the output equals an
// instance set to that vowel from the start (the filter histories depend
// only on the input).
TEST(AudioRobustness, ChangesFromOtherThreadsWhileProcessing) {
    for (int round = 0; round < 3; ++round) {
        Player player;
        std::atomic<bool> stop{false};
        std::atomic<std::int64_t> framesDone{0};
        std::thread audio([&] {
            const Stereo in(256, 0.5f, 0.5f);
            while (!stop.load()) {
                player.run(in, 256);
                framesDone += 256;
            }
        });
        std::thread control([&] {
            for (int i = 0; i < 3000; ++i) {
                player.set(i % kParamCount, static_cast<float>(i % 11) / 10.0f);
                player.set(kVowel, static_cast<float>(i % 5) / 10.0f);
                if (i % 100 == 0) player->dispatch(effSetProgram, 0, i % kProgramCount);
                player.set(kMorphTime, static_cast<float>(i % 3) * 0.001f);
            }
            player.set(kDryWet, 0.0f);
            player.set(kVolume, 0.5f);
            player.set(kMorphTime, 0.0f);
            player.set(kVowel, 0.3f);  // o, the last change
        });
        control.join();
        while (framesDone.load() < 256 * 20) std::this_thread::yield();
        stop = true;
        audio.join();

        // A reference instance resting on o, brought to the same frame.
        Player reference;
        reference.set(kMorphTime, 0.0f);
        reference.set(kVowel, 0.3f);
        reference.set(kVolume, 0.5f);
        reference.run(static_cast<std::size_t>(framesDone.load()), 0.5f, 0.5f);
        EXPECT_EQ(player.run(2000, 0.5f, 0.5f), reference.run(2000, 0.5f, 0.5f)) << "round " << round;
    }
}

}  // namespace
