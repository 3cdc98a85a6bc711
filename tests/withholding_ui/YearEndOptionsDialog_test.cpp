#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/YearEndOptionsDialog.h"

namespace {
namespace fs = std::filesystem;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using withholding::YearEndOption;
using withholding::ui::YearEndOptionsDialog;

struct OptionDialog {
    TempDir dir;
    fs::path ini = dir / "Tolvane.ini";
    fs::path data = dir / "Data";
    ledger::FixedClock clock{{2025, 12, 20, 9, 0, 0}};
    ledger::Ledger ledger{clock};
    YearEndOption option;
    std::unique_ptr<YearEndOptionsDialog> dlg;

    explicit OptionDialog(const std::string& iniText) {
        fs::create_directories(data);
        testing_support::writeText(ini, sjis::fromUtf8(iniText));
        dlg = std::make_unique<YearEndOptionsDialog>(option, ledger, ini, data);
    }
    std::string key(const char* name) const {
        return platform::IniFile(ini).readString("Option", name, "<none>");
    }
};

TEST(YearEndOptionsDialog, LoadsAtCreationAndShowsOnlyItsThreeControls) {
    OptionDialog t("[Option]\r\nSyubetu=賞与\r\nPrintLine=0\r\nAutoSelect=0\r\nInputOverN=0\r\n");
    EXPECT_EQ(t.option.Syubetu, "賞与");
    EXPECT_FALSE(t.option.PrintLine);
    // The shared entry fields follow the year-end switches.
    EXPECT_FALSE(t.ledger.sysOption.autoSelect);
    EXPECT_FALSE(t.ledger.sysOption.inputOverN);

    t.dlg->show();
    EXPECT_EQ(t.dlg->windowTitle(), "動作環境設定");
    EXPECT_EQ(t.dlg->edSyubetu->text(), "賞与");
    EXPECT_FALSE(t.dlg->cbPrnLine->isChecked());
    EXPECT_TRUE(t.dlg->cbHasuuCut->isChecked());
    EXPECT_FALSE(t.dlg->cbAutoSel->isChecked());
    for (QWidget* w :
         {static_cast<QWidget*>(t.dlg->edSyubetu), static_cast<QWidget*>(t.dlg->cbPrnLine),
          static_cast<QWidget*>(t.dlg->cbHasuuCut), static_cast<QWidget*>(t.dlg->btSysSave),
          static_cast<QWidget*>(t.dlg->btCancel)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    for (QWidget* w :
         {static_cast<QWidget*>(t.dlg->gbYubin), static_cast<QWidget*>(t.dlg->cbAutoSel),
          static_cast<QWidget*>(t.dlg->cbInpOverN), static_cast<QWidget*>(t.dlg->sbUpdate)})
        EXPECT_FALSE(w->isVisible());
    testing_support::screenshot(t.dlg.get(), "YearEndOption");
}

TEST(YearEndOptionsDialog, PostalLookupPassesThroughTheHiddenBoxes) {
    const struct {
        int stored;
        bool atok, yubin;
        const char* written;
    } cases[] = {{0, false, false, "0"},
                 {1, true, false, "1"},
                 {2, false, true, "2"},
                 {3, false, false, "0"},
                 {-1, false, false, "0"}};
    for (const auto& c : cases) {
        OptionDialog t("[Option]\r\nYubinDat=" + std::to_string(c.stored) + "\r\n");
        t.dlg->show();
        EXPECT_EQ(t.dlg->cbAtokDic->isChecked(), c.atok) << c.stored;
        EXPECT_EQ(t.dlg->cbYubinDat->isChecked(), c.yubin) << c.stored;
        t.dlg->btSysSave->click();
        EXPECT_EQ(t.dlg->result(), QDialog::Accepted);
        EXPECT_EQ(t.key("YubinDat"), c.written) << c.stored;
        EXPECT_EQ(t.option.YubinDat, std::stoi(c.written));
    }
}

TEST(YearEndOptionsDialog, OkWritesTheSixKeysAndCancelKeepsEverything) {
    OptionDialog t("[Option]\r\nPrAdjustH=15\r\n");
    t.dlg->show();
    t.dlg->btSysSave->click();
    EXPECT_EQ(t.dlg->result(), QDialog::Accepted);
    const std::string text = readText(t.ini);
    EXPECT_NE(text.find("Syubetu=" + sjis::fromUtf8("給与･賞与") + "\r\n"), std::string::npos);
    for (const char* k : {"AutoSelect", "InputOverN", "PrintLine", "HasuuCut"})
        EXPECT_EQ(t.key(k), "1") << k;
    EXPECT_EQ(t.key("YubinDat"), "0");
    EXPECT_EQ(t.key("PrAdjustH"), "15");
    EXPECT_EQ(t.key("PrAdjustV"), "<none>");

    const std::string before = readText(t.ini);
    t.dlg->show();
    t.dlg->cbHasuuCut->setChecked(false);
    t.dlg->edSyubetu->setText("賞与");
    t.dlg->btCancel->click();
    EXPECT_EQ(t.dlg->result(), QDialog::Rejected);
    EXPECT_EQ(readText(t.ini), before);
    EXPECT_TRUE(t.option.HasuuCut);
    EXPECT_EQ(t.option.Syubetu, "給与･賞与");
    // Shown again, the dialog has forgotten the cancelled edits.
    t.dlg->show();
    EXPECT_TRUE(t.dlg->cbHasuuCut->isChecked());
    EXPECT_EQ(t.dlg->edSyubetu->text(), "給与･賞与");

    t.dlg->cbHasuuCut->setChecked(false);
    t.dlg->btSysSave->click();
    EXPECT_FALSE(t.option.HasuuCut);
    EXPECT_EQ(t.key("HasuuCut"), "0");
}

TEST(YearEndOptionsDialog, SyubetuIsHeldToTwelveBytes) {
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"ABCDEFGHIJK賞", "ABCDEFGHIJK"}, {"給与・賞与・手当", "給与・賞与・"}};
    for (const auto& c : cases) {
        OptionDialog t("");
        t.dlg->show();
        t.dlg->edSyubetu->setText(QString::fromUtf8(c.typed));
        t.dlg->btSysSave->click();
        EXPECT_EQ(t.option.Syubetu, c.kept);
        EXPECT_EQ(t.dlg->edSyubetu->text().toStdString(), c.kept);
        EXPECT_EQ(t.key("Syubetu"), c.kept);
    }
}

TEST(YearEndOptionsDialog, FailedWriteIsReportedAndChangesNothing) {
    OptionDialog t("[Option]\r\nPrintLine=1\r\n");
    t.dlg->show();
    // A folder in the settings file's place: nothing can be written.
    fs::remove(t.ini);
    fs::create_directory(t.ini);
    t.dlg->cbPrnLine->setChecked(false);
    BoxRecorder boxes;
    t.dlg->btSysSave->click();
    EXPECT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(t.dlg->isVisible());
    EXPECT_NE(t.dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(t.option.PrintLine);
}

TEST(YearEndOptionsDialog, PostalDataDateFollowsTheFile) {
    OptionDialog t("[Option]\r\nYubinDat=2\r\n");
    t.dlg->show();
    EXPECT_EQ(t.dlg->lbYubinDat->text(), "(郵便番号データ無し)");
    EXPECT_FALSE(t.dlg->cbYubinDat->isEnabled());
    EXPECT_TRUE(t.dlg->cbYubinDat->isChecked());  // the tick stays

    testing_support::writeText(t.data / "YubinNo.dat", "1000001 x\r\n");
    t.dlg->ShowPostalDataDate();
    EXPECT_TRUE(t.dlg->lbYubinDat->text().endsWith("日データ)"));
    EXPECT_TRUE(t.dlg->cbYubinDat->isEnabled());

    // The two sources exclude each other.
    t.dlg->cbAtokDic->setEnabled(true);
    t.dlg->cbAtokDic->click();
    EXPECT_TRUE(t.dlg->cbAtokDic->isChecked());
    EXPECT_FALSE(t.dlg->cbYubinDat->isChecked());
    t.dlg->cbYubinDat->click();
    EXPECT_FALSE(t.dlg->cbAtokDic->isChecked());
}

}  // namespace
