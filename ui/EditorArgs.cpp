#include "ui/EditorArgs.h"

namespace vorlane {

EditorArgs parseEditorArgs(const std::vector<std::string>& args) {
    EditorArgs result;
    bool optionsEnded = false;
    int files = 0;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return EditorArgs{false, {}, "unknown option '" + arg + "'"};
        }
        // A window must not wait on a terminal for an image; a file named "-" is "./-".
        if (arg == "-") {
            return EditorArgs{
                false, {}, "'-' names standard input, and the editor reads files only"};
        }
        if (++files > 1) {
            return EditorArgs{false, {}, "only one FILE can be opened"};
        }
        result.file = arg;
    }
    return result;
}

}  // namespace vorlane
