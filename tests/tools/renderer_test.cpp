// The render loop as the plug-in sees it: the record's entries are wrapped
// so that every call is recorded, with the frame position at which it
// arrives, and then passed on to the plug-in.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "host_session.h"
#include "renderer.h"

namespace render {
namespace {

struct Call {
    enum class Kind { Events, Process, Parameter, Program };
    Call(Kind k, std::int64_t at) : kind(k), position(at) {}

    Kind kind;
    std::int64_t position;  // frames processed before the call
    int frames = 0;         // Process
    float firstInput = 0;   // Process: input sample 0 of the left channel
    VstInt32 index = 0;     // Parameter / Program
    float value = 0;        // Parameter
    std::vector<VstMidiEvent> midi;  // Events
};

class Recorder {
public:
    explicit Recorder(AEffect* effect) : effect_(effect), original_(*effect) {
        active_ = this;
        effect->dispatcher = &Recorder::dispatcher;
        effect->processReplacing = &Recorder::processReplacing;
        effect->setParameter = &Recorder::setParameter;
    }
    ~Recorder() {
        effect_->dispatcher = original_.dispatcher;
        effect_->processReplacing = original_.processReplacing;
        effect_->setParameter = original_.setParameter;
        active_ = nullptr;
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<Call> calls;

private:
    static VstIntPtr VSTCALLBACK dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                            float opt) {
        Recorder& r = *active_;
        if (opcode == effProcessEvents) {
            Call call{Call::Kind::Events, r.position_};
            const auto* list = static_cast<const VstEvents*>(ptr);
            auto* const* events = reinterpret_cast<VstEvent* const*>(
                reinterpret_cast<const char*>(list) + offsetof(VstEvents, events));
            for (VstInt32 i = 0; i < list->numEvents; ++i)
                call.midi.push_back(*reinterpret_cast<const VstMidiEvent*>(events[i]));
            r.calls.push_back(call);
        } else if (opcode == effSetProgram) {
            Call call{Call::Kind::Program, r.position_};
            call.index = static_cast<VstInt32>(value);
            r.calls.push_back(call);
        }
        return r.original_.dispatcher(e, opcode, index, value, ptr, opt);
    }
    static void VSTCALLBACK processReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
        Recorder& r = *active_;
        Call call{Call::Kind::Process, r.position_};
        call.frames = frames;
        call.firstInput = inputs[0][0];
        r.calls.push_back(call);
        r.position_ += frames;
        r.original_.processReplacing(e, inputs, outputs, frames);
    }
    static void VSTCALLBACK setParameter(AEffect* e, VstInt32 index, float value) {
        Recorder& r = *active_;
        Call call{Call::Kind::Parameter, r.position_};
        call.index = index;
        call.value = value;
        r.calls.push_back(call);
        r.original_.setParameter(e, index, value);
    }

    static inline Recorder* active_ = nullptr;
    AEffect* effect_;
    AEffect original_;
    std::int64_t position_ = 0;
};

// Input sample n is n, so each block shows where it starts.
class RampSource : public AudioSource {
public:
    void read(float* left, float* right, int frames) override {
        for (int i = 0; i < frames; ++i, ++next_) left[i] = right[i] = static_cast<float>(next_);
    }

private:
    std::int64_t next_ = 0;
};

struct Rendered {
    std::vector<Call> calls;
    RenderCounts counts;
    std::int64_t sinkFrames = 0;
};

Rendered run(RenderJob job, int blockSize = 512) {
    HostSession session(host::PluginLibrary::defaultPath(), 48000.0, blockSize);
    RampSource ramp;
    job.source = &ramp;
    job.blockSize = blockSize;
    sortByFrame(job.events);
    Rendered rendered;
    session.switchOn();
    {
        Recorder recorder(session.plugin().effect());
        rendered.counts = render(session.plugin(), job, [&](const float*, const float*, int frames) {
            rendered.sinkFrames += frames;
        });
        rendered.calls = recorder.calls;
    }
    return rendered;
}

std::vector<Call> ofKind(const std::vector<Call>& calls, Call::Kind kind) {
    std::vector<Call> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found), [&](const Call& c) { return c.kind == kind; });
    return found;
}

