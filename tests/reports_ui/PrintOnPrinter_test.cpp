#include "reports/ui/PrintOnPrinter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ledger/Backup.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/ui/Printer.h"
#include "reports/JpegWriter.h"
#include "reports/ListFixture.h"
#include "reports/MonthlyListCsv.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"

namespace {
using reports::PrnCanvas;

// However a job fails, at a sheet or at its very end when the last page goes
// out, the user is told and the job is not taken for printed.
TEST(PrintOnPrinter, AJobThatFailsAtASheetOrAtItsEndIsReported) {
    struct Case {
        const char* what;
        std::function<void(platform::ui::Printer&)> whileDrawing;
        QStringList shown;
    };
    const Case cases[] = {
        {"a job that prints", [](platform::ui::Printer&) {}, {}},
        {"a sheet that cannot be drawn",
         [](platform::ui::Printer&) { throw std::runtime_error("描画できません。"); },
         {QStringLiteral("描画できません。")}},
        {"a page the painter cannot finish",
         [](platform::ui::Printer& p) { p.qprinter().paintEngine()->painter()->end(); },
         {QStringLiteral("印刷に失敗しました。")}},
    };
    for (const Case& c : cases) {
        testing_support::TempDir dir;
        testing_support::BoxRecorder box;
        platform::ui::Printer printer;
        ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
        printer.setPdfOutputFile(QString::fromStdString((dir / "job.pdf").string()));
        const bool printed = reports::ui::PrintOnPrinter(
            printer, QStringLiteral("job"), 1, [&](PrnCanvas&, int) { c.whileDrawing(printer); },
            nullptr);
        EXPECT_EQ(printed, c.shown.isEmpty()) << c.what;
        EXPECT_EQ(box.boxes, c.shown) << c.what;
    }
}

// A file-size limit for the process, as a full disk cuts a file short; the
// programs ignore the signal that would otherwise end them.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        platform::ignoreFileSizeSignal();
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

// Sheets full of text, different in every job, so that no two files are alike.
void drawDenseSheet(PrnCanvas& canvas, int sheet, int job) {
    canvas.resetFont("ＭＳ 明朝");
    canvas.SetFontPoints(7);
    static const char* const kLines[] = {
        "給与明細書基本役職手当家族通勤費健康保険料介護厚生年金雇用所得税住民差引支額振込先銀行店",
        "一右雨円王音下火花貝学気九休玉金空月犬見五口校左三山子四糸字耳七車手十出女小上森人水正",
        "生青夕石赤千川先早草足村大男竹中虫町天田土二日入年白八百文木本名目立力林六引羽雲園遠何",
        "科夏家歌画回会海絵外角楽活間丸岩顔汽記帰弓牛魚京強教近兄形計元言原戸古午後語工公広交光",
        "考行高黄合谷国黒今才細作算止市矢姉思紙寺自時室社弱首秋週春書少場色食心新親図数西声星晴"};
    for (int row = 0; row < 100; ++row)
        canvas.DrawText(std::string(kLines[(row + sheet) % 5]) + std::to_string(job * 1000 + row),
                        10, 10 + float(row) * 2.8f);
}

// An output the disk cannot hold whole never replaces the earlier file, and the
// failure is reported: a PDF through the print job, and the CSV and JPEG files
// that are written whole from memory.
TEST(PrintOnPrinter, AnOutputTheDiskCannotHoldLeavesTheEarlierFileAndIsReported) {
    namespace fs = std::filesystem;
    enum class Kind { Pdf, Csv, Jpeg };
    const struct Row {
        Kind kind;
        int sheets;
        rlim_t limit;
    } rows[] = {
        {Kind::Pdf, 1, 4096}, {Kind::Pdf, 1, 8192},  {Kind::Pdf, 1, 16384}, {Kind::Pdf, 3, 4096},
        {Kind::Pdf, 3, 8192}, {Kind::Pdf, 3, 16384}, {Kind::Csv, 0, 4096},  {Kind::Jpeg, 0, 4096},
    };
    reports::testing::ListFixture list;
    for (int i = 0; i < 80; ++i) list.add("社員" + std::to_string(i), 100000 + i);
    std::vector<std::uint8_t> pixels(400 * 400 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 7919 % 251);

    for (const Row& row : rows) {
        const std::string what = std::to_string(int(row.kind)) + "/" + std::to_string(row.sheets) +
                                 "/" + std::to_string(row.limit);
        testing_support::TempDir dir;
        const fs::path file = dir / "out";
        platform::ui::Printer printer;
        ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
        printer.setPdfOutputFile(QString::fromStdString(file.string()));
        // True when the output was reported written, false when reported failed.
        auto output = [&](int job) {
            switch (row.kind) {
                case Kind::Pdf:
                    return reports::ui::PrintOnPrinter(
                        printer, QStringLiteral("job"), row.sheets,
                        [&](PrnCanvas& c, int sheet) { drawDenseSheet(c, sheet, job); }, nullptr);
                case Kind::Csv:
                    list.l.CurData.Period = job;
                    try {
                        reports::WriteMonthlyCsv(file, list.l, {},
                                                 reports::MonthlyGrouping::Normal);
                        return true;
                    } catch (const platform::IoError&) {
                        return false;
                    }
                case Kind::Jpeg:
                    pixels[0] = std::uint8_t(job);
                    try {
                        reports::WriteJpeg(file, pixels.data(), 400, 400, 400 * 3,
                                           reports::PixelLayout::Rgb);
                        return true;
                    } catch (const platform::IoError&) {
                        return false;
                    }
            }
            return false;
        };
        testing_support::BoxRecorder box;
        ASSERT_TRUE(output(1)) << what;
        const std::string earlier = testing_support::readText(file);
        ASSERT_GT(earlier.size(), std::size_t(row.limit)) << what;
        bool written = true;
        {
            FileSizeLimit limit(row.limit);
            written = output(2);
        }
        EXPECT_FALSE(written) << what;
        if (row.kind == Kind::Pdf) {
            EXPECT_EQ(box.boxes.size(), 1) << what;
            EXPECT_TRUE(box.boxes.value(0).startsWith(QStringLiteral("印刷に失敗しました。\r")))
                << what << box.boxes.value(0).toStdString();
        }
        EXPECT_EQ(testing_support::readText(file), earlier) << what;
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"out"}) << what;
    }
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// A job killed before it ended leaves no file of ours in the chosen folder: the
// PDF's temporary file has no name until it is renamed into place, and what a
// killed job left where files must be named at once (".tolvane." and twelve hex
// digits) is removed by the next output to the folder, unless a job holds it.
TEST(PrintOnPrinter, AKilledJobLeavesNoFileOfOursInTheChosenFolder) {
    namespace fs = std::filesystem;
    enum class Kind { PdfKilled, BackupAfterLeftover, BackupBesideAHeldFile };
    const struct Row {
        Kind kind;
        std::vector<std::string> left;
    } rows[] = {
        {Kind::PdfKilled, {"out.pdf"}},
        {Kind::BackupAfterLeftover, {"Tolvane.ini", "a.dat"}},
        {Kind::BackupBesideAHeldFile, {".tolvane.0123456789ab", "Tolvane.ini", "a.dat"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.kind));
        testing_support::TempDir dir;
        const fs::path folder = dir / "chosen";
        fs::create_directory(folder);
        if (row.kind == Kind::PdfKilled) {
            testing_support::BoxRecorder box;
            platform::ui::Printer printer;
            ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
            printer.setPdfOutputFile(QString::fromStdString((folder / "out.pdf").string()));
            auto print = [&](int job) {
                return reports::ui::PrintOnPrinter(
                    printer, QStringLiteral("job"), 3,
                    [&](PrnCanvas& c, int sheet) {
                        if (job == 2 && sheet == 1) std::raise(SIGKILL);
                        drawDenseSheet(c, sheet, job);
                    },
                    nullptr);
            };
            ASSERT_TRUE(print(1));
            const std::string earlier = testing_support::readText(folder / "out.pdf");
            const pid_t child = ::fork();
            if (child == 0) {
                print(2);
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status));
            EXPECT_EQ(testing_support::readText(folder / "out.pdf"), earlier);
        } else {
            const fs::path data = dir / "data";
            fs::create_directory(data);
            testing_support::writeText(data / "a.dat", "a");
            testing_support::writeText(dir / "Tolvane.ini", "[Option]\r\n");
            const fs::path leftover = folder / ".tolvane.0123456789ab";
            testing_support::writeText(leftover, "half a copy");
            int held = -1;
            if (row.kind == Kind::BackupBesideAHeldFile) {
                held = ::open(leftover.c_str(), O_RDONLY | O_CLOEXEC);
                ASSERT_EQ(::flock(held, LOCK_EX), 0);
            }
            EXPECT_TRUE(ledger::BackupData(data, dir / "Tolvane.ini", folder));
            if (held >= 0) ::close(held);
        }
        EXPECT_EQ(namesIn(folder), row.left);
    }
}

}  // namespace
