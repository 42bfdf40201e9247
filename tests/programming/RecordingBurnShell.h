#pragma once
// A shell for the serial programming protocol that records what it is asked to do as
// text lines, answers boxes from a script and can run code inside a send or a box, where
// the window would process messages.
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "programming/BurnShell.h"

inline std::string HexBytes(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char b[4];
    for (uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%s%02X", text.empty() ? "" : " ", v);
        text += b;
    }
    return text;
}

class RecordingBurnShell : public BurnShell {
public:
    void SendBytes(const std::vector<uint8_t>& bytes, int room) override
    {
        if (sending)
            nestedSend = true;
        sent.push_back(bytes);
        log.push_back("send " + (bytes.size() > 8 ? std::to_string(bytes.size()) + " bytes" : HexBytes(bytes)) +
                      " room " + std::to_string(room));
        sending = true;
        Nested(duringSend);
        sending = false;
    }
    void SendIfRoom(const std::vector<uint8_t>& bytes) override
    {
        sent.push_back(bytes);
        log.push_back("send if room " + HexBytes(bytes));
    }
    void DropOutput() override { log.push_back("drop output"); }
    void Pause(int ms) override { log.push_back("pause " + std::to_string(ms)); }
    void ShowStatus(const std::string& caption) override
    {
        status = caption;
        log.push_back("status " + caption);
    }
    void ShowProgress(int min, int max, int position) override
    {
        log.push_back("progress " + std::to_string(min) + ".." + std::to_string(max) + " at " +
                      std::to_string(position));
    }
    void SetProgress(int position) override { log.push_back("progress at " + std::to_string(position)); }
    void HideProgress() override { log.push_back("progress hidden"); }
    int ShowBox(const std::string& text, const std::string& caption, unsigned flags) override
    {
        boxes.push_back(text);
        boxCaptions.push_back(caption);
        boxFlags.push_back(flags);
        log.push_back("box " + text);
        dismissed = false;
        Nested(duringBox);
        if (dismissed)
            return kAnswerOk;
        int answer = kAnswerOk;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    void DismissBox() override
    {
        dismissed = true;
        log.push_back("dismiss box");
    }
    void SetMaxSteps(int steps, bool keep) override
    {
        log.push_back("max steps " + std::to_string(steps) + (keep ? " keep" : " cut"));
    }
    void CloseWindow() override
    {
        closed = true;
        log.push_back("close");
    }

    // Lines of the log that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const std::string& line : log)
            if (line.compare(0, prefix.size(), prefix) == 0)
                out.push_back(line);
        return out;
    }

    std::vector<std::string> log;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<std::string> boxes;
    std::vector<std::string> boxCaptions;
    std::vector<unsigned> boxFlags;
    std::deque<int> answers;
    std::string status;
    bool closed = false;
    bool dismissed = false;
    bool sending = false;
    bool nestedSend = false;  // a send began while another was waiting
    // Run once inside the next send or box, as events the window handles meanwhile.
    std::function<void()> duringSend;
    std::function<void()> duringBox;

private:
    static void Nested(std::function<void()>& hook)
    {
        if (!hook)
            return;
        std::function<void()> run;
        run.swap(hook);
        run();
    }
};
