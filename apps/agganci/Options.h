#pragma once
// Options every subcommand shares.
#include <string>

namespace app {

struct GlobalOptions {
    std::string db = "sqlite:agganci-demo.db";
    long company = 1;
    bool json = false;
    bool quiet = false;  // no progress on stderr
};

}  // namespace app
