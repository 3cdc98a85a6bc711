#pragma once
#include <array>
#include <string_view>

#include "ledger/Ledger.h"
#include "reports/PaySlip.h"
#include "reports/PrnCanvas.h"

// The second slip layout (form types 4..7): payments, deductions, attendance and
// その他 in three bands of label and value cells, nine to a row. The print
// dialog passes the same as for the GB1150 layout (reports/PaySlip.h); this
// layout reads no file, so SlipOptions::Reader is not used.
namespace reports {

// The order in which items may appear, whatever order the slip item dialog
// gives them; the dialog decides only which of them appear. The entries that
// differ for bonus slips are replaced per slip (SlipCellsFor).
inline constexpr std::array<std::string_view, 20> SlipPaymentCells{"F基本給",
                                                                   "F役職手当",
                                                                   "F家族手当",
                                                                   "F固定手当１",
                                                                   "F固定手当２",
                                                                   "F固定手当３",
                                                                   "V変動手当１",
                                                                   "V変動手当２",
                                                                   "V変動手当３",
                                                                   "F普通残業手当",
                                                                   "F深夜残業手当",
                                                                   "F休日普通残業",
                                                                   "F休日深夜残業",
                                                                   "F非課税通勤費",
                                                                   "F課税通勤費",
                                                                   "F",
                                                                   "F",
                                                                   "F",
                                                                   "F欠勤控除",
                                                                   "F遅刻早退控除"};
inline constexpr std::array<std::string_view, 19> SlipDeductionCells{
    "F健康保険料", "F介護保険料", "F厚生年金保険", "F厚生年金基金", "F雇用保険料",
    "F固定控除１", "F固定控除２", "F固定控除３",   "V変動控除１",   "V変動控除２",
    "V変動控除３", "F所得税",     "F住民税",       "F固定控除１",   "F固定控除２",
    "F固定控除３", "V変動控除１", "V変動控除２",   "V変動控除３"};
inline constexpr std::array<std::string_view, 18> SlipAttendanceCells{"F所定労働日数",
                                                                      "V出勤日数",
                                                                      "V休日出勤日数",
                                                                      "V有休日数",
                                                                      "V欠勤日数",
                                                                      "V特別休暇日数",
                                                                      "V遅刻早退回数",
                                                                      "V遅刻早退時間",
                                                                      "F",
                                                                      "F所定労働時間",
                                                                      "V実働時間",
                                                                      "V普通残業時間",
                                                                      "V深夜残業時間",
                                                                      "V休日普通残業",
                                                                      "V休日深夜残業",
                                                                      "F",
                                                                      "F",
                                                                      "F"};
inline constexpr std::array<std::string_view, 3> SlipOtherCells{"Vその他１", "Vその他２",
                                                                "Vその他３"};

// The cell lists of one slip: for a bonus period (13..15) payment cells 0-2 are
// "V賞与", "V役員報酬", "F", only payment cells 0-8 are used and 住民税 is dropped.
struct SlipCells {
    std::array<std::string_view, 20> payment = SlipPaymentCells;
    int paymentCount = 20;
    std::array<std::string_view, 19> deduction = SlipDeductionCells;
    bool attendance = true;
};
SlipCells SlipCellsFor(int period);

// The printed-form part: boxes, shading and the cell grid (no captions).
void DrawSlipFrameGB1172(PrnCanvas& c);

// One slip; the frame too on form types 5..7.
void DrawSlipGB1172(PrnCanvas& c, const ledger::Ledger& ledger, const SlipOptions& options,
                    int slot);

}  // namespace reports
