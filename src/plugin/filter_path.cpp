// Audio processing: the two block entries, the vowel morph, and the
// definition of one frame (processSample and formantFilter).
//
// A block goes in runs of up to FormantBank::kMaxFrames frames: the voice or
// the host's input gives each frame's filter input and dry values, then
// FormantBank does the morph, the filters, the bank sum, the mix and the
// clip. Parameters are read once per block, so a change made during a block
// acts from the next one.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "plugin/formant_coeffs.h"
#include "plugin/plugin.h"
#include "plugin/synth_voice.h"

namespace {

float toFloat(double value) noexcept { return static_cast<float>(value); }

bool hasStereo(float** buffers) noexcept { return buffers && buffers[0] && buffers[1]; }

// Left and right folded into the filter input.
float foldToMono(float left, float right) noexcept {
    return toFloat((static_cast<double>(left) + static_cast<double>(right)) * 0.5);
}

// Above 1 gives 1; anything not at least -1, NaN included, gives -1.
float clip(float value) noexcept {
    if (value > 1.0f) return 1.0f;
    if (!(value >= -1.0f)) return -1.0f;
    return value;
}

}  // namespace

// ---- Block entries -------------------------------------------------------------

void APlugin::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames, true);
}

void APlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames, false);
}

void APlugin::processBlock(float** inputs, float** outputs, VstInt32 sampleFrames, bool accumulate) {
    if (sampleFrames <= 0 || !hasStereo(inputs) || !hasStereo(outputs)) return;
    takeMorphRequest();

    const VoiceSettings voiceSettings{fGlide.get(), fAttack.get(), fRelease.get(), fWaveform.get(), sampleRate.get()};
    const double dryWet = fDryWet.get();
    const FormantBank::Mix mix{dryWet, 1.0 - dryWet, (1.0 - static_cast<double>(fVolume.get())) * 1.5};
    const VstInt32 morphLength = fMorphLen.get();

    SynthVoice voice = loadVoice();
    fBank.loadHistory(fFilterMem);
    for (std::int64_t offset = 0; offset < sampleFrames; offset += FormantBank::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::int64_t>(FormantBank::kMaxFrames, sampleFrames - offset));
        const auto first = static_cast<VstInt32>(offset);
        prepareSources(voice, voiceSettings, inputs, first, frames);
        fBank.run(frames, morphOver(morphLength, frames), mix, accumulate, outputs[0] + first, outputs[1] + first);
    }
    fBank.storeHistory(fFilterMem);
    storeVoice(voice);
}

void APlugin::prepareSources(SynthVoice& voice, const VoiceSettings& settings, float** inputs, VstInt32 offset,
                             int frames) {
    const float* left = inputs[0] + offset;
    const float* right = inputs[1] + offset;
    // An idle voice at rest stays silent for the whole run: only the input
    // passes.
    if (voice.envState == esIdle && voice.freq == voice.targetFreq) {
        voice.envLevel = 0.0f;
        voice.on = false;
        for (int i = 0; i < frames; ++i) {
            fBank.dry[i][0] = left[i];
            fBank.dry[i][1] = right[i];
            fBank.input[i] = foldToMono(left[i], right[i]);
        }
        return;
    }
    // A local copy, so that its fields can stay in registers across frames.
    SynthVoice local = voice;
    // Once past its target the glide alternates between two values for good:
    // the same frequency, target and step always give the same next one. When
    // a step lands on the value of the step before last, further steps are
    // swaps, which take the glide's arithmetic off the per-frame path.
    float previous = std::numeric_limits<float>::quiet_NaN();
    bool alternating = false;
    for (int i = 0; i < frames; ++i) {
        if (alternating) {
            std::swap(local.freq, previous);
        } else {
            const float before = local.freq;
            local.glideStep(settings.glide);
            alternating = local.freq == previous;
            previous = before;
        }
        local.envelopeStep(settings.attack, settings.release);
        if (local.on) {
            const float sample = local.sourceSample(settings.sampleRate, settings.waveform);
            fBank.dry[i][0] = fBank.dry[i][1] = fBank.input[i] = sample;
        } else {
            fBank.dry[i][0] = left[i];
            fBank.dry[i][1] = right[i];
            fBank.input[i] = foldToMono(left[i], right[i]);
        }
    }
    voice = local;
}

