// The two kinds of failure the tool reports: a command line it cannot use
// (exit status 2) and anything that goes wrong while it works (status 1).
// Every message is one line that names the problem.
#pragma once

#include <stdexcept>

namespace render {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace render
