#pragma once
// Options every subcommand shares.
#include <string>

namespace app {

struct GlobalOptions {
    std::string db = "sqlite:agganci-demo.db";
    long company = 1;
    bool json = false;
};

}  // namespace app
