#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/BonusTaxTable.h"
#include "ledger/GradeTable.h"
#include "ledger/SalaryTaxTable.h"

// The three binary statutory tables the payroll program reads from its own folder
// at start-up. They are read once; the look-ups work on these copies for the rest
// of the run, whatever happens to the files.
namespace ledger {

struct StatutoryTables {
    SalaryTaxTable salary;
    BonusTaxTable bonus;
    GradeTable grades;
    bool salaryLoaded = false;
    bool bonusLoaded = false;
    bool gradesLoaded = false;
    // One line per file that was not loaded: its name and why ("<name>: <why>").
    std::vector<std::string> problems;

    // 0..3; the program needs all three.
    int loadedCount() const { return int(salaryLoaded) + int(bonusLoaded) + int(gradesLoaded); }
};

// Reads one table file with a single read of its fixed size (a longer file's
// first bytes). Returns false and says why in `problem` when the file is missing,
// unreadable, short or holds a table that cannot be used; `out` is then empty.
bool LoadTableFile(const std::filesystem::path& file, SalaryTaxTable& out, std::string& problem);
bool LoadTableFile(const std::filesystem::path& file, BonusTaxTable& out, std::string& problem);
bool LoadTableFile(const std::filesystem::path& file, GradeTable& out, std::string& problem);

// Reads "税額表(給与).dat", "税額表(賞与).dat" and "健康保険料額表.dat" from a folder
// (the program's folder). Never throws for a file's fault: each file that cannot
// be used is left out and named in `problems`.
StatutoryTables LoadStatutoryTables(const std::filesystem::path& folder);

}  // namespace ledger
