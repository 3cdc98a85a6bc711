#pragma once
#include <functional>

namespace ledger {
struct Ledger;
}
namespace withholding {
struct WithholdingData;
struct YearEndOption;
}  // namespace withholding

namespace withholding::ui {

class MainWindow;

// Creates the two record editors and the family dialog (children of the main
// window, kept until the program ends) and returns the main window's command that
// opens the editor of the open year's layout on a slot.
std::function<void(int slot, bool newLayout)> CreateRecordEditors(MainWindow& main,
                                                                  ledger::Ledger& ledger,
                                                                  WithholdingData& data,
                                                                  const YearEndOption& option);

}  // namespace withholding::ui
