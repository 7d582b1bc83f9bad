#include "commands.h"

namespace render {
int demoCommand(const Options&) { return 0; }
}
