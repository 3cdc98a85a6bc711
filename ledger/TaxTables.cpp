#include "ledger/TaxTables.h"

#include <unistd.h>

#include <cerrno>

#include "platform/Errors.h"
#include "platform/Files.h"

namespace ledger {
namespace fs = std::filesystem;
namespace {

// The first `size` bytes of a file, read at once. Empty result and a reason when
// the file cannot give them. A pipe or folder under a table's name is refused
// rather than waited on.
bool readFixedSize(const fs::path& file, std::size_t size, std::string& bytes,
                   std::string& problem) {
    std::error_code ec;
    if (!fs::exists(file, ec) || ec) {
        problem = "ファイルがありません";
        return false;
    }
    int fd = -1;
    try {
        fd = platform::openForReading(file);
    } catch (const platform::IoError& e) {
        problem = e.what();
        return false;
    }
    bytes.assign(size, '\0');
    std::size_t got = 0;
    int err = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes.data() + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        got += std::size_t(n);
    }
    ::close(fd);
    if (got != size) {
        if (err != 0) {
            problem = platform::IoError::fromErrno(err).what();
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
