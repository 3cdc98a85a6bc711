#pragma once
#include <string>

#include "platform/PrinterPort.h"

namespace platform {
class IniFile;
}

// The memory of the printer settings in the settings file: [PrintInfo] keeps the
// printer and its device mode, [Option] the slip form type and the
// print-position correction (tenths of a millimetre; the year-end program reads
// and writes the same two correction keys).
namespace reports {

inline constexpr const char* kPrintInfoSection = "PrintInfo";

// What [PrintInfo] holds. A stored value that is not a whole number within
// -32768..32767 reads as 0, which keeps the driver's default for that field
// instead of blocking the print dialog.
struct StoredPrintInfo {
    std::string DeviceName;
    platform::DevMode mode;
};
StoredPrintInfo ReadPrintInfo(const platform::IniFile& ini,
                              const std::string& section = kPrintInfoSection);

// The [Option] values the print dialog reads once when it is created.
struct PrintOptions {
    int FormType = 3;
    double PrAdjustH = 0;  // millimetres
    double PrAdjustV = 0;
};
PrintOptions ReadPrintOptions(const platform::IniFile& ini);

// Restores the remembered printer: true when a printer of exactly the stored
// name is installed; it is then made current at its driver's defaults and the
// stored fields and colour are applied. Otherwise nothing changes.
bool LoadPrintInfo(const platform::IniFile& ini, platform::PrinterPort& printer,
                   const std::string& section = kPrintInfoSection);

// Stores the current printer (its full name, so it is found again), its
// device mode, and the [Option] values, all in one write. withFormType false
// leaves FormType alone. Throws platform::IoError when the file cannot be written.
void SavePrintInfo(platform::IniFile& ini, const platform::PrinterPort& printer,
                   const PrintOptions& options, const std::string& section = kPrintInfoSection,
                   bool withFormType = true);

// Resets the current printer to its driver's defaults and sets paper,
// orientation and colour. Returns the printer's name for the printer panel.
std::string SelectPaper(platform::PrinterPort& printer, int paper, int orientation);

}  // namespace reports
