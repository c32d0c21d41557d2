#include "dialogkit/FileDialog.h"

#include <utility>

#include "dialogkit/Types.h"

namespace vorlane::dk {

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExt, std::string fileName,
                         unsigned flags, std::string filter)
    : request_{openFileDialog, std::move(defaultExt), std::move(fileName), flags,
               std::move(filter)} {}

int CFileDialog::DoModal() {
    const std::optional<std::string> chosen = prompts().chooseFile(request_, nullptr);
    if (!chosen) {
        return IDCANCEL;
    }
    path_ = *chosen;
    return IDOK;
}

}  // namespace vorlane::dk