// ---- Vowel morph ----------------------------------------------------------------

FormantBank::Morph APlugin::morphOver(VstInt32 morphLength, int frames) {
    // The frames of the run in which the counter, once incremented, is still
    // below the length; from the next frame on the gains rest on fGainTo.
    const std::int64_t running =
        std::max<std::int64_t>(0, std::min<std::int64_t>(frames, std::int64_t{morphLength} - fMorphPos - 1));
    FormantBank::Morph morph{static_cast<int>(running), fMorphPos, static_cast<double>(morphLength), {}, {}};
    for (int k = 0; k < kNumVowels; ++k) {
        morph.from[k] = fGainFrom[k];
        morph.to[k] = fGainTo[k];
    }
    // Leave the counter and the gains where frame-by-frame steps would.
    if (running == frames) {
        fMorphPos = static_cast<VstInt32>(fMorphPos + running - 1);
        morphStep(morphLength);
    } else {
        fMorphPos = morphLength;
        for (int k = 0; k < kNumVowels; ++k) fGain[k] = fGainTo[k];
    }
    return morph;
}

// The gains are recomputed from both end points on every frame, never stepped
// from the previous frame, and land exactly on fGainTo. The counter stops at
// the length, so it cannot overflow.
void APlugin::morphStep(VstInt32 morphLength) {
    if (fMorphPos < INT32_MAX) ++fMorphPos;
    if (morphLength > fMorphPos) {
        const double t = toFloat(static_cast<double>(fMorphPos) / static_cast<double>(morphLength));
        for (int k = 0; k < kNumVowels; ++k)
            fGain[k] = toFloat((1.0 - t) * static_cast<double>(fGainFrom[k]) + t * static_cast<double>(fGainTo[k]));
    } else {
        fMorphPos = morphLength;
        for (int k = 0; k < kNumVowels; ++k) fGain[k] = fGainTo[k];
    }
}

// ---- One frame --------------------------------------------------------------------

void APlugin::processSample(float& left, float& right) {
    // Voice: glide, envelope, then its sample replaces the input.
    SynthVoice voice = loadVoice();
    voice.glideStep(fGlide.get());
    voice.envelopeStep(fAttack.get(), fRelease.get());
    float input;
    if (voice.on) {
        left = voice.sourceSample(sampleRate.get(), fWaveform.get());
        right = left;
        input = left;
    } else {
        input = foldToMono(left, right);
    }
    storeVoice(voice);

    morphStep(fMorphLen.get());

    // The bank, in the order a, e, i, o, u, summed from left to right.
    const double y0 = formantFilter(0, input);
    const double y1 = formantFilter(1, input);
    const double y2 = formantFilter(2, input);
    const double y3 = formantFilter(3, input);
    const double y4 = formantFilter(4, input);
    const float wet = toFloat(((y0 * kVowelAScale) * fGain[0]) * kVowelWeights[0] + (y1 * fGain[1]) * kVowelWeights[1] +
                               (y2 * fGain[2]) * kVowelWeights[2] + (y3 * fGain[3]) * kVowelWeights[3] +
                               (y4 * fGain[4]) * kVowelWeights[4]);

    const double dryWet = fDryWet.get();
    const double gain = (1.0 - static_cast<double>(fVolume.get())) * 1.5;
    left = toFloat(gain * (left * dryWet + (1.0 - dryWet) * wet));
    right = toFloat(gain * (right * dryWet + (1.0 - dryWet) * wet));
    left = clip(left);
    right = clip(right);
}

float APlugin::formantFilter(int vowel, float input) {
    const double* c = kFormantCoeffs[vowel];
    double* history = fFilterMem[vowel];
    double sum = c[0] * static_cast<double>(input);
    for (int j = 1; j <= kFilterOrder; ++j) sum += c[j] * history[j - 1];
    sum += kDenormalBias;
    const float output = toFloat(sum);

    for (int j = kFilterOrder - 1; j > 0; --j) history[j] = history[j - 1];
    history[0] = output;
    // A NaN or infinity would stay in the recursion for good and pin every
    // later output to full scale: start this filter afresh instead.
    if (!std::isfinite(output))
        for (int j = 0; j < kFilterOrder; ++j) history[j] = 0.0;
    return output;
}
