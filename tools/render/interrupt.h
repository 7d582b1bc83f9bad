// Ctrl-C during a render stops it cleanly: the render loop notices between
// blocks and unwinds, so no half-written output file is left behind.
#pragma once

namespace render {

// Installs the SIGINT/SIGTERM handler.
void catchInterrupts();
// Throws std::runtime_error("interrupted") once a signal arrived.
void stopIfInterrupted();

}  // namespace render
