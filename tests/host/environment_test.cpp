// How the library meets its environment: the floating-point settings of the
// thread that loads it and of the threads that call it, and the user's
// decimal separator. Runs as its own program, because the library must be
// loaded here for the first time.

#include <xmmintrin.h>

#include <clocale>
#include <cstdlib>
#include <thread>

#include "host_fixture.h"

namespace {

constexpr unsigned kSseMasks = 0x1F80;          // MXCSR exception mask bits
constexpr unsigned kSseDenormalMask = 0x0100;
constexpr unsigned short kX87Masks = 0x003F;    // x87 control word exception mask bits

unsigned short x87ControlWord() {
    unsigned short word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

void setX87ControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

// Loading masks every exception in the loading thread, and only there.
TEST(Environment, LoadingMasksExceptionsInTheLoadingThreadOnly) {
    // A witness in this thread: an unmasked denormal-operand exception, which
    // no code here raises.
    const unsigned mainBefore = _mm_getcsr();
    _mm_setcsr(mainBefore & ~kSseDenormalMask);

    unsigned loaderSse = 0;
    unsigned short loaderX87 = 0;
    std::thread loader([&] {
        _mm_setcsr(_mm_getcsr() & ~kSseMasks);
        setX87ControlWord(static_cast<unsigned short>(x87ControlWord() & ~kX87Masks));
        pluginLibrary();  // the first load in this process
        loaderSse = _mm_getcsr();
        loaderX87 = x87ControlWord();
        _mm_setcsr(loaderSse | kSseMasks);
        setX87ControlWord(static_cast<unsigned short>(loaderX87 | kX87Masks));
    });
    loader.join();

    const unsigned mainAfter = _mm_getcsr();
    _mm_setcsr(mainBefore);
    EXPECT_EQ(loaderSse & kSseMasks, kSseMasks);
    EXPECT_EQ(loaderX87 & kX87Masks, kX87Masks);
    EXPECT_EQ(mainAfter & kSseDenormalMask, 0u) << "another thread's settings were changed";
}

// No call into the plug-in leaves the caller's floating-point settings changed.
TEST(Environment, CallsLeaveTheCallersSettingsAsTheyWere) {
    const unsigned sseBefore = _mm_getcsr();
    const unsigned short x87Before = x87ControlWord();
    const unsigned sseOdd = (sseBefore & ~0x6000u) | 0x6000u;  // round toward zero
    const auto x87Odd = static_cast<unsigned short>((x87Before & ~0x0300) | 0x0200);  // 53-bit precision
    _mm_setcsr(sseOdd);
    setX87ControlWord(x87Odd);

    {
        auto plugin = openInstance();
        plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        plugin->dispatch(effMainsChanged, 0, 1);
        for (VstInt32 i = 0; i < kParamCount; ++i) {
            plugin->setParameter(i, 0.4f);
            plugin->text(effGetParamDisplay, i);
        }
        plugin->dispatch(effSetProgram, 0, 2);
        float left[64] = {}, right[64] = {};
        float* channels[2] = {left, right};
        plugin->processReplacing(channels, channels, 64);
        plugin->process(channels, channels, 64);
        plugin->dispatch(effMainsChanged, 0, 0);
    }
    const unsigned sseAfter = _mm_getcsr();
    const unsigned short x87After = x87ControlWord();
    _mm_setcsr(sseBefore);
    setX87ControlWord(x87Before);
    EXPECT_EQ(sseAfter & ~0x3Fu, sseOdd & ~0x3Fu) << "MXCSR control bits changed";  // status flags may be set
    EXPECT_EQ(x87After, x87Odd);
}

// The separator comes from the user's locale as it was when the library
// started; the host's own setlocale calls do not change it. The test is run
// once per locale with ORVALUNE_EXPECT_SEPARATOR naming the expected one.
TEST(Environment, DisplayUsesTheUsersDecimalSeparator) {
    const char* expected = std::getenv("ORVALUNE_EXPECT_SEPARATOR");
    const char separator = expected && *expected ? expected[0] : '.';
    auto plugin = openInstance();
    EXPECT_EQ(plugin->text(effGetParamDisplay, kVolume), std::string("0") + separator + "33");

#if defined(_WIN32)
    const char* hostLocale = separator == '.' ? "German_Germany.1252" : "C";
#else
    const char* hostLocale = separator == '.' ? "de_DE.UTF-8" : "C";
#endif
    std::setlocale(LC_ALL, hostLocale);
    EXPECT_EQ(plugin->text(effGetParamDisplay, kVolume), std::string("0") + separator + "33");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
