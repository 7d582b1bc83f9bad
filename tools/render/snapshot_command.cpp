// The editor-snapshot command: the plug-in's parameter values, after the
// program and settings of the command line, drawn as the editor shows them.

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "commands.h"
#include "editor_snapshot.h"
#include "host_session.h"
#include "output_file.h"

namespace render {

int editorSnapshotCommand(const Options& options) {
    OutputFile output(options.editorSnapshot);
    std::vector<float> values;
    {
        HostSession session(pluginPath(options), options.sampleRate.value_or(44100.0), options.blockSize);
        session.configure(options.program, options.settings);
        values = session.parameterValues();
    }
    float parameters[8] = {};
    std::copy_n(values.begin(), std::min<std::size_t>(values.size(), 8), parameters);

    std::string error;
    if (!writeEditorSnapshot(parameters, output.temporaryPath(), error))
        throw std::runtime_error("cannot write editor snapshot '" + output.target() + "': " + error);
    output.commit();
    if (!options.quiet) std::printf("wrote %s\n", output.target().c_str());
    return 0;
}

}  // namespace render
