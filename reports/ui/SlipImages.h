#pragma once
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/DrawPage.h"

class QImage;
class QWidget;

namespace ledger::ui {
class FolderChooser;
}

// Pay slips saved as JPEG images instead of printed ("画像に保存" of the print
// dialog for pay slips): one 840 × 592 image per chosen employee, the slip drawn
// by the same drawers as on paper, in the upper position of its sheet, scaled so
// that the paper width (A5, or B5 for the B5 form types) fills the image.
namespace reports::ui {

inline constexpr int kSlipImageWidth = 840;
inline constexpr int kSlipImageHeight = 592;
inline constexpr const char* kSlipImageFolderCaption = "明細書を画像として保存する場所を指定";

// The scale of the image: dots per millimetre from the printer's resolution and
// the paper width, zoom = Round(840 / W / (ppi / dpiY) × 100) with W the paper
// width in printer dots, then MulDiv(ppi, zoom, 100) / 25.4. The pixels per
// inch are fixed at 96 so images do not depend on the screen.
struct SlipImageScale {
    int zoom = 0;       // percent
    int scaledPpi = 0;  // MulDiv(ppi, zoom, 100)
    float dotsPerMm = 0;
};
SlipImageScale SlipImageScaleFor(int formType, int dpiX, int dpiY, int ppi = 96);

// The period's part of the file name: "給与28-04" for a salary month,
// "夏期賞与", "冬期賞与" or the user's name of the third bonus.
std::string SlipImagePeriodName(const ledger::Ledger& l);

// "<folder>/<period name>[<name as stored>].jpg"; "/" and control characters of
// the name become "_". With a non-empty `suffix` it goes before ".jpg".
std::filesystem::path SlipImageFileName(const std::filesystem::path& folder,
                                        const ledger::Ledger& l, int slot,
                                        const std::string& suffix = {});

// Where the images are printed from: the printer's resolution and physical
// offsets in dots (no printer: 600 dpi, no offsets), and the correction in force.
struct SlipImageTarget {
    int dpiX = 600, dpiY = 600;
    int physOffsetXDots = 0, physOffsetYDots = 0;
    double prAdjustH = 0, prAdjustV = 0;
};

// Draws one employee's slip onto the image (filled white first).
void RenderSlipImage(QImage& image, const ledger::Ledger& l, const PageJob& job, int slot,
                     const SlipImageTarget& target);

// Renders and writes the image of every slot in order into the folder, an
// existing file of the same name being replaced. Two chosen employees of the same
// name would write the same file: the later one gets "_<slot>" before ".jpg" so
// no chosen slip is lost. Returns the files written. Throws (platform::IoError,
// JpegError, a drawer's error) at the first slip that cannot be saved; the images
// saved before it stay.
std::vector<std::filesystem::path> SaveSlipImagesTo(const std::filesystem::path& folder,
                                                    const ledger::Ledger& l, const PageJob& job,
                                                    const std::vector<int>& chosen,
                                                    const SlipImageTarget& target);

// "下記の場所に明細書をJPEG画像として保存しました。\r【<folder>】"
QString SlipImagesDoneText(const QString& folder);

// The whole command: the folder chooser ("明細書を画像として保存する場所を指定"),
// the images, the closing message. Returns true when the print dialog is to
// close (also after the folder choice was cancelled); false after a failure,
// which was shown in an error box.
bool SaveSlipImages(const ledger::Ledger& l, const PageJob& job, const std::vector<int>& chosen,
                    const SlipImageTarget& target, ledger::ui::FolderChooser& folderDialog,
                    QWidget* parent = nullptr);

}  // namespace reports::ui
