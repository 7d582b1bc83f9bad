// Events laid out as the interface's event list: a VstEvents header followed
// by as many event pointers as there are events (the record declares two; a
// host allocates what it sends).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "vst/aeffect.h"

namespace host {

class EventList {
public:
    // A channel message: status byte and two data bytes.
    struct Midi {
        unsigned char status, data1, data2;
    };

    EventList() = default;
    EventList(std::initializer_list<Midi> messages);

    void add(const Midi& message);
    // An event of another type (carrying a note-on), which a plug-in must skip.
    void addOther(VstInt32 type);
    // A null entry in the list.
    void addNull();
    void clear();
    bool empty() const noexcept { return events_.empty() && nulls_.empty(); }
    std::size_t size() const noexcept { return events_.size() + nulls_.size(); }

    // The list as a host hands it over; valid until the next change.
    VstEvents* get();

private:
    std::vector<VstMidiEvent> events_;
    std::vector<std::size_t> nulls_;      // positions of null entries among the events
    std::vector<std::uint64_t> storage_;  // the header and the pointers, aligned for the record
};

}  // namespace host
