#include "interrupt.h"

#include <csignal>
#include <stdexcept>

namespace render {

namespace {
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) { gInterrupted = 1; }
}  // namespace

void catchInterrupts() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

void stopIfInterrupted() {
    if (gInterrupted) throw std::runtime_error("interrupted");
}

}  // namespace render
