// The small languages of the command line: times ("1.5s", "250ms", or a
// sample position "66150"), parameter settings ("vowel=0.2,volume=0.1") and
// parameter names, which are matched against the names the plug-in reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vst/aeffect.h"

namespace render {

// The longest time the tool accepts anywhere, in seconds: a day.
constexpr double kMaxSeconds = 86400.0;

// A moment in the render: seconds, converted at the render's sample rate, or
// a sample position.
struct TimeSpec {
    bool inSeconds = false;
    double seconds = 0.0;
    std::int64_t frame = 0;
    std::string text;  // as the user wrote it, for messages

    // The sample position at `sampleRate`, rounded to the nearest frame.
    std::int64_t frameAt(double sampleRate) const;
};

// Throws UsageError for anything but "<number>s", "<number>ms" or a whole
// number of samples, and for negative or absurdly long times.
TimeSpec parseTime(const std::string& text);

// A program number 0..count-1; throws UsageError otherwise.
VstInt32 parseProgram(const std::string& text, VstInt32 count);

// One NAME=VALUE pair, still as text.
struct Setting {
    std::string name;
    std::string value;
};

// "vowel=0.2,volume=0.1" -> two settings. Throws UsageError on an empty name
// or value or a missing '='.
std::vector<Setting> parseSettings(const std::string& text);

// The plug-in's parameters by the names it reports (effGetParamName).
class ParameterTable {
public:
    explicit ParameterTable(std::vector<std::string> names);

    // An index "0".."n-1", a full name ("release time", "releasetime"), its
    // first word ("release") or a unique prefix ("vol"); case, spaces and
    // punctuation do not matter. Throws UsageError for an unknown or
    // ambiguous name.
    VstInt32 resolve(const std::string& name) const;

    // A value 0..1 for parameter `index`; the vowel also takes a, e, i, o, u
    // and the waveform saw, square, noise (the values of the editor's
    // buttons). Throws UsageError for anything else or a value outside 0..1.
    float value(VstInt32 index, const std::string& text) const;

    const std::vector<std::string>& names() const noexcept { return names_; }

private:
    std::vector<std::string> names_;
};

}  // namespace render
