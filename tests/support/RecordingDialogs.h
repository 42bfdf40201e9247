#pragma once
// A dialog provider for tests: records every message box, file and colour dialog and
// answers with scripted buttons (IDOK when the script is empty), file names and colours
// (cancelled when their script is empty).
#include <cstdint>
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
    bool ShowColorDialog(void*, uint32_t& color, uint32_t* customColors) override
    {
        ColourRequest request{color, {}};
        if (customColors)
            request.customColors.assign(customColors, customColors + 16);
        colourRequests.push_back(request);
        if (colourAnswers.empty())
            return false;
        color = colourAnswers.front();
        colourAnswers.pop_front();
        return true;
    }

    std::vector<Box> boxes;
    std::deque<int> answers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> fileAnswers;
    struct ColourRequest {
        uint32_t initial;
        std::vector<uint32_t> customColors;
    };
    std::vector<ColourRequest> colourRequests;
    std::deque<uint32_t> colourAnswers;

private:
    DialogProvider* previous_;
};
