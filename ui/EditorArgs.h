// The editor's command line, once Qt has taken its own options out of it.
#pragma once

#include <string>
#include <vector>

namespace vorlane {

struct EditorArgs {
    bool ok = true;
    std::string file;   // empty: start with no image
    std::string error;  // why the command line was refused
};

// `args` are the arguments after the program name. "--" ends the options, so that a file whose
// name starts with a dash can be given; a lone "-" (standard input) is refused, even after "--":
// the editor opens regular files only.
EditorArgs parseEditorArgs(const std::vector<std::string>& args);

}  // namespace vorlane
