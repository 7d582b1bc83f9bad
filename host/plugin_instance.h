// One plug-in instance as a host holds it: created through the library's
// `main` with this host's callback, driven through the record's dispatcher
// and entries, and closed with effClose. Every request the plug-in sends the
// host is recorded, so tests can check what a plug-in told its host.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "plugin_library.h"
#include "vst/aeffect.h"

namespace host {

// A request the plug-in sent through the host callback.
struct HostRequest {
    bool nullEffect;  // sent with a null effect pointer
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    bool nullPtr;
    float opt;
};

struct HostOptions {
    // The answer to audioMasterVersion; 0 is a host that predates it.
    VstIntPtr version = 2400;
    // Answers every other request; unset answers 0.
    std::function<VstIntPtr(const HostRequest&)> answer;
};

class PluginInstance {
public:
    // Calls the library's `main`. When main answers null, effect() is null
    // and only requests() may be used.
    explicit PluginInstance(const PluginLibrary& library, HostOptions options = {});
    // Sends effClose if the instance is still open.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const noexcept { return effect_; }
    explicit operator bool() const noexcept { return effect_ != nullptr; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // effClose; the record must not be used afterwards.
    VstIntPtr close();

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    void process(float** inputs, float** outputs, VstInt32 frames);
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);
    // effProcessEvents with a list of one MIDI message; the plug-in's answer.
    VstIntPtr sendMidi(unsigned char status, unsigned char data1, unsigned char data2);

    // A text request (names, labels, displays) answered into a guarded
    // buffer; throws std::logic_error if the plug-in wrote past the buffer's
    // `capacity` bytes.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, std::size_t capacity = 256);

    std::vector<HostRequest> requests() const;
    void clearRequests();

private:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);
    VstIntPtr answer(const HostRequest& request);

    HostOptions options_;
    AEffect* effect_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<HostRequest> requests_;
};

}  // namespace host
