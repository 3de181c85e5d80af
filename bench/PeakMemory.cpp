#include "bench/PeakMemory.h"

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace bench {

long CurrentRssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = -1;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

namespace {

// "5" resets the peak resident size to the current one (Linux 4.0 and later).
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace

PeakWatch::PeakWatch() : startKb_(CurrentRssKb()), startPeakKb_(0), reset_(ResetPeak()) {
    startPeakKb_ = PeakRssKb();
}

long PeakWatch::GrowthKb() const {
    // Without a reset only a peak above the earlier one shows; the growth is then a lower bound.
    const long peak = PeakRssKb();
    if (!reset_) return peak > startPeakKb_ ? peak - startKb_ : 0;
    return peak - startKb_;
}

}  // namespace bench
