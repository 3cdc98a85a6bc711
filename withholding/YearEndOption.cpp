#include "withholding/YearEndOption.h"

#include "platform/IniFile.h"

namespace withholding {

namespace {
constexpr const char* kSection = "Option";
}

YearEndOption LoadYearEndOption(const platform::IniFile& ini) {
    const YearEndOption d;
    YearEndOption o;
    o.Syubetu = ini.readString(kSection, "Syubetu", d.Syubetu);
    o.PrAdjustH = ini.readInteger(kSection, "PrAdjustH", 0) / 10.0;
    o.PrAdjustV = ini.readInteger(kSection, "PrAdjustV", 0) / 10.0;
    o.YubinDat = ini.readInteger(kSection, "YubinDat", d.YubinDat);
    o.AutoSelect = ini.readBool(kSection, "AutoSelect", d.AutoSelect);
    o.InputOverN = ini.readBool(kSection, "InputOverN", d.InputOverN);
    o.PrintLine = ini.readBool(kSection, "PrintLine", d.PrintLine);
    o.HasuuCut = ini.readBool(kSection, "HasuuCut", d.HasuuCut);
    return o;
}

void SaveYearEndOption(platform::IniFile& ini, const YearEndOption& o) {
    ini.writeAll([&o](platform::IniFile& w) {
        w.writeString(kSection, "Syubetu", o.Syubetu);
        w.writeInteger(kSection, "YubinDat", o.YubinDat);
        w.writeBool(kSection, "AutoSelect", o.AutoSelect);
        w.writeBool(kSection, "InputOverN", o.InputOverN);
        w.writeBool(kSection, "PrintLine", o.PrintLine);
        w.writeBool(kSection, "HasuuCut", o.HasuuCut);
    });
}

}  // namespace withholding
