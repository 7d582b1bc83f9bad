// The one-voice synthesiser: MIDI note handling, glide, a linear attack and
// release envelope, and a sawtooth, square or noise oscillator.
//
// A plain value: the audio thread loads it from the instance's shared voice
// fields at the start of a block (or an event list), steps it, and stores it
// back at the end. Every step rounds to float exactly where the stored fields
// are floats, with double arithmetic in between.
#pragma once

#include <cstdint>

#include "plugin/formant_coeffs.h"
#include "plugin/plugin.h"
#include "plugin/random.h"

// The parameters the voice reads, taken once per block.
struct VoiceSettings {
    float glide;
    float attack;
    float release;
    float waveform;
    float sampleRate;
};

struct SynthVoice {
    bool on = false;              // the voice's sample replaces the input this frame
    VstInt32 envState = esIdle;
    float envLevel = 0.0f;        // 0..1; may overshoot 1 on the frame the attack ends
    float freq = 0.0f;            // Hz, glides towards targetFreq
    float targetFreq = 0.0f;      // Hz, of the last note-on
    float phase = 0.0f;           // samples into the current period
    VstInt32 notesHeld = 0;       // note-ons minus note-offs; may go below 0

    // ---- MIDI (between blocks) ----------------------------------------------
    // Applies one MIDI message of any channel: note on, note off (also note on
    // with velocity 0) and controller 126; every other message is ignored.
    void applyMidi(unsigned char status, unsigned char data1, unsigned char data2);
    void noteOn(int midiNote);
    void noteOff();
    void releaseAll();  // controller 126

    // ---- Per frame, in this order ---------------------------------------------
    // Moves freq one step of 0.0001 + 0.3 x glide Hz towards the target; with
    // no stop at the target it then alternates around it.
    void glideStep(float glide);
    // Advances the envelope and decides `on` for this frame; the ramps rise by
    // attack / 10000 and fall by release / 10000 per frame.
    void envelopeStep(float attack, float release);
    // The oscillator's sample for this frame, scaled by the envelope; call only
    // while `on`. Waveform: sawtooth up to 0.3, square up to 0.6, noise above.
    float sourceSample(float sampleRate, float waveform);
};

// fPhase after one frame's advance: while it is at or past the period, the
// period is subtracted (each result rounded to float). Where that would take
// more than a few steps (a sample rate near 0 Hz) the remainder is taken at
// once, and where it would never end (a period of zero or below) the phase
// restarts at 0: a host's audio thread must never hang on a nonsense rate.
inline float wrapPhase(float phase, float period) noexcept;
float wrapPhasePastPeriod(float phase, float period) noexcept;  // the rare part

// ---- The per-frame steps, inline: a block runs them once per frame -------------

namespace voice_detail {
inline float toFloat(double value) noexcept { return static_cast<float>(value); }
}  // namespace voice_detail

inline float wrapPhase(float phase, float period) noexcept {
    return phase >= period ? wrapPhasePastPeriod(phase, period) : phase;
}

inline void SynthVoice::glideStep(float glide) {
    using voice_detail::toFloat;
    if (freq < targetFreq)
        freq = toFloat((static_cast<double>(freq) + 0.0001) + 0.3 * static_cast<double>(glide));
    else if (freq > targetFreq)
        freq = toFloat((static_cast<double>(freq) - 0.0001) - 0.3 * static_cast<double>(glide));
}

inline void SynthVoice::envelopeStep(float attack, float release) {
    using voice_detail::toFloat;
    switch (envState) {
        case esAttack:
            on = true;
            envLevel = toFloat((static_cast<double>(attack) / 10000.0 + static_cast<double>(envLevel)) + kDenormalBias);
            if (envLevel >= 1.0f) envState = esSustain;  // kept above 1 on this frame
            break;
        case esSustain:
            on = true;
            envLevel = 1.0f;
            break;
        case esRelease:
            on = true;
            envLevel = toFloat((static_cast<double>(envLevel) - static_cast<double>(release) / 10000.0) + kDenormalBias);
            if (!(envLevel > 0.0f)) {
                envState = esIdle;
                envLevel = 0.0f;
                on = false;
            }
            break;
        default:
            envLevel = 0.0f;
            on = false;
            break;
    }
}

inline float SynthVoice::sourceSample(float sampleRate, float waveform) {
    using voice_detail::toFloat;
    const float period = toFloat(static_cast<double>(sampleRate) / static_cast<double>(freq));
    // The position in the period before this frame's advance: 0 to below 1,
    // or a little above 1 just after the glide shortened the period.
    const float position = toFloat(static_cast<double>(phase) / static_cast<double>(period) + kDenormalBias);
    phase = wrapPhase(toFloat(static_cast<double>(phase) + 1.0), period);

    float sample;
    const double shape = waveform;
    if (shape > 0.6) {
        sample = toFloat(2.0 * random_source::next() - 1.0);
    } else if (shape > 0.3) {
        sample = position < 0.5f ? 1.0f : -1.0f;
    } else {
        // Sawtooth: 0 at the start of the period, just below 1 at mid-period,
        // then -1 rising back to 0.
        const double doubled = 2.0 * static_cast<double>(position);
        sample = toFloat(position < 0.5f ? doubled : doubled - 2.0);
    }
    return toFloat(static_cast<double>(sample) * static_cast<double>(envLevel) + kDenormalBias);
}
