// The sound engine's cost per frame through the binary interface, as a host
// sees it, in units of this machine's own limit: the latency of one formant
// filter step (a multiplication, eleven dependent double additions and the
// round trip through float). Each frame's five filters depend on their own
// previous outputs, so no implementation of the path can do a frame in less
// than one such step; the ratio to it holds from machine to machine.
//
//   scripts/bench          builds the linux preset and prints the table
//
// Cases, each at blocks of 64, 512 and 4096 frames: effect mode with the
// vowel morph settled, effect mode with a morph always running, synth mode
// with a held sawtooth note; and silence after loud input, against the
// settled effect's noise input (subnormal numbers would make silence slower).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plugin/formant_coeffs.h"
#include "plugin_instance.h"
#include "plugin_library.h"

namespace {

// ---- The limit --------------------------------------------------------------------

// One filter's recursion alone, its history in registers: from one output to
// the next lie c1 x y[n-1], the ten remaining additions, the bias and the
// float round trip.
void filterStepLimit(benchmark::State& state) {
    constexpr int kSteps = 4096;
    const double* c = kFormantCoeffs[0];
    double x = 0.25;
    benchmark::DoNotOptimize(x);
    double h0 = 0, h1 = 0, h2 = 0, h3 = 0, h4 = 0, h5 = 0, h6 = 0, h7 = 0, h8 = 0, h9 = 0;
    for (auto _ : state) {
        for (int n = 0; n < kSteps; ++n) {
            double sum = c[0] * x;
            sum += c[1] * h0;
            sum += c[2] * h1;
            sum += c[3] * h2;
            sum += c[4] * h3;
            sum += c[5] * h4;
            sum += c[6] * h5;
            sum += c[7] * h6;
            sum += c[8] * h7;
            sum += c[9] * h8;
            sum += c[10] * h9;
            sum += kDenormalBias;
            const double y = static_cast<float>(sum);
            h9 = h8, h8 = h7, h7 = h6, h6 = h5, h5 = h4, h4 = h3, h3 = h2, h2 = h1, h1 = h0, h0 = y;
        }
        benchmark::DoNotOptimize(h0);
    }
    state.counters["frames"] = kSteps;
}

// ---- The plug-in ------------------------------------------------------------------

host::PluginLibrary& library() {
    static host::PluginLibrary loaded(host::PluginLibrary::defaultPath());
    return loaded;
}

enum : VstInt32 { kWaveform = 0, kMorphTime = 3, kVowel = 5 };

// An opened, resumed instance with stereo buffers of one block.
class Bench {
public:
    explicit Bench(VstInt32 blockFrames)
        : plugin_(std::make_unique<host::PluginInstance>(library())),
          frames_(blockFrames),
          inLeft_(blockFrames),
          inRight_(blockFrames),
          outLeft_(blockFrames),
          outRight_(blockFrames) {
        plugin_->dispatch(effOpen);
        plugin_->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        plugin_->dispatch(effSetBlockSize, 0, blockFrames);
        plugin_->dispatch(effMainsChanged, 0, 1);
        fill(0.5f);
    }

    // Noise of the given amplitude (0 is silence), the same in every run.
    void fill(float amplitude) {
        std::uint32_t seed = 12345;
        for (VstInt32 i = 0; i < frames_; ++i) {
            seed = seed * 1664525u + 1013904223u;
            inLeft_[i] = amplitude * (static_cast<float>(seed >> 8) * 0x1.0p-23f - 1.0f);
            seed = seed * 1664525u + 1013904223u;
            inRight_[i] = amplitude * (static_cast<float>(seed >> 8) * 0x1.0p-23f - 1.0f);
        }
    }

    void processBlock() {
        float* inputs[2] = {inLeft_.data(), inRight_.data()};
        float* outputs[2] = {outLeft_.data(), outRight_.data()};
        plugin_->processReplacing(inputs, outputs, frames_);
    }

    void processFrames(std::int64_t frames) {
        for (std::int64_t done = 0; done < frames; done += frames_) processBlock();
    }

