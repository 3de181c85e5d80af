#pragma once
// Resident memory of this process: now, the peak (getrusage's ru_maxrss) and the peak reached since a
// given moment. Linux resets the peak through /proc/self/clear_refs, which makes "peak growth during a
// run" measurable even after an earlier, larger peak (building a database).
namespace bench {

long CurrentRssKb();  // VmRSS; -1 when unknown
long PeakRssKb();     // ru_maxrss, in kB

// Watches one run: the peak it reaches above the memory in use when it started.
class PeakWatch {
public:
    PeakWatch();  // resets the process peak when the system allows it
    // Peak resident memory above the start, in kB, up to now.
    long GrowthKb() const;
    bool PeakWasReset() const { return reset_; }
    long StartKb() const { return startKb_; }

private:
    long startKb_;
    long startPeakKb_;
    bool reset_;
};

}  // namespace bench
