#include "withholding/WithholdingSlipOld.h"

#include <cstdio>
#include <string>

#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "withholding/RecordEdit.h"
#include "withholding/SlipCanvas.h"
#include "withholding/WithholdingFile.h"

namespace withholding {
namespace {

struct Label {
    const char* text;
    float x, y;
};

void labels(SlipCanvas& p, std::initializer_list<Label> list) {
    for (const auto& l : list) p.DrawText(l.text, l.x, l.y);
}
void hLine(SlipCanvas& p, float y, float x1 = 34, float x2 = 154) {
    p.DrawLine(x1, y, x2, y);
}
void vLine(SlipCanvas& p, float x, float y1, float y2) {
    p.DrawLine(x, y1, x, y2);
}

std::string two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", v);
    return buf;
}

void drawBands(SlipCanvas& p, int copy) {
    const bool slip = copy <= 2;
    // Recipient.
    p.SetFontPoints(6);
    labels(p, {{"支　払", 34.5f, 19}, {"を受け", 34.5f, 23}, {"る　者", 34.5f, 27}});
    p.SetFontPoints(6.5f);
    if (slip) {
        p.DrawVerticalText("住所又は居所", 44.5f, 16.5f);
    } else {
        p.DrawText("※区分", 42, 17);
        p.DrawVerticalText("住 所", 44.5f, 23);
    }
    p.SetFontPoints(10);
    labels(p, {{"氏", 99.5f, 18}, {"名", 99.5f, 26}});
    p.SetFontPoints(4);
    labels(p, {{"(受給者番号)", 105, 16.5f}, {"(フリガナ)", 105, 20.5f}, {"(役職名)", 105, 24.5f}});
    for (float x : {41.0f, 99.0f, 104.0f}) vLine(p, x, 16, 31);
    if (slip) {
        vLine(p, 45.5f, 16, 31);
    } else {
        vLine(p, 50, 16, 20);
        vLine(p, 45.5f, 20, 31);
        hLine(p, 20, 41, 99);
    }
    p.DrawDashedLine(104, 20, 154, 20);
    hLine(p, 24, 104);

    // Amounts.
    hLine(p, 31);
    p.SetFontPoints(7);
    labels(p, {{"種　　別", 40, 32.2f}, {"支 払 金 額", 61, 32.2f}, {"源泉徴収税額", 134, 32.2f}});
    p.SetFontPoints(6);
    labels(p, {{"給与所得控除後の金額", 81.5f, 32.5f}, {"所得控除の額の合計額", 106.5f, 32.5f}});
    p.SetFontPoints(5);
    labels(p, {{"内", 56.5f, 35.5f},
               {"円", 77, 35.5f},
               {"円", 102, 35.5f},
               {"円", 126.5f, 35.5f},
               {"内", 130.5f, 35.5f},
               {"円", 151, 35.5f}});
    hLine(p, 35);
    for (float x : {55.5f, 80.0f, 104.5f, 129.5f}) vLine(p, x, 31, 42.5f);

    // Spouse, counts and deductions.
    hLine(p, 42.5f);
    p.SetFontPoints(5);
    labels(p, {{"控除対象配偶", 34, 43.5f}, {"者の有無等", 34, 46}});
    p.SetFontPoints(6);
    labels(p, {{"配偶者特別", 46, 43.5f}, {"控除の額", 46, 46.5f}});
    p.SetFontPoints(4);
    p.DrawVerticalText("老人", 45, 46.8f);
    p.SetFontPoints(6);
    labels(p, {{"控除対象扶養親族の数", 62.5f, 43},
               {"(配偶者を除く｡)", 65, 45.2f},
               {"障害者の数", 88.2f, 43}});
    p.SetFontPoints(5);
    p.DrawText("(本人を除く)", 88.2f, 45.5f);
    p.SetFontPoints(6);
    labels(p, {{"社会保険料", 101.5f, 44},
               {"等の金額", 101.5f, 47},
               {"生命保険料", 116, 44},
               {"の控除額", 116, 47},
               {"地震保険料", 128.5f, 44},
               {"の控除額", 128.5f, 47},
               {"住宅借入金等", 140, 44},
               {"特別控除の額", 140, 47}});
    p.SetFontPoints(5);
    labels(p, {{"特   定", 60, 48}, {"老    人", 70, 48}, {"その他", 81, 48}, {"特 別", 89, 48}});
    p.SetFontPoints(4);
    p.DrawText("その他", 94.8f, 48.2f);
    p.SetFontPoints(5);
    labels(p, {{"従", 38.6f, 50.2f},   {"従", 40.8f, 50.2f},   {"円", 56, 50.2f},
               {"人", 61, 50.2f},      {"従人", 63.7f, 50.2f}, {"内", 68, 50.2f},
               {"人", 73, 50.2f},      {"従人", 75.5f, 50.2f}, {"人", 81.2f, 50.2f},
               {"従人", 84.1f, 50.2f}, {"内", 88.5f, 50.2f},   {"人", 92.5f, 50.2f},
               {"人", 97, 50.2f},      {"内", 99.2f, 50.2f},   {"円", 112, 50.2f},
               {"円", 125.7f, 50.2f},  {"円", 137.5f, 50.2f},  {"円", 151.5f, 50.2f},
               {"有", 34.2f, 52.5f},   {"無", 36.6f, 52.5f},   {"有", 38.6f, 52.5f},
               {"無", 40.8f, 52.5f}});
    hLine(p, 50);
    hLine(p, 47.5f, 58.5f, 99);
    hLine(p, 54.5f, 34, 43);
    // The 老人 box is a step: its top at 46.5 and its left side down to the row rule.
    hLine(p, 46.5f, 43, 45.5f);
    vLine(p, 43, 46.5f, 50);
    for (float x : {45.5f, 58.5f, 88.0f, 99.0f, 114.5f, 128.0f, 139.5f}) vLine(p, x, 42.5f, 57.5f);
    for (float x : {36.25f, 38.5f, 40.75f, 43.0f}) vLine(p, x, 50, 57.5f);
    for (float x : {67.5f, 79.0f, 94.5f}) vLine(p, x, 47.5f, 57.5f);
    for (float x : {63.5f, 75.0f, 84.0f}) vLine(p, x, 50, 57.5f);
    p.DrawDashedLine(71.5, 50, 71.5, 57.5);
    p.DrawDashedLine(91.5, 50, 91.5, 57.5);

    // 摘要 and premiums.
    hLine(p, 57.5f);
    p.SetFontPoints(5);
    p.DrawText("(摘要)", 34.5f, 58.5f);
    p.SetFontPoints(4.4f);
    labels(p, {{"配偶者の合計所得", 87, 62},
               {"新生命保険料の金額", 87, 65.5f},
               {"旧生命保険料の金額", 87, 69},
               {"介護医療保険料の金額", 118, 58.5f},
               {"新個人年金保険料の金額", 118, 62},
               {"旧個人年金保険料の金額", 118, 65.5f},
               {"旧長期損害保険料の金額", 118, 69}});
    for (float y : {62.0f, 65.5f, 69.0f}) p.DrawText("円", 115.2f, y);
    for (float y : {58.5f, 62.0f, 65.5f, 69.0f}) p.DrawText("円", 151.5f, y);
    for (float y : {61.0f, 64.5f, 68.0f}) hLine(p, y, 86.25f);
    for (float x : {86.25f, 101.75f}) vLine(p, x, 61, 71.5f);
    for (float x : {117.25f, 136.25f}) vLine(p, x, 57.5f, 71.5f);

    // Person flags and dates.
    hLine(p, 71.5f);
    p.SetFontPoints(5);
    struct VLabel {
        const char* text;
        float x, y;
    };
    for (const VLabel& l : {VLabel{"扶養親族", 36.5f, 71.8f}, VLabel{"　歳未満", 38.5f, 71.8f},
                            VLabel{"未成年者", 42.25f, 71.8f}, VLabel{"外 国 人", 47, 71.8f},
                            VLabel{"死亡退職", 51.75f, 71.8f}, VLabel{"災 害 者", 56.5f, 71.8f},
                            VLabel{"乙　　欄", 61.25f, 71.8f}})
        p.DrawVerticalText(l.text, l.x, l.y);
    // "16" fills the blank first cell of the second column, upright.
    p.DrawText("16", 36.5f, 71.8f);
    p.SetFontPoints(4);
    labels(p, {{"人", 37, 79.5f}, {"本人が障害者", 63.25f, 72.2f}, {"寡　婦", 74.55f, 72}});
    for (const VLabel& l : {VLabel{"特　別", 66, 74.5f}, VLabel{"その他", 70.75f, 74.5f},
                            VLabel{"一　般", 75.5f, 74.5f}, VLabel{"特　別", 80.25f, 74.5f}})
        p.DrawVerticalText(l.text, l.x, l.y);
    p.SetFontPoints(5);
    p.DrawVerticalText("寡　　夫", 85, 71.8f);
    p.DrawVerticalText("勤労学生", 89.75f, 71.8f);
    p.SetFontPoints(6.5f);
    labels(p, {{"中途就・退職", 97, 72.5f}, {"受 給 者 生 年 月 日", 124, 72.5f}});
    p.SetFontPoints(5.5f);
    labels(p, {{"就職", 91.7f, 76.5f},
               {"退職", 97, 76.5f},
               {"年", 103.5f, 76.5f},
               {"月", 108.7f, 76.5f},
               {"日", 114, 76.5f},
               {"明", 119.2f, 76.5f},
               {"大", 124.5f, 76.5f},
               {"昭", 129.7f, 76.5f},
               {"平", 135, 76.5f},
               {"年", 140.2f, 76.5f},
               {"月", 145.5f, 76.5f},
               {"日", 150.7f, 76.5f}});
    hLine(p, 74, 62.5f, 81.5f);
    hLine(p, 75.5f, 91, 154);
    hLine(p, 79);
    for (float x : {38.75f, 43.5f, 48.25f, 53.0f, 57.75f, 62.5f, 72.0f, 81.5f, 86.25f, 91.0f})
        vLine(p, x, 71.5f, 83);
    vLine(p, 67.25f, 74, 83);
    vLine(p, 76.75f, 74, 83);
    for (int i = 1; i <= 11; ++i) vLine(p, 91 + 5.25f * i, i == 5 ? 71.5f : 75.5f, 83);

    // Payer.
    hLine(p, 83);
    p.SetFontPoints(7);
    p.DrawVerticalText("支払者", 38, 85);
    p.DrawText("(電話)", 120, 91);
    p.SetFontPoints(6);
    labels(p, {{"住所(居所)", 40, 84},
               {"又は所在地", 40, 87},
               {"氏 名 又 は", 40, 90.5f},
               {"名 　 　 称", 40, 92.5f}});
    hLine(p, 90, 38.75f);
    vLine(p, 38.75f, 83, 95);
    vLine(p, 53, 83, 95);
}

void drawExtras(SlipCanvas& p, int copy) {
    if (copy == 1) {
        p.DrawBox(34, 95, 118, 99);
        for (float x : {49.0f, 69.0f, 86.0f}) vLine(p, x, 95, 99);
        for (float x :
             {53.0f, 57.0f, 61.0f, 65.0f, 90.0f, 94.0f, 98.0f, 102.0f, 106.0f, 110.0f, 114.0f})
            p.DrawDashedLine(x, 95, x, 99);
        p.SetFontPoints(7);
        p.DrawText("署番号", 37, 96);
        p.DrawText("整理番号", 72, 96);
        return;
    }
    if (copy < 3) return;
    p.DrawBox(34, 10, 154, 16);
    vLine(p, 109, 10, 16);
    vLine(p, 131, 10, 16);
    static const int kKinds[17] = {1, 1, 1, 2, 1, 1, 1, 1, 2, 3, 1, 1, 1, 1, 2, 1, 1};
    for (int i = 1; i <= 17; ++i) p.DrawArrowLine(kKinds[i - 1], 34 + 3.5f * i, 10, 16);
    p.SetFontPoints(4);
    labels(p, {{"※種別", 94, 10.3f}, {"※整理番号", 109.5f, 10.3f}, {"※", 131.5f, 10.3f}});
    // The fields the municipality reads, outlined again.
    p.ThickPen();
    p.DrawBox(55.5f, 35, 104.5f, 42.5f);
    vLine(p, 80, 35, 42.5f);
    p.DrawBox(34, 50, 38.5f, 57.5f);
    p.DrawBox(43, 50, 63.5f, 57.5f);
    vLine(p, 45.5f, 50, 57.5f);
    vLine(p, 58.5f, 50, 57.5f);
    p.DrawBox(67.5f, 50, 75, 57.5f);
    p.DrawBox(79, 50, 84, 57.5f);
    p.DrawBox(88, 50, 139.5f, 57.5f);
    for (float x : {99.0f, 114.5f, 128.0f}) vLine(p, x, 50, 57.5f);
    p.DrawBox(101.75f, 61, 117.25f, 71.5f);
    p.DrawBox(136.25f, 57.5f, 154, 71.5f);
    p.DrawBox(38.75f, 71.5f, 43.5f, 83);
    p.DrawBox(62.5f, 71.5f, 91, 83);
    p.DrawBox(91, 71.5f, 117.25f, 83);
    p.ThinPen();
    p.SetFontPoints(6);
    p.DrawText(
        "(摘要)に控除対象配偶者､扶養親族の氏名､続柄及び前職分の加算額､支払者等を記入してください。",
        40, 95.5f);
}

void drawValues(SlipCanvas& p, const SlipSources& src, const TWithholdingRecOld& r, int slot,
                int copy) {
    const bool slip = copy <= 2;
    const auto& header = src.data.Header;
    // Recipient.
    p.SetFontPoints(8);
    const float ys[3] = {slip ? 18.0f : 21.0f, slip ? 22.0f : 24.5f, slip ? 26.0f : 28.0f};
    p.DrawText(r.PostalCode.str(), 46.5f, ys[0]);
    p.DrawText(r.Address1.str(), 46.5f, ys[1]);
    p.DrawText(r.Address2.str(), 46.5f, ys[2]);
    p.DrawText(r.RecipientNo.str(), 115, 17);
    p.DrawText(r.Furigana.str(), 115, 21);
    p.SetFontPoints(6);
    p.DrawText(r.Position.str(), 115, 24.5f);
    p.SetFontPoints(10);
    p.DrawText(src.ledger.Employee(slot).Name.str(), 107, 27.2f);

    // Amounts, always printed.
    p.SetFontPoints(8);
    p.DrawText(src.Syubetu, 36, 38);
    p.SetFontPoints(10);
    p.DrawText(ledger::FmtAmount(11, r.PaidAmount), 58, 38.5f);
    p.DrawText(ledger::FmtAmount(11, r.IncomeAfterDeduction), 83, 38.5f);
    p.DrawText(ledger::FmtAmount(11, r.IncomeDeductionTotal), 107.5f, 38.5f);
    p.DrawText(ledger::FmtAmount(11, r.AnnualTax), 132, 38.5f);

    // Spouse, counts and deductions.
    p.SetFontPoints(6);
    const float kindX[kSpouseKindCount] = {34.2f, 36.6f, 38.6f, 40.8f};
    for (int i = 0; i < kSpouseKindCount; ++i)
        if (r.SpouseKind[i]) p.DrawText("○", kindX[i], 55);
    if (r.SpouseElderly) p.DrawText("○", 43.3f, 55);
    p.SetFontPoints(8);
    if (r.SpouseIncome > 0) p.DrawText(ledger::FmtAmount(7, r.SpouseSpecialAmount), 47, 54);
    const float depX[] = {61, 65, 69, 73, 77, 81, 85.2f};
    for (int i = 0; i < 7; ++i) p.DrawText(CountText(r.DependantCounts[i]), depX[i], 54);
    const float disX[] = {89, 92.5f, 96.5f};
    for (int i = 0; i < 3; ++i) p.DrawText(CountText(r.DisabledCounts[i]), disX[i], 54);
    if (r.SocialInsurance > 0) p.DrawText(ledger::FmtAmount(9, r.SocialInsurance), 101, 54);
    if (r.LifeInsurance > 0) p.DrawText(ledger::FmtAmount(7, r.LifeInsurance), 117, 54);
    if (r.EarthquakeInsurance > 0)
        p.DrawText(ledger::FmtAmount(7, r.EarthquakeInsurance), 128.5f, 54);
    if (r.HousingLoanCredit > 0) p.DrawText(ledger::FmtAmount(9, r.HousingLoanCredit), 140, 54);

    // 摘要 and premiums.
    p.SetFontPoints(5);
    for (int i = 0; i < 3; ++i) p.DrawText(r.Remarks[i].str(), 34.5f, 62 + 3.0f * i);
    p.SetFontPoints(8);
    auto amount = [&](int width, std::int32_t v, float x, float y) {
        if (v > 0) p.DrawText(ledger::FmtAmount(width, v), x, y);
    };
    amount(8, r.SpouseIncome, 103, 61.5f);
    amount(8, r.NewLifePremium, 103, 65);
    amount(8, r.OldLifePremium, 103, 68.5f);
    amount(11, r.CareMedicalPremium, 135, 58);
    amount(11, r.NewPensionPremium, 135, 61.5f);
    amount(11, r.OldPensionPremium, 135, 65);
    amount(11, r.OldLongTermPremium, 135, 68.5f);

    // Person flags and dates.
    p.DrawText(CountText(r.Under16Count), 35.25f, 80);
    struct Flag {
        int index;
        float x;
    };
    for (const Flag& f : {Flag{kPersonMinor, 40}, Flag{kPersonForeigner, 44.75f},
                          Flag{kPersonDeathRetirement, 49.5f}, Flag{kPersonDisasterVictim, 54.25f},
                          Flag{kPersonOtsu, 59}, Flag{kPersonDisabledSpecial, 63.75f},
                          Flag{kPersonDisabledOther, 68.5f}, Flag{kPersonWidowGeneral, 73.25f},
                          Flag{kPersonWidowSpecial, 78}, Flag{kPersonWidower, 82.75f},
                          Flag{kPersonWorkingStudent, 87.5f}})
        if (r.PersonFlags[f.index]) p.DrawText("○", f.x, 80);
    if (r.Joined) p.DrawText("○", 92.2f, 80);
    if (r.Resigned) p.DrawText("○", 97.5f, 80);
    if (r.Joined || r.Resigned) {
        p.DrawText(two(r.JoinLeaveDate[0]), 102.7f, 80);
        p.DrawText(two(r.JoinLeaveDate[1]), 108, 80);
        p.DrawText(two(r.JoinLeaveDate[2]), 113.2f, 80);
    }
    if (r.BirthDate.present()) {
        // The form has boxes for 明治 to 平成 only.
        const float eraX[] = {118.5f, 123.7f, 129, 134.2f};
        if (r.BirthDate.Era <= 4) p.DrawText("○", eraX[r.BirthDate.Era - 1], 80);
        p.DrawText(two(r.BirthDate.Year), 139.5f, 80);
        p.DrawText(two(r.BirthDate.Month), 144.7f, 80);
        p.DrawText(two(r.BirthDate.Day), 150, 80);
    }

    // Payer.
    p.SetFontPoints(7);
    if (header.Address2.length() == 0) {
        p.DrawText(header.Address1.str(), 55, 85.5f);
    } else {
        p.DrawText(header.Address1.str(), 55, 84);
        p.DrawText(header.Address2.str(), 55, 87);
    }
    p.DrawText(src.ledger.BasicInfo().CorpName.str(), 55, 91);
    p.DrawText(header.Telephone.str(), 129, 91);
}

}  // namespace

