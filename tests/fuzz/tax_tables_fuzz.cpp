// The three binary table files beside the payroll program; the first byte
// chooses which one the rest is taken for, and a table that decodes is used.
#include <exception>

#include "FuzzFile.h"
#include "ledger/BonusTaxTable.h"
#include "ledger/GradeTable.h"
#include "ledger/SalaryTaxTable.h"
#include "ledger/SysOption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes = fuzzing::bytes(data + 1, size - 1);
    const ledger::SysOption option;
    try {
        switch (data[0] % 3) {
            case 0: {
                ledger::SalaryTaxTable t;
                if (!ledger::DecodeSalaryTaxTable(bytes, t).empty()) break;
                for (std::int32_t amount : {0, 88000, 290000, 740000, 1700000, 2147483647})
                    for (int column = 0; column < 3; ++column)
                        (void)ledger::MonthlyTax(t, option, amount, column, 2);
                break;
            }
            case 1: {
                ledger::BonusTaxTable t;
                if (!ledger::DecodeBonusTaxTable(bytes, t).empty()) break;
                for (std::int32_t prev : {0, 68000, 300000, 2147483647})
                    (void)ledger::BonusTax(t, option, prev, 500000, 1, 0);
                break;
            }
            default: {
                ledger::GradeTable t;
                (void)ledger::DecodeGradeTable(bytes, t);
                break;
            }
        }
    } catch (const std::exception&) {
    }
    return 0;
}
