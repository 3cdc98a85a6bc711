#include "reports/ui/SlipImages.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstdlib>

#include "ledger/ItemTables.h"
#include "ledger/ui/FolderChooser.h"
#include "platform/Errors.h"
#include "platform/ui/MessageBox.h"
#include "reports/AnnualLedger.h"
#include "reports/ui/QtSurface.h"
#include "support/TempDir.h"

namespace reports::ui {
namespace {

using testing_support::TempDir;

struct SlipState {
    ledger::FixedClock clock{ledger::DateTime{2016, 4, 1}};
    ledger::Ledger l{clock};
    PageJob job;
    SlipState() {
        l.CurData.Era = "平成";
        l.CurData.Year = 28;
        l.CurData.Period = 4;
        l.BasicInfo().CorpName.set("有限会社テスト商会");
        l.BasicInfo().PayDay = 25;
        l.sysOption.prnRuikei = false;  // no year file needed
        l.PrnLayout = ledger::BuildPrnLayout(l.itemTables, ledger::SlipKind::Salary);
        job.docKind = kDocPaySlips;
        job.slip.FormType = 3;
        job.slipDate = {"平成 28", " 4", "25"};
        add(1, "山田太郎", 250000);
        add(2, "佐藤花子", 180000);
    }
    void add(int slot, const std::string& name, int base) {
        auto& e = l.Employee(slot);
        e.Key.set("16040100000" + std::to_string(slot));
        e.Name.set(name);
        e.Status = 1;
        e.Kind = 2;
        e.PayForm = 1;
        l.Payment(slot).Amounts[ledger::kPayBase] = base;
        l.Payment(slot).Amounts[ledger::kPayTotal] = base;
    }
};

void savePng(const QImage& image, const QString& name) {
    const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
    if (dir && *dir) image.save(QString::fromUtf8(dir) + "/" + name + ".png");
}

int darkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
}

TEST(SlipImages, ScaleFitsThePaperWidthToTheImage) {
    struct Case {
        int formType, dpi, zoom, ppi;
    } cases[] = {{3, 300, 106, 102}, {3, 360, 106, 102}, {3, 600, 106, 102},
                 {0, 600, 106, 102}, {1, 600, 86, 83},   {5, 300, 86, 83}};
    for (auto k : cases) {
        SlipImageScale s = SlipImageScaleFor(k.formType, k.dpi, k.dpi);
        EXPECT_EQ(s.zoom, k.zoom) << k.formType << " " << k.dpi;
        EXPECT_EQ(s.scaledPpi, k.ppi) << k.formType << " " << k.dpi;
    }
    EXPECT_NEAR(SlipImageScaleFor(3, 600, 600).dotsPerMm, 4.0157, 1e-3);
}

TEST(SlipImages, FileNamesFollowThePeriod) {
    SlipState s;
    s.l.sysOption.tokuSyoyo = "決算賞与";
    std::filesystem::path dir("/x");
    struct Case {
        int year, period;
        const char* name;
    } cases[] = {{28, 4, "給与28-04[山田太郎].jpg"},
                 {1, 1, "給与01-01[山田太郎].jpg"},
                 {28, 13, "夏期賞与[山田太郎].jpg"},
                 {28, 14, "冬期賞与[山田太郎].jpg"},
                 {28, 15, "決算賞与[山田太郎].jpg"}};
    for (auto k : cases) {
        s.l.CurData.Year = k.year;
        s.l.CurData.Period = k.period;
        EXPECT_EQ(SlipImageFileName(dir, s.l, 1), dir / k.name);
    }
    s.l.Employee(1).Name.set("営業/山田");
    EXPECT_EQ(SlipImageFileName(dir, s.l, 1).filename(), "決算賞与[営業_山田].jpg");
}

TEST(SlipImages, OneDecodableImagePerEmployeeAndNoneLost) {
    SlipState s;
    s.add(3, "山田太郎", 300000);  // the same name as slot 1
    TempDir dir;
    testing_support::writeText(dir / "給与28-04[佐藤花子].jpg", "earlier run");
    auto files = SaveSlipImagesTo(dir.path(), s.l, s.job, {2, 1, 3}, SlipImageTarget{});
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], dir / "給与28-04[佐藤花子].jpg");
    EXPECT_EQ(files[1], dir / "給与28-04[山田太郎].jpg");
    EXPECT_EQ(files[2], dir / "給与28-04[山田太郎]_3.jpg");
    for (const auto& f : files) {
        QImageReader reader(QString::fromStdString(f.string()), "jpeg");
        QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << f << " " << reader.errorString().toStdString();
        EXPECT_EQ(img.size(), QSize(840, 592));
        EXPECT_GT(darkPixels(img), 2000) << "the slip is drawn";
    }
    QImage first(QString::fromStdString(files[0].string()));
    savePng(first, "slip_image");
}

