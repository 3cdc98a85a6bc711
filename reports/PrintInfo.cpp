#include "reports/PrintInfo.h"

#include <charconv>
#include <cstdio>

#include "platform/IniFile.h"
#include "reports/PrintJob.h"

namespace reports {
namespace {

int devModeValue(const platform::IniFile& ini, const std::string& section, const char* key) {
    std::string text = ini.readString(section, key, "0");
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < -32768 || v > 32767) return 0;
    return v;
}

std::string devModeText(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", v);
    return std::string(buf).substr(0, 8);
}

}  // namespace

StoredPrintInfo ReadPrintInfo(const platform::IniFile& ini, const std::string& section) {
    StoredPrintInfo s;
    s.DeviceName = ini.readString(section, "DeviceName");
    s.mode.PaperSize = devModeValue(ini, section, "PaperSize");
    s.mode.PaperWidth = devModeValue(ini, section, "PaperWidth");
    s.mode.PaperLength = devModeValue(ini, section, "PaperLength");
    s.mode.Orientation = devModeValue(ini, section, "Orientation");
    s.mode.DefaultSource = devModeValue(ini, section, "DefaultSource");
    s.mode.PrintQuality = devModeValue(ini, section, "PrintQuality");
    s.mode.Colour = true;
    return s;
}

PrintOptions ReadPrintOptions(const platform::IniFile& ini) {
    PrintOptions o;
    o.FormType = ValidFormType(ini.readInteger("Option", "FormType", kDefaultFormType));
    o.PrAdjustH = AdjustFromTenths(ini.readInteger("Option", "PrAdjustH", 0));
    o.PrAdjustV = AdjustFromTenths(ini.readInteger("Option", "PrAdjustV", 0));
    return o;
}

bool LoadPrintInfo(const platform::IniFile& ini, platform::PrinterPort& printer,
                   const std::string& section) {
    StoredPrintInfo s = ReadPrintInfo(ini, section);
    if (s.DeviceName.empty()) return false;
    bool installed = false;
    for (const auto& name : printer.printerNames())
        if (name == s.DeviceName) {
            installed = true;
            break;
        }
    if (!installed || !printer.selectPrinter(s.DeviceName)) return false;
    printer.resetToDefaults();
    printer.setDevMode(s.mode);
    return true;
}

void SavePrintInfo(platform::IniFile& ini, const platform::PrinterPort& printer,
                   const PrintOptions& options, const std::string& section, bool withFormType) {
    const std::string name = printer.printerName();
    const platform::DevMode m = printer.devMode();
    ini.writeAll([&](platform::IniFile& w) {
        w.writeString(section, "DeviceName", name);
        w.writeString(section, "PaperSize", devModeText(m.PaperSize));
        w.writeString(section, "PaperWidth", devModeText(m.PaperWidth));
        w.writeString(section, "PaperLength", devModeText(m.PaperLength));
        w.writeString(section, "Orientation", devModeText(m.Orientation));
        w.writeString(section, "DefaultSource", devModeText(m.DefaultSource));
        w.writeString(section, "PrintQuality", devModeText(m.PrintQuality));
        if (withFormType) w.writeInteger("Option", "FormType", options.FormType);
        w.writeInteger("Option", "PrAdjustH", AdjustToTenths(options.PrAdjustH));
        w.writeInteger("Option", "PrAdjustV", AdjustToTenths(options.PrAdjustV));
    });
}

std::string SelectPaper(platform::PrinterPort& printer, int paper, int orientation) {
    printer.resetToDefaults();
    platform::DevMode m = printer.devMode();
    m.Colour = true;
    m.Orientation = orientation;
    m.PaperSize = paper;
    printer.setDevMode(m);
    return printer.printerName();
}

}  // namespace reports
