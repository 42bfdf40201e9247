#pragma once
// Helpers of the class-library tests: a dialog provider that records and answers, a
// shown form that is freed at the end of a test, and message pumping.
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/DialogProvider.h"
#include "ui/Forms.h"

struct RecordedBox {
    std::string text, caption;
    unsigned flags;
    void* owner;
};

class RecordingDialogs : public DialogProvider {
public:
    RecordingDialogs() { previous_ = SetDialogProvider(this); }
    ~RecordingDialogs() override { SetDialogProvider(previous_); }
    int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned flags) override
    {
        boxes.push_back(RecordedBox{text, caption, flags, owner});
        return answer;
    }
    bool ShowFileDialog(void*, FileDialogRequest& request) override
    {
        files.push_back(request);
        request.fileName = chosenFile;
        return !chosenFile.empty();
    }
    bool ShowColorDialog(void*, uint32_t& color, uint32_t*) override
    {
        color = chosenColor;
        return true;
    }
    std::vector<RecordedBox> boxes;
    std::vector<FileDialogRequest> files;
    int answer = 1;
    std::string chosenFile;
    uint32_t chosenColor = 0;

private:
    DialogProvider* previous_;
};

// A form for one test, freed with the test.
struct TestForm {
    TestForm() : form(new TForm(Application)) { form->SetBounds(100, 100, 400, 300); }
    ~TestForm() { TComponent::Free(form); }
    TForm* operator->() const { return form; }
    TForm* form;
};

inline void Pump()
{
    Application->ProcessMessages();
}

// A control of class T made on parent (which owns it) with the given bounds.
template <class T>
T* Place(TWinControl* parent, int left, int top, int width, int height)
{
    auto* control = new T(parent);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}
