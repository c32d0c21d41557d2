#include "cli/Run.h"

int main(int argc, char** argv) {
    return vorlane::cli::run(argc, argv);
}
