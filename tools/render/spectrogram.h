// A spectrogram picture of a signal: a short-time Fourier transform with a
// Hann window, magnitudes in decibels below the loudest bin, frequency
// rising upwards on a linear scale, with a tick every kilohertz on the left
// edge. Formants show as bright horizontal bands.
#pragma once

#include <string>
#include <vector>

#include "png_file.h"

namespace render {

struct SpectrogramShape {
    int fftSize = 2048;           // samples per analysis window, a power of two
    int hop = 256;                // samples between windows: one picture column each
    double topFrequency = 6000.0; // Hz at the picture's top row: above the highest formant
    int height = 480;             // rows
    double range = 90.0;          // dB from the loudest bin down to black
};

// Magnitudes (linear) of each window: one vector of fftSize/2+1 bins per column.
std::vector<std::vector<float>> shortTimeSpectrum(const std::vector<float>& signal, int fftSize, int hop);

RgbImage spectrogramImage(const std::vector<float>& signal, double sampleRate, const SpectrogramShape& shape = {});

}  // namespace render
