#pragma once
// A dialog provider for tests: records every message box and answers with scripted
// buttons (IDOK when the script is empty).
#include <deque>
#include <string>
#include <vector>

#include "ui/DialogProvider.h"

class RecordingDialogs : public DialogProvider {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned flags;
    };

    RecordingDialogs() { previous_ = SetDialogProvider(this); }
    ~RecordingDialogs() override { SetDialogProvider(previous_); }

    int ShowMessageBox(void*, const std::string& text, const std::string& caption, unsigned flags) override
    {
        boxes.push_back(Box{text, caption, flags});
        if (answers.empty())
            return 1;  // IDOK
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ShowFileDialog(void*, FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return false;
        request.fileName = fileAnswers.front();
        fileAnswers.pop_front();
        return true;
    }
    bool ShowColorDialog(void*, uint32_t&, uint32_t*) override { return false; }

    std::vector<Box> boxes;
    std::deque<int> answers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> fileAnswers;

private:
    DialogProvider* previous_;
};
