// A file dialog with no parent window, run through the prompts.
#pragma once

#include <string>

#include "dialogkit/Prompts.h"

namespace vorlane::dk {

class CFileDialog {
  public:
    CFileDialog(bool openFileDialog, std::string defaultExt, std::string fileName, unsigned flags,
                std::string filter);
    int DoModal();  // IDOK or IDCANCEL
    std::string GetPathName() const { return path_; }

  private:
    FileDialogRequest request_;
    std::string path_;
};

}  // namespace vorlane::dk
