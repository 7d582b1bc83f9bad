#include "plugin_instance.h"

#include <cstring>
#include <stdexcept>

#include "event_list.h"
#include "guarded_buffer.h"

namespace host {

namespace {
// The instance whose `main` call is running on this thread: requests sent
// before the plug-in's record is known (audioMasterVersion has a null effect)
// belong to it.
thread_local PluginInstance* tCreating = nullptr;
}  // namespace

PluginInstance::PluginInstance(const PluginLibrary& library, HostOptions options) : options_(std::move(options)) {
    tCreating = this;
    effect_ = library.entry()(&PluginInstance::callback);
    tCreating = nullptr;
    if (effect_) effect_->user = this;
}

PluginInstance::~PluginInstance() {
    if (effect_) close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!effect_) throw std::logic_error("no plug-in instance");
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::close() {
    const VstIntPtr answer = dispatch(effClose);
    effect_ = nullptr;
    return answer;
}

void PluginInstance::setParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }

float PluginInstance::getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }

void PluginInstance::process(float** inputs, float** outputs, VstInt32 frames) {
    effect_->process(effect_, inputs, outputs, frames);
}

void PluginInstance::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

VstIntPtr PluginInstance::sendMidi(unsigned char status, unsigned char data1, unsigned char data2) {
    EventList list({{status, data1, data2}});
    return dispatch(effProcessEvents, 0, 0, list.get());
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value, std::size_t capacity) {
    GuardedBuffer buffer(capacity);
    dispatch(opcode, index, value, buffer.data());
    if (!buffer.intact()) throw std::logic_error("the plug-in wrote outside the text buffer");
    return std::string(buffer.data(), strnlen(buffer.data(), capacity));
}

std::vector<HostRequest> PluginInstance::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void PluginInstance::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

VstIntPtr VSTCALLBACK PluginInstance::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                               void* ptr, float opt) {
    PluginInstance* instance = effect && effect->user ? static_cast<PluginInstance*>(effect->user) : tCreating;
    if (!instance) return 0;
    return instance->answer(HostRequest{effect == nullptr, opcode, index, value, ptr == nullptr, opt});
}

VstIntPtr PluginInstance::answer(const HostRequest& request) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    if (request.opcode == audioMasterVersion) return options_.version;
    return options_.answer ? options_.answer(request) : 0;
}

}  // namespace host