    host::PluginInstance& plugin() { return *plugin_; }
    VstInt32 frames() const { return frames_; }

private:
    std::unique_ptr<host::PluginInstance> plugin_;
    VstInt32 frames_;
    std::vector<float> inLeft_, inRight_, outLeft_, outRight_;
};

void report(benchmark::State& state, const Bench& bench) { state.counters["frames"] = bench.frames(); }

void effectSettled(benchmark::State& state) {
    Bench bench(static_cast<VstInt32>(state.range(0)));
    bench.processFrames(60000);  // past the fade-in of a new instance
    for (auto _ : state) bench.processBlock();
    report(state, bench);
}

void effectMorphing(benchmark::State& state) {
    Bench bench(static_cast<VstInt32>(state.range(0)));
    bench.plugin().setParameter(kMorphTime, 1.0f);  // 176400 frames per morph
    std::int64_t sinceChange = 0;
    int vowel = 0;
    for (auto _ : state) {
        if ((sinceChange += bench.frames()) > 100000) {
            vowel = (vowel + 1) % 5;
            bench.plugin().setParameter(kVowel, 0.1f * static_cast<float>(vowel));
            sinceChange = 0;
        }
        bench.processBlock();
    }
    report(state, bench);
}

void synthSawtooth(benchmark::State& state) {
    Bench bench(static_cast<VstInt32>(state.range(0)));
    bench.plugin().setParameter(kWaveform, 0.0f);
    bench.plugin().sendMidi(0x90, 60, 100);
    bench.processFrames(20000);  // attack and glide done
    for (auto _ : state) bench.processBlock();
    report(state, bench);
}

void effectSilenceAfterLoudInput(benchmark::State& state) {
    Bench bench(static_cast<VstInt32>(state.range(0)));
    bench.fill(30.0f);
    bench.processFrames(60000);
    bench.fill(0.0f);
    bench.processFrames(2 * 44100);  // the filters have settled on the bias
    for (auto _ : state) bench.processBlock();
    report(state, bench);
}

// ---- The table --------------------------------------------------------------------

// Prints the usual console output and, at the end, every case in ns per
// frame and as a multiple of the limit. Where repetitions ran it takes the
// fastest: on a shared machine other work only ever adds time.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool best = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            if (run.run_type == Run::RT_Aggregate && !best) continue;
            const auto frames = run.counters.find("frames");
            if (frames == run.counters.end()) continue;
            const std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            if (best || !nsPerFrame_.count(name)) {
                if (!nsPerFrame_.count(name)) order_.push_back(name);
                nsPerFrame_[name] = run.GetAdjustedCPUTime() / frames->second.value;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto limit = nsPerFrame_.find("filterStepLimit");
        if (limit == nsPerFrame_.end()) return;
        std::printf("\n%-36s %10s %10s\n", "case", "ns/frame", "x limit");
        for (const std::string& name : order_)
            std::printf("%-36s %10.2f %10.2f\n", name.c_str(), nsPerFrame_[name], nsPerFrame_[name] / limit->second);
        const auto silence = nsPerFrame_.find("effectSilenceAfterLoudInput/512");
        const auto noise = nsPerFrame_.find("effectSettled/512");  // its input is noise
        if (silence != nsPerFrame_.end() && noise != nsPerFrame_.end())
            std::printf("%-36s %21.2f\n", "silence after loud / noise (512)", silence->second / noise->second);
    }

private:
    std::map<std::string, double> nsPerFrame_;
    std::vector<std::string> order_;
};

}  // namespace

double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

BENCHMARK(filterStepLimit)->ComputeStatistics("min", fastest);
BENCHMARK(effectSettled)->Arg(64)->Arg(512)->Arg(4096)->ComputeStatistics("min", fastest);
BENCHMARK(effectMorphing)->Arg(64)->Arg(512)->Arg(4096)->ComputeStatistics("min", fastest);
BENCHMARK(synthSawtooth)->Arg(64)->Arg(512)->Arg(4096)->ComputeStatistics("min", fastest);
BENCHMARK(effectSilenceAfterLoudInput)->Arg(512)->ComputeStatistics("min", fastest);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
