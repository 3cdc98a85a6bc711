#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Starting a period that has never been saved: the company record and the
// employees come over from an earlier period (or, when none can give them, from a
// saved salary month the user picks); attendance, payments and deductions start
// at zero. The employees keep their slots; their memos are not carried.
namespace ledger {

struct Ledger;

// What the automatic carry-over left to do.
struct CarryOverResult {
    // No company record came over: the user is to pick a month to refer to.
    bool needsReference = false;
    // The previous month was there but a later month of the year is saved
    // already, so the previous month was not taken.
    bool laterDataExist = false;
};

// Starts the unsaved period ledger.CurData.Period in memory from its source:
// January from December of last year's file, a bonus from the latest saved
// salary month of the open file, any other month from the month before (saved or
// not: an unsaved block is zero and gives nothing). A month is never started from
// its predecessor when a later month of the year is saved already. A file error
// throws platform::IoError before memory is changed.
CarryOverResult CarryOver(Ledger& ledger);

// Replaces the company record and the employees in memory by those of a stored
// salary month, with the memos emptied and the other three tables zeroed.
void TakeOverMonth(Ledger& ledger, const std::filesystem::path& file, int month);

// A saved salary month offered as the source of a new period.
struct ReferenceItem {
    std::string text;  // "令和8年 4月分給与"
    std::filesystem::path file;
    std::string yearText;  // "令和8年"
    int month = 0;
};

// Every saved salary month of every year file of the era in the data folder
// (era years 1..99, ascending; months ascending). A year file that cannot be
// read throws platform::IoError.
std::vector<ReferenceItem> BuildReferenceList(const std::filesystem::path& dataPath,
                                              std::string_view era);

// The item chosen in advance: the first saved month of the open year after the
// chosen period, else the open year's last saved month, else the first item
// (-1 for an empty list).
int PreselectReference(const std::vector<ReferenceItem>& items, std::string_view era, int year,
                       int period);

// The hints of the reference dialog.
inline constexpr std::string_view kNoReferenceData =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。"
    "\r\r基本情報と社員名簿情報の設定を行って下さい。";
inline constexpr std::string_view kPreviousAndLaterExist =
    "選択された月の前月のデータと、前月データより新しい\rデータの両方が存在します。"
    "\r\r参照するデータをリストから選択して下さい。";
inline constexpr std::string_view kNoPreviousMonth =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。"
    "\r\r参照するデータをリストから選択して下さい。";
inline constexpr std::string_view kCheckReferencedData =
    "参照したデータと保険料率等が違う可能性があるので、\r基本情報と社員名簿情報の設定を確認して下さ"
    "い。";
inline constexpr std::string_view kNoReferenceTaken =
    "参照しない場合、全て新規入力となります。\r基本情報と社員名簿情報の設定を行って下さい。";

}  // namespace ledger
