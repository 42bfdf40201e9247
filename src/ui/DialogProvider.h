#pragma once
// Message boxes and the common file and colour dialogs go through one provider, so
// tests can answer them without a person. The default provider shows the real ones.
#include <cstdint>
#include <string>

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;       // "Text|*.txt|All|*.*"
    int filterIndex = 1;
    std::string defaultExt;
    std::string initialDir;
    std::string fileName;     // in: proposed name; out: chosen name
    unsigned options = 0;     // OFN_* flags
};

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // Returns the IDOK/IDYES/... code of the pressed button. owner is a window handle.
    virtual int ShowMessageBox(void* owner, const std::string& text, const std::string& caption,
                           unsigned flags) = 0;
    // True when the user chose a file; request.fileName and filterIndex are updated.
    virtual bool ShowFileDialog(void* owner, FileDialogRequest& request) = 0;
    // True when the user chose a colour; color (0x00BBGGRR) is updated.
    virtual bool ShowColorDialog(void* owner, uint32_t& color, uint32_t* customColors) = 0;
};

// Takes the name chosen in a file dialog: true with fileName set when Windows-1251 can
// hold it exactly; otherwise shows a stop box (through the provider) naming it and
// returns false, so a look-alike name never reads or overwrites a different file.
bool AcceptChosenFileName(const std::wstring& chosen, std::string& fileName);

// The provider in use (never null) and the way a test replaces it; returns the previous.
DialogProvider& Dialogs();
DialogProvider* SetDialogProvider(DialogProvider* provider);
