#pragma once
// A programming window for the USB steps that records what it is asked to show and
// answers its boxes from a script.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "programming/UsbBurnView.h"

class RecordingUsbBurnView : public UsbBurnView {
public:
    std::vector<std::string> statuses, errors, questions, retries;
    std::vector<std::pair<int, bool>> maxSteps;
    std::deque<bool> answers;   // for questions and time-out boxes; true when empty
    std::vector<std::pair<int, int>> bars;  // maximum and position of each ShowProgress
    bool progressShown = false;
    int progress = 0;
    int closes = 0;

    void ShowStatus(const std::string& caption) override { statuses.push_back(caption); }
    void ShowProgress(int, int max, int position) override
    {
        progressShown = true;
        bars.emplace_back(max, position);
        progress = position;
    }
    void SetProgress(int position) override { progress = position; }
    void HideProgress() override { progressShown = false; }
    void ProcessMessages() override {}
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskYesNo(const std::string& text) override { return Answer(questions, text); }
    bool AskRetry(const std::string& text) override { return Answer(retries, text); }
    void SetMaxSteps(int steps, bool keep) override { maxSteps.emplace_back(steps, keep); }
    void Close() override { ++closes; }

private:
    bool Answer(std::vector<std::string>& asked, const std::string& text)
    {
        asked.push_back(text);
        bool answer = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};
