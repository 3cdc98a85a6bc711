#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstring>
#include <stdexcept>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/ui/NoticeWindow.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "withholding/RecordEdit.h"
#include "withholding/WithholdingFile.h"
#include "withholding/WithholdingSlip.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/NewLayoutRecordEditor.h"
#include "withholding/ui/OldLayoutRecordEditor.h"

// The 自動計算 button of both record editors, the fields the computation added
// to the new layout, and 令和 dates.
namespace {

using namespace withholding;
using withholding::ui::NewLayoutRecordEditor;
using withholding::ui::OldLayoutRecordEditor;
using withholding::ui::RecordEditor;

const QString kWarning = QStringLiteral(
    "自動計算によってセットされた値は設定内容によっては\r間違っている可能性もあります。\r\r"
    "別途、金額の再確認を行って下さい。");

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

struct AutoCalcFixture {
    ledger::FixedClock clock{{2026, 12, 10, 9, 0, 0}};
    ledger::Ledger ledger{clock};
    WithholdingData data;
    YearEndOption option;
    int recalcs = 0;
    QStringList notices;

    explicit AutoCalcFixture(const char* era = "令和", int year = 8) {
        ledger.CurData = {std::string(era) + std::to_string(year) + "年給与･賞与.dat", era, year,
                          12};
        for (int slot = 1; slot <= 2; ++slot) {
            ledger.Employee(slot).Key.set("k" + std::to_string(slot));
            ledger.Employee(slot).Name.set("社員" + std::to_string(slot));
        }
    }

