// One plug-in instance driven the way a host drives it: the library loaded,
// `main` called, effOpen, the sample rate and block size announced; then
// programs and parameters, effMainsChanged 1 before processing, and at the
// end effMainsChanged 0 and effClose.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin_instance.h"
#include "plugin_library.h"
#include "values.h"

namespace render {

class HostSession {
public:
    // Throws std::runtime_error when the binary cannot be loaded or gives
    // no usable instance.
    HostSession(const std::string& pluginPath, double sampleRate, int blockSize);
    // Switches the instance off if it is on, then closes it.
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    host::PluginInstance& plugin() noexcept { return *instance_; }
    const AEffect& effect() const noexcept { return *instance_->effect(); }
    double sampleRate() const noexcept { return sampleRate_; }
    int blockSize() const noexcept { return blockSize_; }

    // The parameter names the plug-in reports, for resolving names on the
    // command line.
    const ParameterTable& parameters() const noexcept { return parameters_; }

    // Throws UsageError for a program the plug-in does not have.
    void selectProgram(VstInt32 program);
    // Throws UsageError for an unknown name or a bad value.
    void applySetting(const Setting& setting);

    // The start values of a render: a program first, then parameter settings
    // ("NAME=VALUE[,...]"), which override the program's values. Throws
    // UsageError.
    void configure(const std::optional<int>& program, const std::vector<std::string>& settings);

    // The parameter values as the plug-in holds them now.
    std::vector<float> parameterValues();

    // effMainsChanged 1 / 0.
    void switchOn();
    void switchOff();

private:
    std::unique_ptr<host::PluginLibrary> library_;
    std::unique_ptr<host::PluginInstance> instance_;
    double sampleRate_;
    int blockSize_;
    bool on_ = false;
    ParameterTable parameters_{{}};
};

}  // namespace render
