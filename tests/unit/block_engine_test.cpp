// The block entries against the per-frame definition of the path
// (processSample, formantFilter): the same bits for the same input,
// parameters, programs and MIDI.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <vector>

#include "engine_test_plugin.h"
#include "plugin/formant_coeffs.h"
#include "plugin/random.h"

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Both instances receive every change; `fast` then processes through the
// block entries, `reference` frame by frame through processSample.
class TwinInstances {
public:
    void setParameter(VstInt32 index, float value) {
        fast.setParameter(index, value);
        reference.setParameter(index, value);
    }
    void setProgram(VstInt32 program) {
        fast.setProgram(program);
        reference.setProgram(program);
    }
    void setRate(float rate) {
        fast.setRate(rate);
        reference.setRate(rate);
    }
    void midi(unsigned char status, unsigned char data1, unsigned char data2) {
        fast.midi(status, data1, data2);
        reference.midi(status, data1, data2);
    }

    // Processes one block on both and reports the first frame that differs.
    ::testing::AssertionResult processBlock(std::vector<float> left, std::vector<float> right, bool accumulate,
                                            bool inPlace, std::uint64_t noiseSeed) {
        const auto frames = static_cast<VstInt32>(left.size());
        std::vector<float> prefill(left.size());
        for (std::size_t i = 0; i < prefill.size(); ++i) prefill[i] = 0.25f * static_cast<float>(i % 7) - 0.5f;

        std::vector<float> fastLeft = accumulate ? prefill : std::vector<float>(left.size(), 9.0f);
        std::vector<float> fastRight = fastLeft;
        std::vector<float> inLeft = left, inRight = right;
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {fastLeft.data(), fastRight.data()};
        if (inPlace && !accumulate) {
            outputs[0] = inLeft.data();
            outputs[1] = inRight.data();
        }
        random_source::seed(noiseSeed);
        if (accumulate)
            fast.process(inputs, outputs, frames);
        else
            fast.processReplacing(inputs, outputs, frames);

        random_source::seed(noiseSeed);
        reference.takeMorphRequest();
        for (VstInt32 i = 0; i < frames; ++i) {
            float l = left[i], r = right[i];
            reference.processSample(l, r);
            const float expectedLeft = accumulate ? prefill[i] + l : l;
            const float expectedRight = accumulate ? prefill[i] + r : r;
            if (bitsOf(outputs[0][i]) != bitsOf(expectedLeft) || bitsOf(outputs[1][i]) != bitsOf(expectedRight))
                return ::testing::AssertionFailure() << "frame " << i << " of " << frames << ": block engine "
                                                     << outputs[0][i] << ", " << outputs[1][i] << ", per frame "
                                                     << expectedLeft << ", " << expectedRight;
        }
        return sameState();
    }

    ::testing::AssertionResult sameState() {
        if (std::memcmp(fast.fFilterMem, reference.fFilterMem, sizeof fast.fFilterMem) != 0)
            return ::testing::AssertionFailure() << "filter histories differ";
        if (std::memcmp(fast.fGain, reference.fGain, sizeof fast.fGain) != 0 || fast.fMorphPos != reference.fMorphPos)
            return ::testing::AssertionFailure() << "morph state differs";
        if (fast.fVoiceOn.get() != reference.fVoiceOn.get() || fast.fEnvState.get() != reference.fEnvState.get() ||
            bitsOf(fast.fEnvLevel.get()) != bitsOf(reference.fEnvLevel.get()) ||
            bitsOf(fast.fFreq.get()) != bitsOf(reference.fFreq.get()) ||
            bitsOf(fast.fPhase.get()) != bitsOf(reference.fPhase.get()))
            return ::testing::AssertionFailure() << "voice state differs";
        return ::testing::AssertionSuccess();
    }

    EngineTestPlugin fast;
    EngineTestPlugin reference;
};

