#include "editor_snapshot.h"

namespace render {

bool writeEditorSnapshot(const float (&/*parameters*/)[8], const std::string& /*pngPath*/, std::string& error) {
    error = "the editor snapshot is not available in this build";
    return false;
}

}  // namespace render
