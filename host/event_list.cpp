#include "event_list.h"

#include <algorithm>

namespace host {

namespace {
VstMidiEvent midiEvent(VstInt32 type, unsigned char status, unsigned char data1, unsigned char data2) {
    VstMidiEvent event{};
    event.type = type;
    event.byteSize = sizeof event;
    event.deltaFrames = 0;  // the plug-in takes every event at the start of the next block
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}
}  // namespace

EventList::EventList(std::initializer_list<Midi> messages) {
    for (const Midi& message : messages) add(message);
}

void EventList::add(const Midi& message) {
    events_.push_back(midiEvent(kVstMidiType, message.status, message.data1, message.data2));
}

void EventList::addOther(VstInt32 type) { events_.push_back(midiEvent(type, 0x90, 60, 100)); }

void EventList::addNull() { nulls_.push_back(events_.size()); }

void EventList::clear() {
    events_.clear();
    nulls_.clear();
}

VstEvents* EventList::get() {
    const std::size_t count = size();
    const std::size_t bytes = std::max(sizeof(VstEvents), offsetof(VstEvents, events) + count * sizeof(VstEvent*));
    storage_.assign((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    auto* list = reinterpret_cast<VstEvents*>(storage_.data());
    list->numEvents = static_cast<VstInt32>(count);
    VstEvent** pointers = list->events;
    std::size_t next = 0, nullIndex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (nullIndex < nulls_.size() && nulls_[nullIndex] == next) {
            pointers[i] = nullptr;
            ++nullIndex;
        } else {
            pointers[i] = reinterpret_cast<VstEvent*>(&events_[next++]);
        }
    }
    return list;
}

}  // namespace host
