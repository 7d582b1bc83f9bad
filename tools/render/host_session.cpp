#include "host_session.h"

#include <stdexcept>

#include "errors.h"

namespace render {

HostSession::HostSession(const std::string& pluginPath, double sampleRate, int blockSize)
    : library_(std::make_unique<host::PluginLibrary>(pluginPath)), sampleRate_(sampleRate), blockSize_(blockSize) {
    instance_ = std::make_unique<host::PluginInstance>(*library_);
    if (!*instance_) throw std::runtime_error("'" + pluginPath + "' created no plug-in instance");
    if (instance_->effect()->magic != kEffectMagic) {
        // Not a record we may talk to: drop it without sending effClose.
        static_cast<void>(instance_.release());
        throw std::runtime_error("'" + pluginPath + "' answered with a record that is not a VST 2 plug-in");
    }
    plugin().dispatch(effOpen);
    plugin().dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    plugin().dispatch(effSetBlockSize, 0, blockSize);

    std::vector<std::string> names;
    for (VstInt32 i = 0; i < effect().numParams; ++i) names.push_back(plugin().text(effGetParamName, i));
    parameters_ = ParameterTable(std::move(names));
}

HostSession::~HostSession() {
    if (!instance_ || !*instance_) return;
    if (on_) switchOff();
    instance_->close();
}

void HostSession::selectProgram(VstInt32 program) {
    const VstInt32 count = effect().numPrograms;
    if (program < 0 || program >= count)
        throw UsageError("program " + std::to_string(program) + " is out of range 0.." + std::to_string(count - 1));
    plugin().dispatch(effSetProgram, 0, program);
}

void HostSession::applySetting(const Setting& setting) {
    const VstInt32 index = parameters_.resolve(setting.name);
    plugin().setParameter(index, parameters_.value(index, setting.value));
}

void HostSession::configure(const std::optional<int>& program, const std::vector<std::string>& settings) {
    if (program) selectProgram(*program);
    for (const std::string& text : settings)
        for (const Setting& setting : parseSettings(text)) applySetting(setting);
}

std::vector<float> HostSession::parameterValues() {
    std::vector<float> values;
    for (VstInt32 i = 0; i < effect().numParams; ++i) values.push_back(plugin().getParameter(i));
    return values;
}

void HostSession::switchOn() {
    plugin().dispatch(effMainsChanged, 0, 1);
    on_ = true;
}

void HostSession::switchOff() {
    plugin().dispatch(effMainsChanged, 0, 0);
    on_ = false;
}

}  // namespace render
