#include "reports/ui/SlipImages.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>

#include "ledger/ui/FolderChooser.h"
#include "platform/Files.h"
#include "platform/ui/MessageBox.h"
#include "reports/JpegWriter.h"
#include "reports/LedgerCsv.h"
#include "reports/ListHead.h"
#include "reports/ui/QtSurface.h"

namespace reports::ui {

SlipImageScale SlipImageScaleFor(int formType, int dpiX, int dpiY, int ppi) {
    const double paperWidthMm = IsB5FormType(formType) ? 257.0 : 210.0;
    // The physical page width in printer dots, as the printer reports it.
    const double widthDots = std::nearbyint(paperWidthMm / 25.4 * dpiX);
    SlipImageScale s;
    s.zoom = int(std::nearbyint(kSlipImageWidth / widthDots / (double(ppi) / dpiY) * 100));
    // MulDiv rounds halves away from zero.
    s.scaledPpi = int((static_cast<long long>(ppi) * s.zoom * 2 + 100) / 200);
    s.dotsPerMm = float(s.scaledPpi / 25.4);
    return s;
}

std::string SlipImagePeriodName(const ledger::Ledger& l) {
    switch (l.CurData.Period) {
        case 13:
            return "夏期賞与";
        case 14:
            return "冬期賞与";
        case 15:
            return l.sysOption.tokuSyoyo;
        default:
            return Fmt("給与%.2d-%.2d", l.CurData.Year, l.CurData.Period);
    }
}

std::filesystem::path SlipImageFileName(const std::filesystem::path& folder,
                                        const ledger::Ledger& l, int slot,
                                        const std::string& suffix) {
    return folder / (SafeFileNamePart(SlipImagePeriodName(l)) + "[" +
                     SafeFileNamePart(l.Employee(slot).Name.str()) + "]" + suffix + ".jpg");
}

void RenderSlipImage(QImage& image, const ledger::Ledger& l, const PageJob& job, int slot,
                     const SlipImageTarget& target) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Rules of one or two pixels stay crisp.
    painter.setRenderHint(QPainter::Antialiasing, false);
    QtSurface surface(painter);

    const SlipImageScale scale = SlipImageScaleFor(job.slip.FormType, target.dpiX, target.dpiY);
    TargetMetrics m = PrnCanvas::printerMetrics(target.dpiX, target.dpiY, target.physOffsetXDots,
                                                target.physOffsetYDots);
    m.DotsPerMmX = m.DotsPerMmY = scale.dotsPerMm;
    m.ThinPenWidth = 1;
    m.ThickPenWidth = 2;
    PrnCanvas c;
    c.prepare(m, &surface);
    c.PrAdjustH = target.prAdjustH;
    c.PrAdjustV = target.prAdjustV;
    // One slip per image, in the upper position, whatever the form type.
    DrawPage(c, l, job, slot, 0);
}

std::vector<std::filesystem::path> SaveSlipImagesTo(const std::filesystem::path& folder,
                                                    const ledger::Ledger& l, const PageJob& job,
                                                    const std::vector<int>& chosen,
                                                    const SlipImageTarget& target) {
    PageJob slipJob = job;
    slipJob.docKind = kDocPaySlips;
    QImage image(kSlipImageWidth, kSlipImageHeight, QImage::Format_RGB32);
    // Opened once: every image lands in the folder chosen, whatever happens to its path meanwhile.
    const platform::Folder into(folder);
    std::vector<std::filesystem::path> written;
    std::set<std::filesystem::path> used;
    for (int slot : chosen) {
        if (slot < 1 || slot > ledger::kSlots) continue;
        std::filesystem::path file = SlipImageFileName(folder, l, slot);
        if (used.count(file)) file = SlipImageFileName(folder, l, slot, "_" + std::to_string(slot));
        RenderSlipImage(image, l, slipJob, slot, target);
        const QImage& pixels = image;  // constBits: no detach
        WriteJpeg(into, file.filename().string(), pixels.constBits(), pixels.width(),
                  pixels.height(), std::size_t(pixels.bytesPerLine()), PixelLayout::Bgrx);
        used.insert(file);
        written.push_back(file);
    }
    return written;
}

QString SlipImagesDoneText(const QString& folder) {
    return QStringLiteral("下記の場所に明細書をJPEG画像として保存しました。\r【%1】").arg(folder);
}

bool SaveSlipImages(const ledger::Ledger& l, const PageJob& job, const std::vector<int>& chosen,
                    const SlipImageTarget& target, ledger::ui::FolderChooser& folderDialog,
                    QWidget* parent) {
    if (!folderDialog.choose(QString::fromUtf8(kSlipImageFolderCaption), true)) return true;
    // The chooser is off the screen before the work starts.
    QCoreApplication::processEvents();
    const QString folder = folderDialog.FolderPath;
    try {
        SaveSlipImagesTo(std::filesystem::path(folder.toStdString()), l, job, chosen, target);
    } catch (const std::exception& e) {
        platform::ui::MessageBox::error(parent, QString::fromUtf8(e.what()));
        return false;
    }
    platform::ui::MessageBox::information(parent, SlipImagesDoneText(folder));
    return true;
}

}  // namespace reports::ui
