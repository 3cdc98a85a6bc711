#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"

// Recalculation of the whole open period from the item grid, run before every
// save, print and dialog that shows the figures. The grid cell being edited must
// be committed to the grid first (the window's job).
namespace ledger {

struct Ledger;

// The question asked about the slots RecalcAll returns (warning, Yes/No), and
// what is said after Yes (information).
inline constexpr std::string_view kManualTaxQuestion =
    "下記の何れかの例外に該当する為、所得税が自動計算されません。\r"
    "ユーザーによる所得税の計算と入力が必要です。\r"
    "　１．前月中に給与の支払いが無い。\r"
    "　２．今回支給の｢社保控除後計｣の金額が、前月中の給与等の金額\r"
    "　　　(社会保険控除後)の10倍を超えている。\r"
    "\r"
    "該当する社員の所得税を手入力モードに変更しますか？";
inline constexpr std::string_view kManualTaxDone =
    "該当社員の所得税計算を手入力モードに変更しました。\r"
    "詳細入力画面にて該当社員の確認と入力を行って下さい。";

// Copies every slot's grid column into its records and calculates it, slots 1..80
// in order. Returns the slots in use whose income tax could not be computed and
// must be typed (to ask ManualTaxQuestion about): in a bonus period those without
// a usable previous month, in a salary period those whose pay after social
// insurance is beyond the tax table. Other periods and last year's file are read
// through `reader`, each stored block at most once per call.
std::vector<int> RecalcAll(Ledger& ledger, MessageSink& messages,
                           const SavedBlockReader& reader = fileBlockReader());

// The question about the slots RecalcAll returned: kManualTaxQuestion in a bonus
// period; in a salary period one that names each employee and says the amount
// is beyond the tax table.
std::string ManualTaxQuestion(const Ledger& ledger, const std::vector<int>& slots);

// Marks the income tax of the slots as typed by hand (deduction flag 8): from
// now on the calculation keeps their tax and no longer asks about them.
void SetManualIncomeTax(Ledger& ledger, const std::vector<int>& slots);

}  // namespace ledger