// Random blocks with every kind of change between them: parameters at and
// around their thresholds, programs, notes, sample rates, loud, silent and
// non-finite input, noise waveform (same seed on both sides), both entries,
// in place, runs longer and shorter than the engine's internal run length.
// Two million frames.
TEST(BlockEngine, MatchesPerFrameDefinition) {
    TwinInstances twins;
    std::mt19937 random(20240611);
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p; };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const float specialValues[] = {0.0f, 1.0f, 0.3f, 0.6f, 0.29f, 0.5f, 1e-6f, 0.25f, 0.75f, 0.1f, 0.4f, 0.8f};
    const int blockSizes[] = {1, 2, 127, 128, 129, 255, 256, 257, 500, 1000};

    // Segments of 40 blocks take turns: notes played, then the voice released
    // (quickly) and the input heard.
    bool notesPlayed = false;
    std::int64_t frames = 0, onFrames = 0, offFrames = 0;
    for (int block = 0; frames < 2000000; ++block) {
        if (block % 40 == 0) {
            notesPlayed = !notesPlayed;
            if (!notesPlayed) {
                twins.setParameter(kRelease, 1.0f);
                twins.midi(0xB0, 126, 0);
            }
        }

        // Changes between blocks.
        while (chance(0.4)) {
            const VstInt32 index = pick(kNumParams);
            if (index == kRelease && !notesPlayed) continue;
            float value = chance(0.5) ? specialValues[pick(12)] : std::uniform_real_distribution<float>(0, 1)(random);
            if (index == kMorphTime && chance(0.8)) value *= 0.005f;  // mostly morphs of a few hundred frames
            twins.setParameter(index, value);
        }
        if (chance(0.02)) twins.setProgram(pick(kNumPrograms));
        if (chance(0.02)) twins.setRate(chance(0.9) ? 44100.0f : static_cast<float>(8000 + pick(184001)));
        while (chance(0.3)) {
            const unsigned char channel = static_cast<unsigned char>(pick(16));
            switch (pick(5)) {
                case 0:
                case 1:
                    if (notesPlayed)
                        twins.midi(0x90 | channel, static_cast<unsigned char>(pick(128)), static_cast<unsigned char>(pick(128)));
                    break;
                case 2: twins.midi(0x80 | channel, static_cast<unsigned char>(pick(128)), 0); break;
                case 3: twins.midi(0xB0 | channel, chance(0.5) ? 126 : 123, 0); break;
                default: twins.midi(0xE0 | channel, 0, 64); break;
            }
        }

        // The block's input.
        const int size = chance(0.5) ? blockSizes[pick(10)] : 1 + pick(700);
        std::vector<float> left(size), right(size);
        const int kind = pick(5);
        for (int i = 0; i < size; ++i) {
            std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
            switch (kind) {
                case 0: left[i] = right[i] = 0.0f; break;
                case 1: left[i] = 100.0f * sample(random), right[i] = 100.0f * sample(random); break;
                case 2: left[i] = 0.5f, right[i] = -0.25f; break;
                default: left[i] = sample(random), right[i] = sample(random); break;
            }
        }
        if (chance(0.01)) left[pick(size)] = chance(0.5) ? std::numeric_limits<float>::quiet_NaN() : -std::numeric_limits<float>::infinity();

        const bool accumulate = chance(0.3);
        ASSERT_TRUE(twins.processBlock(left, right, accumulate, chance(0.3), block)) << "block " << block;
        frames += size;
        (twins.fast.fVoiceOn.get() ? onFrames : offFrames) += size;
    }
    // Both modes had their share.
    EXPECT_GT(onFrames, frames / 10);
    EXPECT_GT(offFrames, frames / 4);
}

