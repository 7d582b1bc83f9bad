#include "values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "errors.h"

namespace render {

namespace {

// The highest sample rate the tool accepts times a day: the largest sample
// position that can mean anything.
constexpr double kMaxFrames = kMaxSeconds * 768000.0;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one decimal point and at least one digit; no sign, no
// exponent, no spaces.
bool isPlainDecimal(const std::string& text) {
    int digits = 0, points = 0;
    for (char c : text) {
        if (isDigit(c)) ++digits;
        else if (c == '.') ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// Lower case letters and digits only: "Dry/Wet" and "dry wet" both become "drywet".
std::string normalised(const std::string& text) {
    std::string result;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c))) result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string firstWord(const std::string& text) {
    std::string word;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            if (!word.empty()) break;
            continue;
        }
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

std::int64_t TimeSpec::frameAt(double sampleRate) const {
    return inSeconds ? std::llround(seconds * sampleRate) : frame;
}

TimeSpec parseTime(const std::string& text) {
    const std::string hint = "bad time '" + text +
                             "': write seconds (1.5s), milliseconds (250ms) or a sample position (66150)";
    TimeSpec time;
    time.text = text;
    std::string number = text;
    double scale = 1.0;
    if (endsWith(text, "ms")) {
        number = text.substr(0, text.size() - 2);
        scale = 0.001;
        time.inSeconds = true;
    } else if (endsWith(text, "s")) {
        number = text.substr(0, text.size() - 1);
        time.inSeconds = true;
    }
    if (!isPlainDecimal(number)) throw UsageError(hint);
    if (!time.inSeconds && number.find('.') != std::string::npos) throw UsageError(hint);

    const double value = std::strtod(number.c_str(), nullptr);
    if (time.inSeconds) {
        time.seconds = value * scale;
        if (time.seconds > kMaxSeconds) throw UsageError("time '" + text + "' is longer than a day");
    } else {
        if (value > kMaxFrames) throw UsageError("time '" + text + "' is longer than a day");
        time.frame = static_cast<std::int64_t>(value);
    }
    return time;
}

VstInt32 parseProgram(const std::string& text, VstInt32 count) {
    const bool digits = !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), isDigit);
    const long program = digits ? std::strtol(text.c_str(), nullptr, 10) : -1;
    if (program < 0 || program >= count)
        throw UsageError("program '" + text + "' is out of range 0.." + std::to_string(count - 1));
    return static_cast<VstInt32>(program);
}

std::vector<Setting> parseSettings(const std::string& text) {
    std::vector<Setting> settings;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t equals = item.find('=');
        Setting setting;
        if (equals != std::string::npos) {
            setting.name = trimmed(item.substr(0, equals));
            setting.value = trimmed(item.substr(equals + 1));
        }
        if (setting.name.empty() || setting.value.empty())
            throw UsageError("bad setting '" + item + "': write NAME=VALUE, for example vowel=0.2");
        settings.push_back(setting);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return settings;
}

ParameterTable::ParameterTable(std::vector<std::string> names) : names_(std::move(names)) {}

VstInt32 ParameterTable::resolve(const std::string& name) const {
    const VstInt32 count = static_cast<VstInt32>(names_.size());
    if (!name.empty() && name.size() <= 9 && std::all_of(name.begin(), name.end(), isDigit)) {
        const long index = std::strtol(name.c_str(), nullptr, 10);
        if (index >= count)
            throw UsageError("parameter index " + name + " is out of range 0.." + std::to_string(count - 1));
        return static_cast<VstInt32>(index);
    }

    const std::string wanted = normalised(name);
    std::vector<VstInt32> exact, prefixed;
    for (VstInt32 i = 0; i < count; ++i) {
        const std::string full = normalised(names_[i]);
        if (wanted.empty()) break;
        if (wanted == full || wanted == firstWord(names_[i])) exact.push_back(i);
        else if (full.compare(0, wanted.size(), wanted) == 0) prefixed.push_back(i);
    }
    const std::vector<VstInt32>& found = exact.empty() ? prefixed : exact;
    if (found.size() == 1) return found.front();

    if (found.empty()) throw UsageError("unknown parameter '" + name + "' (the plug-in has: " + joined(names_) + ")");
    std::vector<std::string> candidates;
    for (VstInt32 i : found) candidates.push_back(names_[i]);
    throw UsageError("ambiguous parameter '" + name + "': " + joined(candidates));
}

float ParameterTable::value(VstInt32 index, const std::string& text) const {
    const std::string& name = names_.at(static_cast<std::size_t>(index));
    const std::string kind = normalised(name);
    const std::string word = normalised(text);
    // The editor's vowel buttons and waveform switch send these values.
    struct Named {
        const char* parameter;
        const char* text;
        float value;
    };
    static const Named kNamed[] = {
        {"vowel", "a", 0.0f},        {"vowel", "e", 0.1f},          {"vowel", "i", 0.2f},
        {"vowel", "o", 0.3f},        {"vowel", "u", 0.4f},          {"waveform", "saw", 0.0f},
        {"waveform", "sawtooth", 0.0f}, {"waveform", "square", 0.4f}, {"waveform", "noise", 0.8f},
    };
    for (const Named& named : kNamed)
        if (kind == named.parameter && word == named.text) return named.value;

    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) ||
        std::isspace(static_cast<unsigned char>(text.front())))
        throw UsageError("bad value '" + text + "' for " + name + ": give a number from 0 to 1");
    if (value < 0.0 || value > 1.0)
        throw UsageError("value " + text + " for " + name + " is out of range 0..1");
    return static_cast<float>(value);
}

}  // namespace render
