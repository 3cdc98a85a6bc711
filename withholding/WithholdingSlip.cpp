#include "withholding/WithholdingSlip.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "withholding/RecordEdit.h"
#include "withholding/SlipCanvas.h"
#include "withholding/WithholdingFile.h"

namespace withholding {
namespace {

constexpr const char* kMincho = "ＭＳ 明朝";
constexpr const char* kGothic = "ＭＳ ゴシック";
// The era list of the record editors, by TEraDate.Era.
constexpr const char* kEraNames[] = {"", "明治", "大正", "昭和", "平成", "令和"};

template <typename... A>
std::string fmt(const char* f, A... a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, f, a...);
    return buf;
}

template <std::size_t N>
std::string text(const ShortString<N>& s) {
    return s.str();
}

// Whole-yen amounts as separate three-digit groups at fixed places. A negative
// amount is grouped by its size with the sign in front of its highest group, so
// no digit is lost.
void DrawAmountGroups(SlipCanvas& p, int style, std::int64_t amount, float x, float y) {
    const bool negative = amount < 0;
    const std::int64_t a = negative ? -amount : amount;
    float X = x + (style == 1 ? 25 : style == 2 ? 19 : 30);
    const float pitch = style == 1 ? 9.0f : style == 2 ? 9.5f : 15.0f;
    const int units = int(a % 1000), thousands = int(a / 1000 % 1000);
    const std::int64_t millions = a / 1000000;
    struct Group {
        std::string text;
        float x;
    };
    Group groups[3];
    int n = 0;
    groups[n++] = {a >= 1000 ? fmt("%.3d", units) : fmt("%3d", units), X - 5.5f};
    X -= pitch;
    if (a >= 1000)
        groups[n++] = {a >= 1000000 ? fmt("%.3d", thousands) : fmt("%3d", thousands), X - 5.5f};
    X -= pitch;
    if (millions != 0) {
        if (style == 3)
            groups[n++] = {fmt("%3lld,", static_cast<long long>(millions)), X + 4};
        else
            groups[n++] = {fmt("%3lld", static_cast<long long>(millions)), X - 5.5f};
    }
    if (negative) {
        Group& top = groups[n - 1];
        std::size_t lead = top.text.find_first_not_of(' ');
        if (lead != std::string::npos && lead > 0)
            top.text[lead - 1] = '-';
        else
            top.text = "-" + top.text, top.x -= p.c.FontInfo.Height / 2;
    }
    for (int i = 0; i < n; ++i) p.DrawText(groups[i].text, groups[i].x, y);
}

// A 12-digit individual number (styles 1, 2) or a 13-digit corporate number
// (style 3), one digit per cell. A value that cannot be such a number (only a
// damaged file holds one) prints nothing rather than a sign or stray digits.
void DrawDigitBoxes(SlipCanvas& p, int style, std::int64_t number, float x, float y) {
    const int digits = style == 3 ? 13 : 12;
    const std::int64_t limit = style == 3 ? 9999999999999LL : 999999999999LL;
    if (number <= 0 || number > limit) return;
    const float pitch = style == 1 ? 3.3f : style == 2 ? 3.25f : 3.2f;
    std::string s = fmt("%.*lld", digits, static_cast<long long>(number));
    p.Face(kGothic);
    for (int i = 0; i < digits; ++i) {
        if (i == 0 && style == 3 && s[0] == '0') continue;
        p.DrawText(std::string(1, s[i]), x + i * pitch, y);
    }
    p.Face(kMincho);
}

// The box of one family member; kind 1 the spouse, 2 and 3 dependants.
void DrawNameBlock(SlipCanvas& p, int kind, int index, bool struck, float x, float y) {
    const float H = kind == 1 ? 11.0f : 10.125f;
    p.SetFontPoints(5);
    p.DrawDashedLine(x, y + 2.5, x + 36.7, y + 2.5);
    p.DrawLine(x, y + 6, x + 46, y + 6);
    for (float v : {7.5f, 36.7f, 40.0f}) p.DrawLine(x + v, y, x + v, y + 6);
    p.Narrow = 2;
    p.DrawText("(フリガナ)", x + 1, y + 0.4f);
    p.Narrow = 0;
    p.DrawText(" 氏 名", x + 1, y + 3.5f);
    p.DrawText("区", x + 37.5f, y + 1);
    p.DrawText("分", x + 37.5f, y + 3);
    if (kind != 1) p.DrawText(std::to_string(index), x - 1.5f, y + 4);
    if (struck) {
        p.DrawLine(x, y + H, x + 46, y + 6);
    } else {
        p.Narrow = 1;
        p.DrawText("個人番号", x + 1, y + 7);
        p.Narrow = 0;
        for (int i = 0; i < 12; ++i)
            p.DrawLine(x + 7.5f + 3.25f * i, y + 6, x + 7.5f + 3.25f * i, y + H);
    }
}

struct Label {
    const char* text;
    float x, y;
};

void labels(SlipCanvas& p, std::initializer_list<Label> list) {
    for (const auto& l : list) p.DrawText(l.text, l.x, l.y);
}

void hLine(SlipCanvas& p, float y, float x1 = 21, float x2 = 143.5f) {
    p.DrawLine(x1, y, x2, y);
}
void vLine(SlipCanvas& p, float x, float y1, float y2) {
    p.DrawLine(x, y1, x, y2);
}

// The rules and labels of the frame; the values follow separately.
void drawFrame(SlipCanvas& p, int type) {
    // Recipient band.
    p.SetFontPoints(5);
    labels(p, {{"支  払", 22.5f, 28}, {"を受け", 22.5f, 32}, {"る  者", 22.5f, 36}});
    if (type == 3)
        p.DrawVerticalText("住 所", 32, 31);
    else
        p.DrawVerticalText("住 所 又 は 居 所", 32, 25);
    p.DrawVerticalText("氏  名", 94.5f, 36);
    labels(p, {{"(受給者番号)", 92, 23}, {"(役職名)", 92, 30.5f}});
    if (type != 1) p.DrawText("(個人番号)", 92, 26);
    p.Narrow = 2;
    p.DrawText("(フリガナ)", 96, 35.7f);
    p.Narrow = 0;
    if (type == 3) p.DrawText("※区分", 33, 23);
    for (float x : {29.0f, 32.5f, 91.5f}) vLine(p, x, 22.5f, 42.5f);
    hLine(p, 25, type == 3 ? 32.5f : 91.5f);
    hLine(p, 30, 91.5f);
    hLine(p, 35, 91.5f);
    hLine(p, 38, 95.5f);
    if (type == 1)
        p.DrawLine(91.5f, 30, 143.5f, 25);
    else
        for (int i = 0; i < 12; ++i) vLine(p, 103.9f + 3.3f * i, 25, 30);

    // Amounts band.
    labels(p, {{"種　　　　　別", 27, 44},
               {"支　払　金　額", 53, 44},
               {"給与所得控除後の金額", 74, 44},
               {"所得控除の額の合計額", 99, 44},
               {"源 泉 徴 収 税 額", 124, 44},
               {"内", 46, 47},
               {"千", 60, 47},
               {"円", 68.5f, 47},
               {"千", 85, 47},
               {"円", 93.5f, 47},
               {"千", 109, 47},
               {"円", 118, 47},
               {"内", 120.5f, 47},
               {"千", 132.5f, 47},
               {"円", 141.5f, 47}});
    hLine(p, 42.5f);
    hLine(p, 46.5f);
    for (float x : {45.5f, 70.5f, 120.0f}) vLine(p, x, 42.5f, 53);
    vLine(p, 95.5f, 35, 53);
    p.HairPen();
    for (float x : {53.0f, 62.0f, 78.0f, 87.0f, 102.0f, 111.0f, 126.0f, 134.5f})
        vLine(p, x, 46.5f, 53);
    p.ThinPen();

    // Spouse and dependant counts.
    hLine(p, 53);
    if (type == 3)
        labels(p, {{"控　除　対　象", 22.5f, 54.8f}, {"配　偶　者", 22.5f, 57.7f}});
    else
        labels(p, {{"控 除 対 象 配 偶 者", 22.5f, 54.8f}, {"の 有 無 等", 22.5f, 57.7f}});
    labels(p, {{"配 偶 者 特 別", 45, 54.8f},
               {"控  除  の  額", 45, 57.7f},
               {"老人", 36, 58},
               {"控 除 対 象 扶 養 親 族 の 数", 71, 53.8f},
               {"   ( 配 偶 者 を 除 く。)", 71, 55.7f},
               {"障 害 者 の 数", 118, 53.8f},
               {"(本人を除く。)", 118, 55.7f},
               {"特　定", 65, 58.7f},
               {"老　人", 80, 58.7f},
               {"その他", 96, 58.7f},
               {"特　別", 118, 58.7f},
               {"その他", 129.5f, 58.7f},
               {"16歳未満", 105.8f, 54},
               {"扶養親族", 105.8f, 56},
               {"  の数", 105.8f, 58},
               {"非居住者", 136.2f, 54},
               {" である", 136.2f, 56},
               {"親族の数", 136.2f, 58},
               {"有", 24, 61.5f},
               {"従有", 29, 61.5f},
               {"千", 49, 61.5f},
               {"円", 59, 61.5f},
               {"人", 66, 61.5f},
               {"従人", 69.5f, 61.5f},
               {"内", 77, 61.5f},
               {"人", 84.5f, 61.5f},
               {"従人", 88, 61.5f},
               {"人", 98, 61.5f},
               {"従人", 101, 61.5f},
               {"人", 111, 61.5f},
               {"内", 119, 61.5f},
               {"人", 126, 61.5f},
               {"人", 134, 61.5f},
               {"人", 141, 61.5f}});
    hLine(p, 57, 34, 41);
    hLine(p, 58, 61, 105.5f);
    hLine(p, 58, 113, 136);
    hLine(p, 61);
    hLine(p, 63.5f, 21, 34);
    for (float x : {41.0f, 61.0f, 105.5f, 136.0f}) vLine(p, x, 53, 69);
    vLine(p, 113, 53, 79.5f);
    for (float x : {27.5f, 68.5f, 87.0f, 100.0f}) vLine(p, x, 61, 69);
    vLine(p, 34, 57, 69);
    for (float x : {73.5f, 92.0f, 128.0f}) vLine(p, x, 58, 69);
    p.HairPen();
    vLine(p, 51, 61, 69);
    p.ThinPen();
    p.DrawDashedLine(79, 61, 79, 69);
    p.DrawDashedLine(121, 61, 121, 69);

    // Deductions.
    hLine(p, 69);
    labels(p, {{"社会保険料等の金額", 28, 70},
               {"生命保険料の控除額", 59, 70},
               {"地震保険料の控除額", 90, 70},
               {"住宅借入金等特別控除の額", 118, 70},
               {"内", 21.5f, 73},
               {"千", 35, 73},
               {"円", 50, 73},
               {"千", 65, 73},
               {"円", 80, 73},
               {"千", 95, 73},
               {"円", 111, 73},
               {"千", 126, 73},
               {"円", 141.5f, 73}});
    hLine(p, 72.5f);
    vLine(p, 52, 69, 79.5f);
    vLine(p, 82, 69, 79.5f);
    p.HairPen();
    for (float x : {37.0f, 67.0f, 98.0f, 128.0f}) vLine(p, x, 72.5f, 79.5f);
    p.ThinPen();

    // Remarks (摘要).
    hLine(p, 79.5f);
    p.DrawText("(摘要)", 21.5f, 80);

    // Life insurance breakdown.
    hLine(p, 96.5f);
    p.SetFontPoints(4);
    labels(p, {{"生命保険料", 21.5f, 96.9f},
               {" の金額の", 21.5f, 98.7f},
               {"   内訳", 21.5f, 100.5f},
               {"新生命保険料", 30.2f, 97.5f},
               {"   の金額", 30.2f, 99.5f},
               {"旧生命保険料", 53.2f, 97.5f},
               {"   の金額", 53.2f, 99.5f},
               {"介護医療保", 76.2f, 97.5f},
               {"険料の金額", 76.2f, 99.5f},
               {" 新個人年金", 98.7f, 97.5f},
               {"保険料の金額", 98.7f, 99.5f},
               {" 旧個人年金", 121.5f, 97.5f},
               {"保険料の金額", 121.5f, 99.5f}});
    for (float x : {50.5f, 72.5f, 96.0f, 118.5f, 141.5f}) p.DrawText("円", x, 96.9f);
    for (float x : {29.0f, 39.5f, 52.0f, 62.5f}) vLine(p, x, 96.5f, 112);
    for (float x : {74.0f, 131.0f}) vLine(p, x, 96.5f, 102);
    for (float x : {85.0f, 97.5f, 108.0f, 120.0f}) vLine(p, x, 96.5f, 123);

    // Housing loan breakdown.
    hLine(p, 102);
    labels(p, {{"住宅借入金", 21.5f, 104.5f},
               {"等特別控除", 21.5f, 106.5f},
               {"の額の内訳", 21.5f, 108.5f}});
    for (int r = 1; r <= 2; ++r) {
        const float y1 = 103 + 5.0f * (r - 1), y2 = 105 + 5.0f * (r - 1);
        p.DrawText(" 住宅借入金等", 29.3f, y1);
        p.DrawText(r == 1 ? "特別控除適用数" : "特別控除可能額", 29.3f, y2);
        p.DrawText("居住開始年月", 53, y1);
        p.DrawText(fmt("  日(%d回目)", r), 53, y2);
        p.DrawText("住宅借入金等特別", 85.5f, y1);
        p.DrawText(fmt("控除区分(%d回目)", r), 85.5f, y2);
        p.DrawText(" 住宅借入金等", 109, y1);
        p.DrawText(fmt("年末残高(%d回目)", r), 109, y2);
    }
    for (float y : {102.5f, 107.5f})
        labels(p, {{"年", 70.5f, y}, {"月", 77, y}, {"日", 83, y}, {"円", 141.5f, y}});
    p.DrawText("円", 50.5f, 107.5f);
    hLine(p, 107, 29);
    p.HairPen();
    vLine(p, 72.5f, 102, 112);
    vLine(p, 79, 102, 112);
    p.ThinPen();

    // Spouse.
    hLine(p, 112);
    labels(p, {{"控除対象", 22, 115}, {" 配偶者", 22, 117.5f}});
    for (float x : {95.5f, 118.0f, 141.5f}) p.DrawText("円", x, 112.5f);
    p.SetFontPoints(5);
    labels(p, {{"配偶者の", 76.5f, 115},
               {"合計所得", 76.5f, 117.5f},
               {"国民年金保険", 97.5f, 115},
               {" 料等の金額", 97.5f, 117.5f},
               {" 旧長期損害", 120.2f, 115},
               {"保険料の金額", 120.2f, 117.5f}});
    vLine(p, 28, 112, 163.5f);
    vLine(p, 74, 112, 163.5f);
    vLine(p, 131, 112, 123);
    DrawNameBlock(p, 1, 0, type == 1, 28, 112);

    // Dependants.
    p.SetFontPoints(5);
    hLine(p, 123);
    p.DrawVerticalText("控除対象扶養親族", 24.5f, 136);
    p.DrawVerticalText("１６歳未満の扶養親族", 78, 134);
    for (float x : {25.5f, 79.0f, 81.5f, 127.5f}) vLine(p, x, 123, 163.5f);
    for (int i = 1; i <= 4; ++i) {
        const float yi = 123 + 10.125f * (i - 1);
        if (i >= 2) {
            hLine(p, yi, 25.5f, 74);
            hLine(p, yi, 79, 127.5f);
        }
        DrawNameBlock(p, 2, i, type == 1, 28, yi);
        DrawNameBlock(p, 3, i, type != 3, 81.5f, yi);
    }

    // Remarks column.
    p.SetFontPoints(5);
    if (type == 1) {
        p.DrawLine(127.5f, 163.5f, 143.5f, 123);
    } else if (type == 2) {
        p.DrawText("(備考)", 128.5f, 123.5f);
        hLine(p, 144, 127.5f);
        p.DrawLine(127.5f, 163.5f, 143.5f, 144);
    } else {
        p.Narrow = 2;
        labels(p, {{"5人目以降の控除対象扶養", 128.5f, 123.5f},
                   {"親族の個人番号", 128.5f, 125.5f},
                   {"5人目以降の16歳未満の", 128.5f, 144.7f},
                   {"扶養親族等の個人番号", 128.5f, 146.7f}});
        p.Narrow = 0;
        for (float y : {128.0f, 144.2f, 149.2f}) hLine(p, y, 127.5f);
    }

    // Person flags and dates.
    hLine(p, 163.5f);
    p.SetFontPoints(5);
    struct VLabel {
        const char* text;
        float x, y;
    };
    for (const VLabel& l :
         {VLabel{"未 成 年 者", 25, 164}, VLabel{"外  国  人", 30, 164.5f},
          VLabel{"死 亡 退 職", 35.5f, 164}, VLabel{"災  害  者", 40.5f, 164.5f},
          VLabel{" 乙　　欄", 46, 164}, VLabel{"特　別", 51, 167.5f}, VLabel{"その他", 56, 167.5f},
          VLabel{"一　般", 61.5f, 167.5f}, VLabel{"特　別", 66.5f, 167.5f},
          VLabel{"寡　   　夫", 72, 164}, VLabel{"勤 労 学 生", 77, 164}})
        p.DrawVerticalText(l.text, l.x, l.y);
    p.Narrow = 1;
    p.DrawText("本人が障害者", 48, 164.3f);
    p.Narrow = 0;
    labels(p, {{"寡　婦", 60.5f, 164.3f},
               {"中 途 就・退 職", 86, 165.5f},
               {"受 給 者 生 年 月 日", 116, 165.5f},
               {"就職", 79.7f, 170.5f},
               {"退職", 85.1f, 170.5f},
               {"年", 91.5f, 170.5f},
               {"月", 96.9f, 170.5f},
               {"日", 102.3f, 170.5f},
               {"明", 107.7f, 170.5f},
               {"大", 113.1f, 170.5f},
               {"昭", 118.5f, 170.5f},
               {"平", 123.9f, 170.5f},
               {"年", 129.3f, 170.5f},
               {"月", 134.7f, 170.5f},
               {"日", 140.1f, 170.5f}});
    hLine(p, 166.5f, 47.3f, 68.1f);
    hLine(p, 168.5f, 78.7f);
    hLine(p, 174);
    for (int i = 1; i <= 9; ++i)
        vLine(p, 26.5f + 5.2f * i, (i == 5 || i == 7) ? 166.5f : 163.5f, 180);
    for (int i = 0; i <= 11; ++i)
        vLine(p, 78.7f + 5.4f * i, (i == 0 || i == 5) ? 163.5f : 168.5f, 180);

    // Payer.
    hLine(p, 180);
    p.DrawVerticalText("支  払  者", 25, 183);
    if (type != 1)
        labels(p, {{"個人番号又は", 29, 181},
                   {"  法人番号", 29, 183},
                   {"（右詰で記載してください。）", 85, 182}});
    labels(p, {{"住所(居所)", 30, 187},
               {"又は所在地", 30, 189},
               {"氏名又は名称", 29, 193.2f},
               {"(電話)", 104, 193.2f}});
    hLine(p, 185.5f, 26.5f);
    hLine(p, 192, 26.5f);
    vLine(p, 26.5f, 163.5f, 196);
    vLine(p, 42.1f, 185.5f, 196);
    if (type == 1)
        p.DrawLine(26.5f, 185.5f, 143.5f, 180);
    else
        for (int i = 0; i <= 13; ++i) vLine(p, 42.1f + 3.2f * i, 180, 185.5f);
}

void drawFamily(SlipCanvas& p, const TFamilyMember& m, float x, float y, float circleX,
                float circleY, bool number) {
    if (BlankText(m.Name.bytes())) return;
    p.DrawText(text(m.Furigana), x, y + 0.2f);
    p.DrawText(text(m.Name), x, y + 3.2f);
    if (number) DrawDigitBoxes(p, 2, m.IndividualNo, x, y + 7);
    if (m.NonResident) p.DrawText("○", circleX, circleY);
}

void drawValues(SlipCanvas& p, const SlipSources& src, const TWithholdingRec& r, int slot,
                int type) {
    const ledger::Ledger& lg = src.ledger;
    const auto& header = src.data.Header;
    // Recipient.
    p.SetFontPoints(8);
    p.DrawText(text(r.PostalCode), 33.5f, 27);
    p.DrawText(text(r.Address1), 33.5f, 31);
    p.DrawText(text(r.Address2), 33.5f, 35);
    p.DrawText(text(r.Position), 100, 31);
    p.DrawText(text(r.Furigana), 103, 35);
    p.DrawText(lg.Employee(slot).Name.str(), 98, 39);
    p.SetFontPoints(6);
    p.DrawText(text(r.RecipientNo), 104, 22.8f);
    if (type != 1) DrawDigitBoxes(p, 1, lg.Employee(slot).MyNumber, 105, 26.5f);

    // Amounts, always printed.
    p.SetFontPoints(8);
    p.DrawText(src.Syubetu, 25, 49);
    DrawAmountGroups(p, 1, r.PaidAmount, 45.5f, 49);
    DrawAmountGroups(p, 1, r.IncomeAfterDeduction, 70.5f, 49);
    DrawAmountGroups(p, 1, r.IncomeDeductionTotal, 94.5f, 49);
    DrawAmountGroups(p, 1, r.AnnualTax, 118, 49);

    // Spouse and counts.
    if (r.SpouseDeductible) p.DrawText("○", 23.5f, 65);
    if (r.SpouseDeductibleSub) p.DrawText("○", 29.5f, 65);
    if (r.SpouseElderly) p.DrawText("○", 36.5f, 65);
    DrawAmountGroups(p, 2, r.SpouseSpecialAmount, 41, 65);
    const float depX[] = {65, 70.5f, 76, 83, 89, 96, 102.5f};
    for (int i = 0; i < 7; ++i) p.DrawText(CountText(r.DependantCounts[i]), depX[i], 65);
    p.DrawText(CountText(r.Under16Count), 108.5f, 65);
    const float disX[] = {117, 124, 131.5f};
    for (int i = 0; i < 3; ++i) p.DrawText(CountText(r.DisabledCounts[i]), disX[i], 65);
    p.DrawText(CountText(r.NonResidentCount), 139, 65);

    // Deductions (style 3).
    if (r.SmallBizPremium > 0) DrawAmountGroups(p, 3, r.SmallBizPremium, 21, 73.5f);
    if (r.SocialInsurance > 0 || r.SmallBizPremium > 0)
        DrawAmountGroups(p, 3, std::int64_t(r.SocialInsurance) + r.SmallBizPremium, 21, 76);
    if (r.LifeInsurance > 0) DrawAmountGroups(p, 3, r.LifeInsurance, 51.5f, 76);
    if (r.EarthquakeInsurance > 0) DrawAmountGroups(p, 3, r.EarthquakeInsurance, 83, 76);
    if (r.HousingLoanCredit > 0) DrawAmountGroups(p, 3, r.HousingLoanCredit, 113, 76);

    // Remarks.
    for (int i = 0; i < 5; ++i) p.DrawText(text(r.Remarks[i]), 22, 82 + 2.7f * i);

    // Premium breakdown.
    p.SetFontPoints(6);
    auto amount = [&](std::int32_t v, float x, float y) {
        if (v > 0) p.DrawText(ledger::FmtAmount(11, v), x, y);
    };
    amount(r.NewLifePremium, 39.5f, 99);
    amount(r.OldLifePremium, 61.5f, 99);
    amount(r.CareMedicalPremium, 85, 99);
    amount(r.NewPensionPremium, 107.5f, 99);
    amount(r.OldPensionPremium, 131, 99);

    // Housing loan.
    if (r.HousingLoanCount > 0) p.DrawText(fmt("%2d", r.HousingLoanCount), 45, 104);
    amount(r.HousingLoanPossible, 39.5f, 109);
    for (int k = 0; k < 2; ++k) {
        const float y = 104 + 5.0f * k;
        const TEraDate& d = r.ResidenceStart[k];
        if (d.Year != 0) {
            p.DrawText(fmt("%s%2d", d.Era <= 5 ? kEraNames[d.Era] : "", int(d.Year)), 64, y);
            p.DrawText(fmt("%2d", int(d.Month)), 75, y);
            p.DrawText(fmt("%2d", int(d.Day)), 81, y);
        }
        static const char* kKinds[] = {"", "住", "認", "増", "震"};
        const std::string base = r.HousingLoanKind[k] <= 4 ? kKinds[r.HousingLoanKind[k]] : "";
        const std::string kind = r.HousingLoanSpecific[k] ? base + "(特)" : base;
        if (!kind.empty()) p.DrawText(kind, kind == base ? 102 : 100, y);
        amount(r.HousingLoanBalance[k], 131, y);
    }

    // Spouse.
    drawFamily(p, r.Spouse, 36.5f, 112, 70, 114, type != 1);
    amount(r.SpouseIncome, 85, 116);
    amount(r.NationalPensionPremium, 107.5f, 116);
    amount(r.OldLongTermPremium, 131, 116);

    // Dependants.
    for (int i = 0; i < 4; ++i) {
        const float yi = 123 + 10.125f * i;
        drawFamily(p, r.DependantMembers[i], 36.5f, yi, 70, yi + 2, type != 1);
        drawFamily(p, r.Under16Members[i], 90, yi, 123.5f, yi + 2, type == 3);
    }
    if (type != 1) {
        p.Narrow = 1;
        const float notesY = type == 2 ? 126 : 129;
        for (int i = 0; i < 5; ++i) p.DrawText(text(r.DependantNotes[i]), 128, notesY + 2.7f * i);
        if (type == 3)
            for (int i = 0; i < 5; ++i) p.DrawText(text(r.Under16Notes[i]), 128, 150 + 2.7f * i);
        p.Narrow = 0;
    }

    // Person flags and dates.
    p.SetFontPoints(8);
    struct Flag {
        int index;
        float x;
    };
    for (const Flag& f :
         {Flag{kPersonMinor, 23}, Flag{kPersonForeigner, 28}, Flag{kPersonDeathRetirement, 33.2f},
          Flag{kPersonDisasterVictim, 38.4f}, Flag{kPersonOtsu, 43.6f},
          Flag{kPersonDisabledSpecial, 48.8f}, Flag{kPersonDisabledOther, 54},
          Flag{kPersonWidowGeneral, 59.2f}, Flag{kPersonWidowSpecial, 64.4f},
          Flag{kPersonWidower, 69.6f}, Flag{kPersonWorkingStudent, 74.8f}})
        if (r.PersonFlags[f.index]) p.DrawText("○", f.x, 175.5f);
    if (r.Joined) p.DrawText("○", 80.4f, 175.5f);
    if (r.Resigned) p.DrawText("○", 85.8f, 175.5f);
    if (r.Joined || r.Resigned) {
        p.DrawText(fmt("%.2d", int(r.JoinLeaveDate[0])), 91.2f, 175.5f);
        p.DrawText(fmt("%.2d", int(r.JoinLeaveDate[1])), 96.6f, 175.5f);
        p.DrawText(fmt("%.2d", int(r.JoinLeaveDate[2])), 102, 175.5f);
    }
    if (r.BirthDate.present()) {
        // The form has boxes for 明治 to 平成 only.
        const float eraX[] = {107.4f, 112.8f, 118.2f, 123.6f};
        if (r.BirthDate.Era <= 4) p.DrawText("○", eraX[r.BirthDate.Era - 1], 175.5f);
        p.DrawText(fmt("%.2d", int(r.BirthDate.Year)), 129, 175.5f);
        p.DrawText(fmt("%.2d", int(r.BirthDate.Month)), 134.4f, 175.5f);
        p.DrawText(fmt("%.2d", int(r.BirthDate.Day)), 139.8f, 175.5f);
    }

    // Payer.
    p.SetFontPoints(6);
    if (header.Address2.length() != 0) {
        p.DrawText(text(header.Address1), 43, 186.7f);
        p.DrawText(text(header.Address2), 43, 188.7f);
    } else {
        p.DrawText(text(header.Address1), 43, 187.5f);
    }
    p.DrawText(lg.BasicInfo().CorpName.str(), 43, 193);
    p.DrawText(text(header.Telephone), 110, 193);
    if (type != 1) DrawDigitBoxes(p, 3, lg.BasicInfo().CorpNumber, 43, 182);
}

}  // namespace