// The bank adds its five terms a, e, i, o, u from left to right. With the
// outputs e = 1, i = -1, o = -0.5 at gain 1, the terms 0.58, -0.48 and -0.1
// cancel exactly in that order down to the weights' representation error
// (about -2.8e-17), and u's term of the same size survives; added in any tree
// or in reverse, u is partly lost against the large terms.
TEST(BlockEngine, BankSumAddsTermsLeftToRight) {
    const float outputs[kNumVowels] = {0.75f, 1.0f, -1.0f, -0.5f, 1e-17f};
    const float gains[kNumVowels] = {0.0f, 1.0f, 1.0f, 1.0f, 1.0f};

    // Histories that make each filter's next output outputs[k] for a silent
    // input, and the gains held there (morph time 0).
    EngineTestPlugin fast, reference;
    for (EngineTestPlugin* plugin : {&fast, &reference}) {
        plugin->setParameter(kVolume, 0.0f);  // output gain 1.5
        plugin->setParameter(kMorphTime, 0.0f);
        plugin->takeMorphRequest();
        for (int k = 0; k < kNumVowels; ++k) {
            plugin->fGain[k] = plugin->fGainFrom[k] = plugin->fGainTo[k] = gains[k];
            plugin->fFilterMem[k][0] = outputs[k] / kFormantCoeffs[k][1];
        }
    }
    float left = 0.0f, right = 0.0f;
    reference.processSample(left, right);

    // The terms of the outputs the filters gave (u's is near the bias).
    double terms[kNumVowels];
    for (int k = 0; k < kNumVowels; ++k) {
        const double output = reference.fFilterMem[k][0];
        if (k < 4) {
            ASSERT_EQ(output, outputs[k]) << "vowel " << k;
        }
        terms[k] = ((output * (k == 0 ? 0.5 : 1.0)) * gains[k]) * kVowelWeights[k];
    }
    const float leftToRight = static_cast<float>((((terms[0] + terms[1]) + terms[2]) + terms[3]) + terms[4]);
    const float pairwise = static_cast<float>(((terms[0] + terms[1]) + (terms[2] + terms[3])) + terms[4]);
    const float rightToLeft = static_cast<float>((((terms[4] + terms[3]) + terms[2]) + terms[1]) + terms[0]);
    ASSERT_NE(leftToRight, pairwise);
    ASSERT_NE(leftToRight, rightToLeft);

    EXPECT_EQ(left, static_cast<float>(1.5 * leftToRight));
    EXPECT_EQ(right, left);

    float inLeft[1] = {0.0f}, inRight[1] = {0.0f}, outLeft[1], outRight[1];
    float* inputs[2] = {inLeft, inRight};
    float* outputBuffers[2] = {outLeft, outRight};
    fast.processReplacing(inputs, outputBuffers, 1);
    EXPECT_EQ(outLeft[0], left);
    EXPECT_EQ(outRight[0], left);
}

// 32-bit Windows allocates on 8-byte boundaries: an instance there must work
// without 16-byte alignment, giving the same bits.
TEST(BlockEngine, InstanceOnAnEightByteBoundary) {
    static_assert(alignof(EngineTestPlugin) <= 8, "the instance must not need more than malloc gives everywhere");
    alignas(16) static unsigned char storage[sizeof(EngineTestPlugin) + 16];
    auto* shifted = new (storage + 8) EngineTestPlugin;
    EngineTestPlugin aligned;
    std::vector<float> inLeft(1000), inRight(1000);
    for (int i = 0; i < 1000; ++i) inLeft[i] = inRight[i] = static_cast<float>(i % 37) / 37.0f - 0.5f;
    std::vector<float> out[2][2];
    EngineTestPlugin* plugins[2] = {shifted, &aligned};
    for (int p = 0; p < 2; ++p) {
        out[p][0].resize(1000);
        out[p][1].resize(1000);
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {out[p][0].data(), out[p][1].data()};
        plugins[p]->midi(0x90, 60, 100);
        plugins[p]->processReplacing(inputs, outputs, 1000);
    }
    EXPECT_EQ(out[0][0], out[1][0]);
    EXPECT_EQ(out[0][1], out[1][1]);
    shifted->~EngineTestPlugin();
}

}  // namespace