void DrawWithholdingSlipOld(reports::PrnCanvas& canvas, const SlipSources& src, int slot,
                            int copy) {
    if (slot < 1 || slot > kRecords || copy < 1 || copy > 4) return;
    const auto& cur = src.ledger.CurData;
    SlipCanvas p(canvas);
    p.Face("ＭＳ 明朝");
    p.SetFontPoints(12);
    if (copy <= 2) {
        p.DrawText(cur.Era + std::to_string(cur.Year) + "年分", 58, 10.5f);
        p.DrawText("給与所得の源泉徴収票", 86, 10.5f);
    } else {
        char year[16];
        std::snprintf(year, sizeof year, "%2d", cur.Year + 1);
        p.DrawCircledText(year, 29, 16);
        p.SetFontPoints(10);
        p.DrawVerticalText("給与支払報告書", 33, 33);
        p.SetFontPoints(6.5f);
        p.DrawVerticalText("(個人別明細書)", 32.4f, 58);
    }
    p.ThickPen();
    p.DrawBox(34, 16, 154, 95);
    p.ThinPen();
    drawBands(p, copy);
    p.SetFontPoints(5);
    static const char* kLabels[] = {"(税務署提出用)", "(受給者交付用)", "(市区町村提出用)",
                                    "(市区町村提出用)"};
    p.DrawVerticalText(kLabels[copy - 1], 33.5f, copy <= 2 ? 81 : 80);
    drawExtras(p, copy);
    drawValues(p, src, src.data.OldRecord(slot), slot, copy);
}

}  // namespace withholding