bool BlankText(std::string_view cp932) {
    for (char ch : cp932)
        if (static_cast<unsigned char>(ch) > 0x20) return false;
    return true;
}

void DrawWithholdingSlip(reports::PrnCanvas& canvas, const SlipSources& src, int slot, int type) {
    if (slot < 1 || slot > kRecords || type < 1 || type > 3) return;
    const TWithholdingRec& r = src.data.Record(slot);
    const auto& cur = src.ledger.CurData;
    SlipCanvas p(canvas);
    p.Face(kMincho);
    p.SetFontPoints(12);
    if (type != 3) {
        p.DrawText(fmt("%s %d 年分", cur.Era.c_str(), cur.Year), 46, 17);
        p.Face(kGothic);
        p.DrawText("給与所得の源泉徴収票", 75, 17);
    } else {
        p.Face(kGothic);
        p.DrawCircledText(fmt("%2d", cur.Year + 1), 16, 22);
        p.DrawVerticalText("給与支払報告書（個人別明細書）", 20, 75);
    }
    p.Face(kMincho);
    p.ThinPen();
    if (type != 3) {
        p.DrawBox(21, 22.5f, 143.5f, 196);
    } else {
        p.DrawBox(21, 17.5f, 143.5f, 196);
        hLine(p, 20);
        hLine(p, 22.5f);
        for (float x : {80.4f, 99.5f, 121.5f}) vLine(p, x, 17.5f, 22.5f);
        for (int i = 1; i <= 17; ++i) vLine(p, 21 + 3.3f * i, 20, 22.5f);
        p.SetFontPoints(5);
        labels(p, {{"※", 21.5f, 18},
                   {"※種　　別", 80.9f, 18},
                   {"※整 理 番 号", 100, 18},
                   {"※", 122, 18}});
    }
    drawFrame(p, type);
    p.SetFontPoints(5);
    static const char* kCopyLabels[] = {"（受給者交付用）", "（税務署提出用）",
                                        "（市区町村提出用）"};
    p.DrawVerticalText(kCopyLabels[type - 1], 20.5f, 180);
    if (type == 2) {
        p.DrawText("整  理  欄", 27, 197.3f);
        p.DrawBox(21, 197, 100, 199.5f);
        vLine(p, 42.1f, 197, 199.5f);
        vLine(p, 72.5f, 197, 199.5f);
    }
    drawValues(p, src, r, slot, type);
}

}  // namespace withholding