    template <class Editor>
    std::unique_ptr<Editor> editor(int slot = 1) {
        auto e = std::make_unique<Editor>(ledger, data);
        e->EditSlot = slot;
        e->yearEndOption = &option;
        // The pay data's totals of the year, as loading the year re-sums them.
        e->recalcFromPayroll = [this](int s) {
            ++recalcs;
            if (IsNewLayoutYear(ledger.CurData.FileName)) {
                data.Record(s).PaidAmount = 4390000;
                data.Record(s).SocialInsurance = 641525;
            } else {
                data.OldRecord(s).PaidAmount = 4000000;
                data.OldRecord(s).SocialInsurance = 600000;
            }
        };
        e->runModal = [this](QDialog& d) {
            if (auto* n = qobject_cast<ledger::ui::NoticeWindow*>(&d))
                notices << n->pnMessage->text();
            return true;
        };
        e->show();
        e->activateWindow();
        settle();
        return e;
    }
};

TEST(AutoCalcButton, ComputesTheFormAndWarnsOncePerEditorAndRun) {
    AutoCalcFixture f;
    testing_support::BoxRecorder boxes;
    auto e = f.editor<NewLayoutRecordEditor>();
    EXPECT_TRUE(e->btAutoCalc->isEnabled());
    // The official example B of 令和8年分, typed as a user would.
    e->edit("edSeihoGaku")->setText("71,550");
    e->edit("edJisinGaku")->setText("45,000");
    e->checkBox("cbKouHaiAri")->setChecked(true);
    e->edit("edFuyoKazu6")->setText("1");
    e->edit("edSyouKazu1")->setText("1");  // 特別 内 fills 特別 人 when it is empty
    e->btAutoCalcClick();
    const TWithholdingRec& r = f.data.Record(1);
    EXPECT_EQ(f.recalcs, 1);
    EXPECT_EQ(r.DisabledCounts[1], 1);
    EXPECT_EQ(r.IncomeAfterDeduction, 3070400);
    // 2,558,075 + 特別障害者 400,000 + 同居 350,000
    EXPECT_EQ(r.IncomeDeductionTotal, 3308075);
    EXPECT_EQ(r.Status, kStatusComputed);
    EXPECT_EQ(e->edit("edSyoKouGak")->text(), " 3,070,400");
    EXPECT_EQ(e->lbStatus->text(), "計算済");
    EXPECT_EQ(boxes.boxes, QStringList{kWarning});
    EXPECT_EQ(f.notices, QStringList{QStringLiteral("源泉徴収税額等の計算完了")});

    e->sbBackNextDataClick(1);
    e->btAutoCalcClick();  // another record: no second warning
    EXPECT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(f.data.Record(2).IncomeDeductionTotal, 1040000 + 641525);
    EXPECT_EQ(f.notices.size(), 2);
}

TEST(AutoCalcButton, OldLayoutComputesItsRecordUnderItsYear) {
    AutoCalcFixture f("平成", 27);
    testing_support::BoxRecorder boxes;
    auto e = f.editor<OldLayoutRecordEditor>();
    EXPECT_TRUE(e->btAutoCalc->isEnabled());
    e->edit("edSeihoGaku")->setText("40,000");
    e->combo("cbKouHaiUmu")->setCurrentIndex(0);  // 有
    e->edit("edFuyoKazu1")->setText("1");
    e->btAutoCalcClick();
    EXPECT_EQ(f.data.OldRecord(1).AnnualTax, 32100);
    EXPECT_EQ(e->edit("edGensenGak")->text(), "    32,100");
    EXPECT_EQ(boxes.boxes, QStringList{kWarning});
    f.option.HasuuCut = false;
    e->btAutoCalcClick();
    EXPECT_EQ(f.data.OldRecord(1).AnnualTax, 32161);
    EXPECT_EQ(boxes.boxes.size(), 1);
}

TEST(AutoCalcButton, RefusesTheYearsBeforeTheLawWithoutWritingTheRecord) {
    AutoCalcFixture f("令和", 5);
    testing_support::BoxRecorder boxes;
    auto e = f.editor<NewLayoutRecordEditor>();
    f.data.Record(1).AnnualTax = 45600;
    const TWithholdingRec before = f.data.Record(1);
    e->edit("edSeihoGaku")->setText("40,000");
    e->btAutoCalcClick();
    EXPECT_EQ(boxes.boxes,
              QStringList{QStringLiteral(
                  "令和5年分の自動計算には対応していません。\r金額を入力して下さい。")});
    EXPECT_EQ(boxes.requests.front().icon, platform::ui::Icon::Information);
    EXPECT_EQ(f.recalcs, 0);
    EXPECT_TRUE(f.notices.isEmpty());
    EXPECT_EQ(std::memcmp(&f.data.Record(1), &before, sizeof before), 0);
}

TEST(AutoCalcButton, OverflowStopsTheComputationAndShowsWhatWasStored) {
    AutoCalcFixture f;
    testing_support::BoxRecorder boxes;
    auto e = f.editor<NewLayoutRecordEditor>();
    e->edit("edSeihoGaku")->setText("2,147,483,000");
    e->edit("edJisinGaku")->setText("2,000,000");
    EXPECT_THROW(e->btAutoCalcClick(), std::overflow_error);
    EXPECT_EQ(f.data.Record(1).IncomeAfterDeduction, 3070400);
    EXPECT_EQ(f.data.Record(1).Status, kStatusUnprocessed);
    EXPECT_EQ(e->edit("edSyoKouGak")->text(), " 3,070,400");
    EXPECT_TRUE(f.notices.isEmpty());
}

TEST(RecordEditorReiwa, NewFieldsCaptionsAndEraList) {
    AutoCalcFixture f;
    auto e = f.editor<NewLayoutRecordEditor>();
    EXPECT_EQ(e->checkBox("cbDependantUnder23")->text(), "23歳未満の扶養親族あり");
    EXPECT_EQ(e->checkBox("cbTaisyou6")->text(), "ひとり親(母)");
    EXPECT_EQ(e->checkBox("cbTaisyou7")->text(), "ひとり親(父)");
    EXPECT_EQ(e->combo("cbGengou")->itemText(5), "令和");
    EXPECT_EQ(e->combo("cbKyojuG2")->itemText(5), "令和");
    // The declared amount follows the earthquake insurance in the tab order.
    EXPECT_EQ(e->edit("edJisinGaku")->nextInFocusChain(), e->edit("edSpecificRelative"));
    e->checkBox("cbDependantUnder23")->setChecked(true);
    e->edit("edSpecificRelative")->setText("410,000");
    e->reject();
    EXPECT_EQ(f.data.Record(1).HasDependantUnder23, 1);
    EXPECT_EQ(std::int32_t{f.data.Record(1).SpecificRelativeDeduction}, 410000);

    AutoCalcFixture heisei("平成", 30);
    auto h = heisei.editor<NewLayoutRecordEditor>();
    EXPECT_EQ(h->checkBox("cbTaisyou6")->text(), "寡婦 特別");
    EXPECT_EQ(h->checkBox("cbTaisyou7")->text(), "寡夫");
}

TEST(RecordEditorReiwa, EraDatesCheckAndShow) {
    // 令和 takes its western years from 2018: 令和6 (2024) is a leap year.
    DateCheck c = CheckDateLeave({" 6", " 2", "29"}, DatePart::Day, true, 5, 0);
    EXPECT_EQ(c.fields.day, "29");
    c = CheckDateLeave({" 7", " 2", "29"}, DatePart::Day, true, 5, 0);
    EXPECT_EQ(c.fields.day, "");
    TEraDate unknown{6, 3, 4, 1};
    EXPECT_FALSE(unknown.present());
    TEraDate reiwa{5, 3, 4, 1};
    EXPECT_TRUE(reiwa.present());
}

TEST(RecordEditorReiwa, ResidenceStartTypedSavedReloadedAndPrinted) {
    testing_support::TempDir dir;
    AutoCalcFixture f;
    {
        auto e = f.editor<NewLayoutRecordEditor>();
        e->combo("cbKyojuG1")->setCurrentIndex(5);
        for (auto [name, text] :
             {std::pair{"edKyojuY1", "3"}, {"edKyojuM1", "4"}, {"edKyojuD1", "1"}}) {
            e->edit(name)->setFocus(Qt::TabFocusReason);
            settle();
            e->edit(name)->setText(text);
            e->edit("edJuKariZan1")->setFocus(Qt::TabFocusReason);  // leaving runs the date checks
            settle();
        }
        EXPECT_EQ(e->edit("edKyojuY1")->text(), " 3");
        e->reject();
    }
    const auto file = WithholdingFileName(dir.path(), "令和", 8);
    SaveWithholdingFile(file, f.data);
    f.data.clear();
    ReadWithholdingFile(file, f.data);
    const TEraDate& d = f.data.Record(1).ResidenceStart[0];
    EXPECT_EQ((std::array<int, 4>{d.Era, d.Year, d.Month, d.Day}),
              (std::array<int, 4>{5, 3, 4, 1}));

    auto e = f.editor<NewLayoutRecordEditor>();
    EXPECT_EQ(e->combo("cbKyojuG1")->currentText(), "令和");
    EXPECT_EQ(e->edit("edKyojuY1")->text(), " 3");
    EXPECT_EQ(e->edit("edKyojuD1")->text(), " 1");

    reports::RecordingSurface rec;
    reports::PrnCanvas canvas;
    reports::TargetMetrics m;
    m.DotsPerMmX = m.DotsPerMmY = 100;
    canvas.prepare(m, &rec);
    // A birth date in 令和 prints its numbers; the form has no 令和 box to mark.
    f.data.Record(1).BirthDate = {5, 2, 3, 4};
    DrawWithholdingSlip(canvas, SlipSources{f.ledger, f.data, "給与･賞与", true}, 1,
                        kCopyTaxOffice);
    EXPECT_TRUE(rec.findText("令和 3").has_value());
    EXPECT_TRUE(rec.findText("02").has_value());
    EXPECT_FALSE(rec.findText("○").has_value());
}

}  // namespace
