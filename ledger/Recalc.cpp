#include "ledger/Recalc.h"

#include <exception>
#include <map>
#include <utility>

#include "ledger/BonusCalc.h"
#include "ledger/LayoutItemUse.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/SalaryCalc.h"

namespace ledger {

namespace {

// Within one recalculation the stored files do not change, while each of 80
// employees asks for the same few blocks; each block is read once.
class OncePerCallReader : public SavedBlockReader {
public:
    explicit OncePerCallReader(const SavedBlockReader& inner) : inner_(inner) {}

    std::unique_ptr<TPeriodBlock> read(const std::filesystem::path& fileName,
                                       int period) const override {
        return std::make_unique<TPeriodBlock>(*share(fileName, period));
    }

    // The kept block itself: 80 employees look into the same few blocks, and a
    // copy of 95 KB for each look cost more than all the calculation.
    std::shared_ptr<const TPeriodBlock> share(const std::filesystem::path& fileName,
                                              int period) const override {
        auto key = std::make_pair(fileName, period);
        auto it = blocks_.find(key);
        if (it == blocks_.end()) {
            Stored<std::shared_ptr<const TPeriodBlock>> s;
            try {
                s.value = inner_.share(fileName, period);
            } catch (...) {
                s.failure = std::current_exception();
            }
            it = blocks_.emplace(key, std::move(s)).first;
        }
        if (it->second.failure) std::rethrow_exception(it->second.failure);
        return it->second.value;
    }

    TPayrollFileHeader header(const std::filesystem::path& fileName) const override {
        auto it = headers_.find(fileName);
        if (it == headers_.end()) {
            Stored<TPayrollFileHeader> s;
            try {
                s.value = inner_.header(fileName);
            } catch (...) {
                s.failure = std::current_exception();
            }
            it = headers_.emplace(fileName, std::move(s)).first;
        }
        if (it->second.failure) std::rethrow_exception(it->second.failure);
        return it->second.value;
    }

private:
    // What a read gave: the value, or the failure (a missing file is asked
    // about again and again).
    template <typename T>
    struct Stored {
        T value{};
        std::exception_ptr failure;
    };
    const SavedBlockReader& inner_;
    mutable std::map<std::pair<std::filesystem::path, int>,
                     Stored<std::shared_ptr<const TPeriodBlock>>>
        blocks_;
    mutable std::map<std::filesystem::path, Stored<TPayrollFileHeader>> headers_;
};

}  // namespace

std::vector<int> RecalcAll(Ledger& ledger, MessageSink& messages, const SavedBlockReader& reader) {
    std::vector<int> manualTax;
    ItemUseCache& use = ledger.itemUse;
    if (!ledger.isBonusPeriod()) {
        use.refresh(ledger, SlipKind::Salary);
        for (int slot = 1; slot <= kSlots; ++slot)
            if (!RecalcSalarySlot(ledger, slot, messages, use.of(ledger.Employee(slot).PayForm)))
                manualTax.push_back(slot);
        return manualTax;
    }
    use.refresh(ledger, SlipKind::Bonus);
    const OncePerCallReader once(reader);
    for (int slot = 1; slot <= kSlots; ++slot) {
        RecalcBonusSlot(ledger, slot, messages, once, use.of(ledger.Employee(slot).PayForm));
        if (!ledger.Employee(slot).Key.empty() && !ledger.BonusTaxOk[std::size_t(slot - 1)])
            manualTax.push_back(slot);
    }
    return manualTax;
}

std::string ManualTaxQuestion(const Ledger& ledger, const std::vector<int>& slots) {
    if (ledger.isBonusPeriod()) return std::string(kManualTaxQuestion);
    const auto end = SalaryTaxTableEnd(ledger.tables.salary);
    std::string text = "下記の社員は今回支給の｢社保控除後計｣の金額が税額表の範囲";
    if (end) text += "(" + FmtAmount(0, *end) + "円未満)";
    text +=
        "を超えている為、所得税が自動計算されません。\r"
        "ユーザーによる所得税の計算と入力が必要です。\r";
    for (int slot : slots)
        if (slot >= 1 && slot <= kSlots) text += "　" + ledger.Employee(slot).Name.str() + "\r";
    text += "\r該当する社員の所得税を手入力モードに変更しますか？";
    return text;
}

void SetManualIncomeTax(Ledger& ledger, const std::vector<int>& slots) {
    for (int slot : slots)
        if (slot >= 1 && slot <= kSlots) ledger.Deduction(slot).ManualFlags[kDedIncomeTax] = 1;
}

}  // namespace ledger
