// The system's own file dialogs and message boxes.
#include "dialogkit/Prompts.h"

#include "dialogkit/win32/Win32.h"

#include <commdlg.h>

#include <vector>

#include "dialogkit/win32/FileFilter.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

class Win32Prompts : public Prompts {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest& request,
                                          WindowHandle owner) override {
        const std::wstring filter = systemFileFilter(request.filter);
        const std::wstring defaultExt = widen(request.defaultExt);
        // Room for a long path; the initial name goes in first.
        std::vector<wchar_t> name(32768, L'\0');
        const std::wstring initial = widen(request.initialName);
        if (initial.size() < name.size()) {
            std::copy(initial.begin(), initial.end(), name.begin());
        }
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = toHwnd(owner);
        ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = name.data();
        ofn.nMaxFile = static_cast<DWORD>(name.size());
        ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
        // The kit's flags are the system's; a dialog never changes the program's folder.
        ofn.Flags = request.flags | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
        const BOOL chosen = request.open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
        if (!chosen) {
            return std::nullopt;
        }
        return narrow(name.data());
    }

    int messageBox(const MessageRequest& request, WindowHandle owner) override {
        HWND parent = toHwnd(owner);
        UINT type = request.type & (MB_TYPEMASK | MB_ICONMASK);
        if (parent == nullptr) {
            type |= MB_TASKMODAL;
        }
        const int result =
            MessageBoxW(parent, widen(request.text).c_str(), widen(request.caption).c_str(), type);
        switch (result) {
            case IDYES:
                return IDYES;
            case IDNO:
                return IDNO;
            default:
                return IDOK;
        }
    }
};

}  // namespace

Prompts& nativePrompts() {
    static Win32Prompts instance;
    return instance;
}

}  // namespace vorlane::dk
