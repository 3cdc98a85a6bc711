#pragma once
#include <string>
#include <vector>

// The printer as the print settings see it, without any window system: the
// installed printers, the current one, and the device-mode fields the settings
// file keeps (Windows codes: paper 9 A4, 13 B5; orientation 1 portrait, 2
// landscape). platform/ui/Printer implements it over Qt; tests use a fake.
namespace platform {

struct DevMode {
    int PaperSize = 0;   // 0 or a code we do not know: the driver's default
    int PaperWidth = 0;  // tenths of a millimetre, portrait-wise; custom sizes only
    int PaperLength = 0;
    int Orientation = 0;  // 1 portrait, 2 landscape, 0 the default
    int DefaultSource = 0;
    int PrintQuality = 0;  // dots per inch when positive
    bool Colour = false;
    bool operator==(const DevMode&) const = default;
};

class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    // Names in the system's order.
    virtual std::vector<std::string> printerNames() const = 0;
    virtual std::string printerName() const = 0;
    // Makes the printer of exactly this name current, at its driver's defaults;
    // false (nothing changed) when no such printer is installed.
    virtual bool selectPrinter(const std::string& name) = 0;
    // Back to the driver's defaults for the current printer.
    virtual void resetToDefaults() = 0;
    virtual DevMode devMode() const = 0;
    // Applies the fields; a field at 0 or with a code the printer does not know
    // keeps the driver's default.
    virtual void setDevMode(const DevMode& mode) = 0;
};

}  // namespace platform
