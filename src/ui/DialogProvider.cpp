#include "ui/DialogProvider.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Text.h"

namespace {

class SystemDialogs : public DialogProvider {
public:
    int ShowMessageBox(void* owner, const std::string& text, const std::string& caption,
                   unsigned flags) override
    {
        return MessageBoxW(static_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(), flags);
    }

    bool ShowFileDialog(void* owner, FileDialogRequest& request) override
    {
        // "A|*.a|B|*.b" becomes "A\0*.a\0B\0*.b\0\0".
        std::wstring filter = ToWide(request.filter);
        for (wchar_t& c : filter)
            if (c == L'|')
                c = L'\0';
        filter.push_back(L'\0');
        filter.push_back(L'\0');
        std::vector<wchar_t> name(32768, L'\0');
        std::wstring proposed = ToWide(request.fileName);
        proposed.copy(name.data(), name.size() - 1);
        std::wstring title = ToWide(request.title), dir = ToWide(request.initialDir),
                     ext = ToWide(request.defaultExt);

        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = static_cast<HWND>(owner);
        ofn.lpstrFilter = filter.c_str();
        ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
        ofn.lpstrFile = name.data();
        ofn.nMaxFile = static_cast<DWORD>(name.size());
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
        ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
        ofn.Flags = request.options | OFN_EXPLORER;
        BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        if (!ok || !AcceptChosenFileName(name.data(), request.fileName))
            return false;
        request.filterIndex = static_cast<int>(ofn.nFilterIndex);
        return true;
    }

    bool ShowColorDialog(void* owner, uint32_t& color, uint32_t* customColors) override
    {
        static COLORREF defaultCustom[16] = {};
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = static_cast<HWND>(owner);
        cc.rgbResult = color;
        cc.lpCustColors = customColors ? reinterpret_cast<COLORREF*>(customColors) : defaultCustom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        if (!ChooseColorW(&cc))
            return false;
        color = cc.rgbResult;
        return true;
    }
};

SystemDialogs systemDialogs;
DialogProvider* current = &systemDialogs;

} // namespace

bool AcceptChosenFileName(const std::wstring& chosen, std::string& fileName)
{
    std::string converted;
    if (!FromWideExact(chosen, converted)) {
        ShowMessageBox("Имя файла содержит знаки, которые программа не может сохранить:\n" + converted,
                       Application ? Application->Title() : std::string(), MB_OK | MB_ICONSTOP);
        return false;
    }
    fileName = converted;
    return true;
}

DialogProvider& Dialogs() { return *current; }

DialogProvider* SetDialogProvider(DialogProvider* provider)
{
    DialogProvider* previous = current;
    current = provider ? provider : &systemDialogs;
    return previous;
}
