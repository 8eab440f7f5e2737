#pragma once

#include "shred/RunProgress.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace test {

// Keeps every fact a run told, in order, and lets a test act at a given moment of the run (request a
// stop, pause...) through its hooks, which are called on the run's thread after the fact is kept.
class RecordingObserver : public RunObserver {
public:
    struct Pass {
        int pass;
        int passes;
        int pattern;
        bool operator==(const Pass& other) const {
            return pass == other.pass && passes == other.passes && pattern == other.pattern;
        }
    };

    std::function<void(const std::wstring& path)> onEntry;
    std::function<void(const Pass& pass)> onPass;
    std::function<void(double writtenPercent)> onBlock;
    std::function<void(int step)> onRename;

    void runStarted(const std::wstring& methodLabel) override { keep(methods_, methodLabel); }
    void entryStarted(const std::wstring& path) override {
        keep(entries_, path);
        if (onEntry)
            onEntry(path);
    }
    void passStarted(int pass, int passes, int pattern) override {
        const Pass started{pass, passes, pattern};
        keep(passes_, started);
        if (onPass)
            onPass(started);
    }
    void blockWritten(unsigned long long position, unsigned long long, double writtenPercent) override {
        keep(positions_, position);
        keep(written_, writtenPercent);
        if (onBlock)
            onBlock(writtenPercent);
    }
    void passFlushed(int pass, int) override { keep(flushed_, pass); }
    void overwriteEnded() override { keep(overwriteEnds_, 1); }
    void repetitionDone(int repetition, int) override { keep(repetitions_, repetition); }
    void renamed(int step) override {
        keep(renames_, step);
        if (onRename)
            onRename(step);
    }
    void nameWipeEnded() override { keep(nameWipeEnds_, 1); }
    void entryDone(size_t left, size_t done, size_t total) override {
        keep(left_, left);
        keep(shares_, std::to_wstring(done) + L"/" + std::to_wstring(total));
    }
    void runCleared() override { keep(clears_, 1); }

    std::vector<std::wstring> methods() const { return copy(methods_); }
    std::vector<std::wstring> entries() const { return copy(entries_); }
    std::vector<Pass> passes() const { return copy(passes_); }
    std::vector<unsigned long long> positions() const { return copy(positions_); }
    std::vector<double> written() const { return copy(written_); }
    std::vector<int> flushed() const { return copy(flushed_); }
    size_t overwriteEnds() const { return copy(overwriteEnds_).size(); }
    std::vector<int> repetitions() const { return copy(repetitions_); }
    std::vector<int> renames() const { return copy(renames_); }
    size_t nameWipeEnds() const { return copy(nameWipeEnds_).size(); }
    std::vector<size_t> left() const { return copy(left_); }
    std::vector<std::wstring> shares() const { return copy(shares_); }  // "done/total" after each entry
    size_t clears() const { return copy(clears_).size(); }
    double mostWritten() const {
        double most = -1;
        for (double value : written())
            most = value > most ? value : most;
        return most;
    }

private:
    template <typename T>
    void keep(std::vector<T>& into, const T& value) {
        std::lock_guard<std::mutex> lock(mutex_);
        into.push_back(value);
    }
    template <typename T>
    std::vector<T> copy(const std::vector<T>& from) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return from;
    }

    mutable std::mutex mutex_;
    std::vector<std::wstring> methods_, entries_, shares_;
    std::vector<Pass> passes_;
    std::vector<unsigned long long> positions_;
    std::vector<double> written_;
    std::vector<int> flushed_, overwriteEnds_, repetitions_, renames_, nameWipeEnds_, clears_;
    std::vector<size_t> left_;
};

}  // namespace test
