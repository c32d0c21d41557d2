// The PCI ID dialog: the image's four PCI identifiers, of which the subsystem vendor ID and the
// subsystem ID can be changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogkit/Dialog.h"
#include "image/RomImage.h"

namespace vorlane {

class CSubsysDlg : public dk::CDialog {
  public:
    CSubsysDlg();
    ~CSubsysDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Members in declaration order; the comments name the bound control. The owner sets the
    // image and all four texts before every run.
    CRomImage* m_pImage = nullptr;  // not owned
    dk::CEdit m_subsystemIdEdit;    // 1013
    dk::CEdit m_subvendorIdEdit;    // 1014
    std::string m_deviceIdText;     // text of 1012
    std::string m_vendorIdText;     // text of 1038
    std::string m_subvendorIdText;  // text of 1014
    std::string m_subsystemIdText;  // text of 1013

    // The first four characters of `text` as hexadecimal digits, the first the most significant.
    // Anything that is not a hexadecimal digit counts as 0, and so does a character the text
    // lacks. The text is UTF-8; a character is one code point, whatever its length in bytes.
    static uint16_t Hex4(std::string_view text);

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    void OnOK() override;

    void OnEdit();
    void OnEditEnd();
};

// `value` as four lower-case hexadecimal digits.
std::string hexId(uint16_t value);

}  // namespace vorlane
