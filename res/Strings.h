// The string table, the version block and the icon of the editor.
#pragma once

#include <string>

namespace vorlane::res {

// The string with resource ID `id`; empty when there is none.
std::string loadString(int id);

// The product's web address, as the caption and the About box show it.
inline constexpr const char* kWebAddress = "vorlane.example.org";

// The version block of the program (string table "040904b0").
struct VersionBlock {
    const char* companyName;
    const char* fileDescription;
    const char* fileVersion;
    const char* internalName;
    const char* legalCopyright;
    const char* originalFilename;
    const char* productName;
    const char* productVersion;
};
extern const VersionBlock kVersionBlock;

// The release as the build knows it ("2.5.0").
const char* releaseVersion();

// Icon 128, 16 colours: a graphics chip on a card. XPM images, 32 x 32 and 16 x 16.
extern const char* const kIcon32[];
extern const char* const kIcon16[];

}  // namespace vorlane::res