TEST(SlipImages, AFailedWriteStopsAtThatEmployee) {
    SlipState s;
    TempDir dir;
    EXPECT_THROW(SaveSlipImagesTo(dir / "missing", s.l, s.job, {1, 2}, SlipImageTarget{}),
                 platform::IoError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(SlipImages, CommandAsksForAFolderAndReportsWhereItSaved) {
    SlipState s;
    TempDir dir;
    TempDir ini;
    ledger::ui::FolderChooser folder(ini / "Tolvane.ini");
    std::vector<platform::ui::MessageRequest> boxes;
    platform::ui::ScopedResponder r([&](const platform::ui::MessageRequest& m) {
        boxes.push_back(m);
        return platform::ui::Answer::Ok;
    });

    folder.runModal = [] { return false; };
    EXPECT_TRUE(SaveSlipImages(s.l, s.job, {1}, SlipImageTarget{}, folder));
    EXPECT_EQ(folder.windowTitle(), QString("明細書を画像として保存する場所を指定"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    const QString path = QString::fromStdString(dir.path().string());
    folder.runModal = [&] {
        folder.FolderPath = path;
        return true;
    };
    EXPECT_TRUE(SaveSlipImages(s.l, s.job, {1, 2}, SlipImageTarget{}, folder));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, platform::ui::Icon::Information);
    EXPECT_EQ(boxes[0].text, "下記の場所に明細書をJPEG画像として保存しました。\r【" + path + "】");
    EXPECT_TRUE(std::filesystem::exists(dir / "給与28-04[佐藤花子].jpg"));

    boxes.clear();
    folder.runModal = [&] {
        folder.FolderPath = path + "/gone";
        return true;
    };
    EXPECT_FALSE(SaveSlipImages(s.l, s.job, {1}, SlipImageTarget{}, folder));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, platform::ui::Icon::Error);
}

// A ledger page as printed at 150 dpi, for a person to look at
// (TOLVANE_SCREENSHOT_DIR): no caption or figure may overlap or be clipped.
TEST(SlipImages, LedgerPageRendersOnAnImage) {
    SlipState s;
    TempDir dir;
    s.l.CurData.FileName = dir / "平成28年給与･賞与.dat";
    ledger::TPayrollFileHeader header{};
    auto block = std::make_unique<ledger::TPeriodBlock>();
    std::string bytes;
    std::string blocks;
    for (int p = 1; p <= 15; ++p) {
        std::memset(static_cast<void*>(block.get()), 0, sizeof *block);
        if (p != 2 && p != 15) {
            header.PeriodSaved[p - 1] = 1;
            block->EmployeeTbl[0].Key = s.l.Employee(1).Key;
            auto& pay = block->PaymentTbl[0];
            for (int i = 0; i < 19; ++i) pay.Amounts[i] = p >= 13 ? 0 : 10000 * (i + 1);
            pay.Amounts[ledger::kPayBase] = p >= 13 ? 1200000 : 3250000;
            pay.Amounts[ledger::kPayAbsence] = -12500;
            pay.Amounts[ledger::kPayTotal] = p >= 13 ? 1200000 : 3400000;
            auto& ded = block->DeductionTbl[0];
            for (int i = 0; i < 20; ++i) ded.Amounts[i] = 1000 * (i + 3);
            ded.Amounts[ledger::kDedTotal] = 812345;
            block->AttendanceTbl[0].Values[ledger::kAttDaysWorked] = 21;
            block->AttendanceTbl[0].Values[ledger::kAttOvertime] = 12.75;
        }
        blocks.append(reinterpret_cast<const char*>(block.get()), sizeof *block);
    }
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += blocks;
    testing_support::writeText(s.l.CurData.FileName, bytes);

    LedgerRowFlags flags;
    flags.added[1] = flags.added[8] = true;
    flags.removed[2] = flags.removed[14] = true;
    QImage image(1754, 1240, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        QtSurface surface(painter);
        PrnCanvas c;
        c.prepare(PrnCanvas::printerMetrics(150, 150, 0, 0), &surface);
        DrawLedgerPage(c, s.l, 1, flags);
    }
    EXPECT_GT(darkPixels(image), 20000);
    savePng(image, "annual_ledger");
}

}  // namespace
}  // namespace reports::ui
