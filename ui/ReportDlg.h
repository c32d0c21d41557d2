// The report dialogs of the window menu: "Compare with File..." and "Check for Flashing...".
// Both report on the image as "Save Bios" would write it now, in the words vorlane-cli prints for
// that file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dialogkit/Dialog.h"
#include "image/RomImage.h"
#include "ui/CoreTexts.h"

namespace vorlane {

// The image as "Save Bios" would write it now (checksum fixed, `length` bytes), read back the way
// vorlane-cli reads that file: a fresh image, loaded and validated. The editor's image is left
// as it is.
struct SavedImage {
    std::vector<uint8_t> bytes;
    std::unique_ptr<CRomImage> image;
    RomStatus status = kRomOk;
};
SavedImage savedImage(const CRomImage& image);

// `vorlane-cli diff`'s report for `saved`, named `name`, against the file at `otherPath`, in the
// words of `texts` (vorlane-cli's own when English). Throws FileError when that file cannot be
// read.
std::string compareReport(const std::string& name, const SavedImage& saved,
                          const std::string& otherPath, const ReportTexts& texts = reportTexts());

// `vorlane-cli check --chip-size CHIP`'s report for `saved`, named `name`.
std::string checkReport(const std::string& name, const SavedImage& saved, uint64_t chipSize,
                        const ReportTexts& texts = reportTexts());

// A read-only report in a fixed-pitch font, with "Copy" and "Close".
class CReportDlg : public dk::CDialog {
  public:
    explicit CReportDlg(const dk::DialogTemplate& dialogTemplate);
    ~CReportDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    std::string m_report;  // text of 1050

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;

    void OnCopy();
};

// "Compare with File...": the report is set by the owner before the run.
class CCompareDlg : public CReportDlg {
  public:
    CCompareDlg();
};

// "Check for Flashing...": the report for the chip size chosen, and the image saved padded to it.
class CCheckDlg : public CReportDlg {
  public:
    CCheckDlg();
    ~CCheckDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Set by the owner before every run.
    const CRomImage* m_pImage = nullptr;  // not owned
    std::string m_path;                   // the name the report gives the image
    dk::CComboBox m_chipSizeCombo;        // 1052

    // The chip sizes offered after the image's own, in bytes.
    static constexpr uint64_t kChipSizes[] = {32 * 1024, 64 * 1024, 128 * 1024};

    // The chip size of the choice shown; the image's own size for the first entry.
    uint64_t ChosenChipSize() const;

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    bool OnInitDialog() override;

    void OnChipSize();
    void OnSavePadded();

  private:
    SavedImage saved_;
};

}  // namespace vorlane
