#include "spectrogram.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace render {

namespace {

constexpr double kPi = 3.14159265358979323846;

// In-place radix-2 FFT; the size is a power of two.
void fft(std::vector<std::complex<double>>& data) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * kPi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> twiddle(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = data[start + k];
                const std::complex<double> odd = data[start + k + length / 2] * twiddle;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                twiddle *= step;
            }
        }
    }
}

// Black through violet, red and orange to pale yellow.
void colour(double level, std::uint8_t* rgb) {
    struct Stop {
        double at;
        double r, g, b;
    } static const kStops[] = {
        {0.0, 0, 0, 0}, {0.3, 45, 10, 95}, {0.55, 175, 30, 90}, {0.8, 250, 135, 25}, {1.0, 255, 250, 205},
    };
    level = std::clamp(level, 0.0, 1.0);
    std::size_t i = 1;
    while (i + 1 < std::size(kStops) && level > kStops[i].at) ++i;
    const Stop& a = kStops[i - 1];
    const Stop& b = kStops[i];
    const double t = (level - a.at) / (b.at - a.at);
    rgb[0] = static_cast<std::uint8_t>(std::lround(a.r + (b.r - a.r) * t));
    rgb[1] = static_cast<std::uint8_t>(std::lround(a.g + (b.g - a.g) * t));
    rgb[2] = static_cast<std::uint8_t>(std::lround(a.b + (b.b - a.b) * t));
}

}  // namespace

std::vector<std::vector<float>> shortTimeSpectrum(const std::vector<float>& signal, int fftSize, int hop) {
    const std::size_t size = static_cast<std::size_t>(fftSize);
    std::vector<double> window(size);
    for (std::size_t i = 0; i < size; ++i)
        window[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / static_cast<double>(size));

    // One column per hop, each window centred on its column.
    const std::size_t columns = std::max<std::size_t>(1, (signal.size() + static_cast<std::size_t>(hop) - 1) / hop);
    std::vector<std::vector<float>> spectrum(columns, std::vector<float>(size / 2 + 1));
    std::vector<std::complex<double>> buffer(size);
    for (std::size_t column = 0; column < columns; ++column) {
        const long long start = static_cast<long long>(column) * hop - fftSize / 2;
        for (std::size_t i = 0; i < size; ++i) {
            const long long at = start + static_cast<long long>(i);
            const double sample = at >= 0 && at < static_cast<long long>(signal.size()) ? signal[static_cast<std::size_t>(at)] : 0.0;
            buffer[i] = sample * window[i];
        }
        fft(buffer);
        for (std::size_t bin = 0; bin <= size / 2; ++bin) spectrum[column][bin] = static_cast<float>(std::abs(buffer[bin]));
    }
    return spectrum;
}

RgbImage spectrogramImage(const std::vector<float>& signal, double sampleRate, const SpectrogramShape& shape) {
    const auto spectrum = shortTimeSpectrum(signal, shape.fftSize, shape.hop);
    float loudest = 0.0f;
    for (const auto& column : spectrum)
        for (float magnitude : column) loudest = std::max(loudest, magnitude);

    const int width = static_cast<int>(spectrum.size());
    RgbImage image(width, shape.height);
    const double binsPerHz = shape.fftSize / sampleRate;
    const double lastBin = shape.fftSize / 2.0;
    for (int y = 0; y < shape.height; ++y) {
        const double frequency = shape.topFrequency * (shape.height - 1 - y) / (shape.height - 1);
        const double bin = std::min(frequency * binsPerHz, lastBin);
        const std::size_t low = static_cast<std::size_t>(bin);
        const std::size_t high = std::min(low + 1, static_cast<std::size_t>(lastBin));
        const double blend = bin - static_cast<double>(low);
        for (int x = 0; x < width; ++x) {
            const auto& column = spectrum[static_cast<std::size_t>(x)];
            const double magnitude = column[low] * (1.0 - blend) + column[high] * blend;
            const double decibels = loudest > 0.0f && magnitude > 0.0 ? 20.0 * std::log10(magnitude / loudest) : -1e9;
            colour(1.0 + decibels / shape.range, image.at(x, y));
        }
    }

    // A grey tick every kilohertz on the left edge.
    for (double frequency = 1000.0; frequency < shape.topFrequency; frequency += 1000.0) {
        const int y = shape.height - 1 - static_cast<int>(std::lround(frequency / shape.topFrequency * (shape.height - 1)));
        const int length = std::fmod(frequency, 5000.0) == 0.0 ? 14 : 7;
        for (int x = 0; x < std::min(length, width); ++x) {
            std::uint8_t* rgb = image.at(x, y);
            rgb[0] = rgb[1] = rgb[2] = 200;
        }
    }
    return image;
}

}  // namespace render