TEST(Renderer, BlocksCoverTheRenderInOrderAndNeverExceedTheBlockSize) {
    RenderJob job;
    job.frames = 5000;
    const Rendered r = run(job, 512);
    const auto blocks = ofKind(r.calls, Call::Kind::Process);
    ASSERT_EQ(blocks.size(), 10u);  // 9 x 512 + 392
    std::int64_t position = 0;
    for (const Call& block : blocks) {
        EXPECT_EQ(block.position, position);
        EXPECT_EQ(block.firstInput, static_cast<float>(position));  // the input continues where it left off
        EXPECT_LE(block.frames, 512);
        EXPECT_GT(block.frames, 0);
        position += block.frames;
    }
    EXPECT_EQ(position, 5000);
    EXPECT_EQ(r.sinkFrames, 5000);
    EXPECT_EQ(r.counts.frames, 5000);
    EXPECT_EQ(r.counts.blocks, 10);
    EXPECT_TRUE(ofKind(r.calls, Call::Kind::Events).empty()) << "no empty event lists";
}

TEST(Renderer, EachEventStartsTheBlockThatFollowsIt) {
    RenderJob job;
    job.frames = 3000;
    job.events = {
        TimedEvent::midiMessage(1750, 0x90, 69, 100), TimedEvent::midiMessage(1750, 0x91, 72, 90),
        TimedEvent::midiMessage(0, 0x90, 60, 100),    TimedEvent::parameter(1000, 5, 0.1f),
        TimedEvent::midiMessage(1001, 0x80, 60, 0),   TimedEvent::program(2047, 3),
        TimedEvent::midiMessage(2999, 0xB0, 126, 0),  TimedEvent::midiMessage(3000, 0x90, 1, 1),  // at the end: never sent
    };
    const Rendered r = run(job, 512);

    // Every event arrives at its frame, directly before the block that starts there.
    struct Expected {
        Call::Kind kind;
        std::int64_t position;
    } const expected[] = {
        {Call::Kind::Events, 0},    {Call::Kind::Process, 0},    {Call::Kind::Process, 512},
        {Call::Kind::Parameter, 1000}, {Call::Kind::Process, 1000}, {Call::Kind::Events, 1001},
        {Call::Kind::Process, 1001}, {Call::Kind::Process, 1513}, {Call::Kind::Events, 1750},
        {Call::Kind::Process, 1750},
        {Call::Kind::Program, 2047}, {Call::Kind::Process, 2047}, {Call::Kind::Process, 2559},
        {Call::Kind::Events, 2999},  {Call::Kind::Process, 2999},
    };
    ASSERT_EQ(r.calls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.calls[i].kind, expected[i].kind);
        EXPECT_EQ(r.calls[i].position, expected[i].position);
    }
    EXPECT_EQ(r.calls[3].index, 5);
    EXPECT_EQ(r.calls[3].value, 0.1f);
    EXPECT_EQ(r.calls[10].index, 3);

    // Messages at one frame travel in one list, in their order, as the
    // interface's MIDI events.
    const auto lists = ofKind(r.calls, Call::Kind::Events);
    ASSERT_EQ(lists.size(), 4u);
    ASSERT_EQ(lists[2].midi.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(lists[2].midi[0].midiData[0]), 0x90);
    EXPECT_EQ(static_cast<unsigned char>(lists[2].midi[1].midiData[0]), 0x91);
    EXPECT_EQ(lists[2].midi[1].midiData[1], 72);
    EXPECT_EQ(lists[2].midi[1].midiData[2], 90);
    for (const Call& list : lists)
        for (const VstMidiEvent& event : list.midi) {
            EXPECT_EQ(event.type, kVstMidiType);
            EXPECT_EQ(event.byteSize, static_cast<VstInt32>(sizeof(VstMidiEvent)));
            EXPECT_EQ(event.deltaFrames, 0);
        }
    EXPECT_EQ(r.counts.eventLists, 4);
    EXPECT_EQ(r.counts.midiEvents, 5);
    EXPECT_EQ(r.sinkFrames, 3000);
}

TEST(Renderer, BlockSizeOfOneAndEventsOnEveryFrame) {
    RenderJob job;
    job.frames = 40;
    for (std::int64_t frame = 0; frame < 40; frame += 1) job.events.push_back(TimedEvent::midiMessage(frame, 0xB0, 7, 1));
    const Rendered r = run(job, 1);
    const auto blocks = ofKind(r.calls, Call::Kind::Process);
    ASSERT_EQ(blocks.size(), 40u);
    for (std::size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(blocks[i].frames, 1);
    EXPECT_EQ(ofKind(r.calls, Call::Kind::Events).size(), 40u);
}

}  // namespace
}  // namespace render
