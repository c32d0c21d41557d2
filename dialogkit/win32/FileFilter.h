// Kit-internal: the file dialogs' filter of the kit ("Text (*.a)|*.a|All Files (*.*)|*.*||") as
// the system's lpstrFilter: pairs of description and patterns, each ended by a NUL, the list by
// another. Pure, so that it is tested without a window.
#pragma once

#include <string>

namespace vorlane::dk {

std::wstring systemFileFilter(const std::string& filter);

}  // namespace vorlane::dk
