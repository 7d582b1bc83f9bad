// The pitch of a MIDI note for the synthesiser voice.
#pragma once

// The frequency in Hz that a MIDI note number sounds: 440 Hz for note 69,
// twelve-tone equal temperament above note 12, and note 12's 16.3516 Hz for
// notes 0 to 11.
float noteFrequency(int midiNote) noexcept;

// Entry n is the float nearest to 440 x 2^((n - 57) / 12) Hz, computed in
// double and rounded once; note m uses entry m - 12, clamped to 0..119.
constexpr int kNoteTableSize = 120;
extern const float kNoteFrequencies[kNoteTableSize];
