#include "ledger/TaxTables.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/Errors.h"

namespace ledger {
namespace fs = std::filesystem;
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The first `size` bytes of a file, read at once. Empty result and a reason when
// the file cannot give them.
bool readFixedSize(const fs::path& file, std::size_t size, std::string& bytes,
                   std::string& problem) {
    std::error_code ec;
    if (!fs::exists(file, ec) || ec) {
        problem = "ファイルがありません";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "rb"));
    if (!f) {
        problem = platform::IoError::fromErrno(errno).what();
        return false;
    }
    bytes.assign(size, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, size, f.get());
    if (got != size) {
        if (std::ferror(f.get())) {
            problem = platform::IoError::fromErrno(errno).what();
        } else {
            problem = "ファイルが短すぎます（" + std::to_string(got) + " バイト、必要なのは " +
                      std::to_string(size) + " バイト）";
        }
        bytes.clear();
        return false;
    }
    return true;
}

template <typename Table, typename Decode>
bool loadWith(const fs::path& file, std::size_t size, Decode decode, Table& out,
              std::string& problem) {
    out = Table{};
    std::string bytes;
    if (!readFixedSize(file, size, bytes, problem)) return false;
    problem = decode(bytes, out);
    return problem.empty();
}

template <typename Table>
void loadInto(const fs::path& folder, const char* name, Table& table, bool& loaded,
              std::vector<std::string>& problems) {
    std::string problem;
    loaded = LoadTableFile(folder / name, table, problem);
    if (!loaded) problems.push_back(std::string(name) + ": " + problem);
}

}  // namespace

bool LoadTableFile(const fs::path& file, SalaryTaxTable& out, std::string& problem) {
    return loadWith(file, kSalaryTaxFileSize, DecodeSalaryTaxTable, out, problem);
}

bool LoadTableFile(const fs::path& file, BonusTaxTable& out, std::string& problem) {
    return loadWith(file, kBonusTaxFileSize, DecodeBonusTaxTable, out, problem);
}

bool LoadTableFile(const fs::path& file, GradeTable& out, std::string& problem) {
    return loadWith(file, kGradeFileSize, DecodeGradeTable, out, problem);
}

StatutoryTables LoadStatutoryTables(const fs::path& folder) {
    StatutoryTables t;
    loadInto(folder, kSalaryTaxFileName, t.salary, t.salaryLoaded, t.problems);
    loadInto(folder, kBonusTaxFileName, t.bonus, t.bonusLoaded, t.problems);
    loadInto(folder, kGradeFileName, t.grades, t.gradesLoaded, t.problems);
    return t;
}

}  // namespace ledger
