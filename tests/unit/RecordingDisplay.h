#pragma once

#include "app/main/RunController.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace test {

// Keeps every value the words of a run showed, in order, so tests can ask what the user saw.
class RecordingDisplay : public RunScreen {
public:
    void setText(RunText which, const std::wstring& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        texts_[which].push_back(text);
    }
    void setBar(RunBar which, int value) override {
        std::lock_guard<std::mutex> lock(mutex_);
        bars_[which].push_back(value);
    }
    std::vector<std::wstring> texts(RunText which) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = texts_.find(which);
        return found == texts_.end() ? std::vector<std::wstring>() : found->second;
    }
    std::vector<int> bars(RunBar which) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = bars_.find(which);
        return found == bars_.end() ? std::vector<int>() : found->second;
    }
    std::wstring lastText(RunText which) const {
        auto all = texts(which);
        return all.empty() ? L"<never shown>" : all.back();
    }
    int lastBar(RunBar which) const {
        auto all = bars(which);
        return all.empty() ? -1 : all.back();
    }
    int maxBar(RunBar which) const {
        int most = -1;
        for (int value : bars(which))
            most = value > most ? value : most;
        return most;
    }

private:
    mutable std::mutex mutex_;
    std::map<RunText, std::vector<std::wstring>> texts_;
    std::map<RunBar, std::vector<int>> bars_;
};

}  // namespace test
