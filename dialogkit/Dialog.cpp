// What every backend's dialogs do alike: data exchange, the default buttons, message boxes and
// the dispatch of a message to the handlers; the window itself is the backend's.
#include "dialogkit/Dialog.h"

#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"

namespace vorlane::dk {

bool CDialog::UpdateData(bool saveAndValidate) {
    if (window() == nullptr) {
        return false;
    }
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return prompts().messageBox(MessageRequest{text, caption, type}, window());
}

bool CDialog::dispatch(Message message, int id, const MessageArgs& args) {
    bool handled = false;
    ++dispatchDepth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{dispatchDepth_};
    runGuarded(window(), [&] {
        const MessageMap* map = GetMessageMap();
        if (map != nullptr && map->dispatch(*this, message, id, args)) {
            handled = true;
            return;
        }
        if (message == Message::Command) {
            if (id == IDOK) {
                OnOK();
                handled = true;
            } else if (id == IDCANCEL) {
                OnCancel();
                handled = true;
            } else if (CWinApp* app = AfxGetApp();
                       app != nullptr && app->GetMessageMap() &&
                       app->GetMessageMap()->dispatch(*app, message, id, args)) {
                handled = true;
            }
        } else if (message == Message::SysCommand) {
            OnSysCommand(args.value);
            handled = true;
        }
    });
    return handled;
}

}  // namespace vorlane::dk
