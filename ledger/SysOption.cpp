#include "ledger/SysOption.h"

#include <algorithm>
#include <initializer_list>

#include "ledger/NumberText.h"
#include "platform/IniFile.h"

namespace ledger {

SysOption::SysOption() {
    for (std::size_t i = 0; i < attendanceLabels.size(); ++i)
        attendanceLabels[i] = kAttendanceLabelDefaults[i];
    for (std::size_t i = 0; i < paymentLabels.size(); ++i)
        paymentLabels[i] = kPaymentLabelDefaults[i];
    for (std::size_t i = 0; i < freeLabels.size(); ++i) freeLabels[i] = kFreeLabelDefaults[i];
}

std::string* SysOption::labelForKey(std::string_view key) {
    for (std::size_t i = 0; i < kAttendanceLabelKeys.size(); ++i)
        if (kAttendanceLabelKeys[i] == key) return &attendanceLabels[i];
    for (std::size_t i = 0; i < kPaymentLabelKeys.size(); ++i)
        if (kPaymentLabelKeys[i] == key) return &paymentLabels[i];
    for (std::size_t i = 0; i < kFreeLabelKeys.size(); ++i)
        if (kFreeLabelKeys[i] == key) return &freeLabels[i];
    return nullptr;
}

const std::string* SysOption::labelForKey(std::string_view key) const {
    return const_cast<SysOption*>(this)->labelForKey(key);
}

}  // namespace ledger

namespace ledger {
namespace {

const std::string kSection = kOptionSection;

std::string readLabel(const platform::IniFile& ini, std::string_view key, std::string_view def) {
    std::string v = ini.readString(kSection, std::string(key), std::string(def));
    return v.empty() ? std::string(def) : v;
}

// Twelve '0'/'1' characters, else the default.
std::string readFlags(const platform::IniFile& ini, const char* key, const std::string& def) {
    std::string v = ini.readString(kSection, key, def);
    bool ok = v.size() == def.size() &&
              std::all_of(v.begin(), v.end(), [](char c) { return c == '0' || c == '1'; });
    return ok ? v : def;
}

int readChoice(const platform::IniFile& ini, const char* key, int def,
               std::initializer_list<int> allowed) {
    int v = ini.readInteger(kSection, key, def);
    return std::find(allowed.begin(), allowed.end(), v) != allowed.end() ? v : def;
}

}  // namespace

void LoadSysOption(const platform::IniFile& ini, SysOption& o) {
    const SysOption d;
    for (std::size_t i = 0; i < kFreeLabelKeys.size(); ++i)
        o.freeLabels[i] = readLabel(ini, kFreeLabelKeys[i], kFreeLabelDefaults[i]);
    o.tokuSyoyo = readLabel(ini, "TokuSyoyo", d.tokuSyoyo);
    o.kazei = readFlags(ini, "Kazei", d.kazei);
    o.syaho = readFlags(ini, "Syaho", d.syaho);
    for (std::size_t i = 0; i < kAttendanceLabelKeys.size(); ++i)
        o.attendanceLabels[i] =
            readLabel(ini, kAttendanceLabelKeys[i], kAttendanceLabelDefaults[i]);
    for (std::size_t i = 0; i < kPaymentLabelKeys.size(); ++i)
        o.paymentLabels[i] = readLabel(ini, kPaymentLabelKeys[i], kPaymentLabelDefaults[i]);
    o.hasuuSik = readChoice(ini, "HasuuSik", d.hasuuSik, {1, 2});
    o.hasuuGen = readChoice(ini, "HasuuGen", d.hasuuGen, {0, 2});
    o.hasuuKou = readChoice(ini, "HasuuKou", d.hasuuKou, {0, 2});
    o.timeStyle = readChoice(ini, "TimeStyle", d.timeStyle, {0, 1});
    o.prnRuikei = ini.readBool(kSection, "PrnRuikei", d.prnRuikei);
    o.use2kSatu = ini.readBool(kSection, "Use2kSatu", d.use2kSatu);
    o.autoSelect = ini.readBool(kSection, "AutoSelect", d.autoSelect);
    o.inputOverN = ini.readBool(kSection, "InputOverN", d.inputOverN);
}

void SaveSysOption(platform::IniFile& ini, const SysOption& o, double hoursPerDay) {
    // The settings of one OK reach the file together or not at all.
    ini.writeAll([&](platform::IniFile& w) {
        w.writeString(kSection, "DefJikanD", fixedText(hoursPerDay, 2));
        w.writeString(kSection, "CorpName", o.corpName);
        for (std::size_t i = 0; i < 12; ++i)
            w.writeQuoted(kSection, std::string(kFreeLabelKeys[i]), o.freeLabels[i]);
        w.writeQuoted(kSection, "TokuSyoyo", o.tokuSyoyo);
        for (std::size_t i = 12; i < kFreeLabelKeys.size(); ++i)
            w.writeQuoted(kSection, std::string(kFreeLabelKeys[i]), o.freeLabels[i]);
        w.writeString(kSection, "Kazei", o.kazei);
        w.writeString(kSection, "Syaho", o.syaho);
        for (std::size_t i = 0; i < kAttendanceLabelKeys.size(); ++i)
            w.writeQuoted(kSection, std::string(kAttendanceLabelKeys[i]), o.attendanceLabels[i]);
        for (std::size_t i = 0; i < kPaymentLabelKeys.size(); ++i)
            w.writeQuoted(kSection, std::string(kPaymentLabelKeys[i]), o.paymentLabels[i]);
        w.writeInteger(kSection, "TimeStyle", o.timeStyle);
        w.writeInteger(kSection, "HasuuSik", o.hasuuSik);
        w.writeInteger(kSection, "HasuuGen", o.hasuuGen);
        w.writeInteger(kSection, "HasuuKou", o.hasuuKou);
        w.writeBool(kSection, "PrnRuikei", o.prnRuikei);
        w.writeBool(kSection, "Use2kSatu", o.use2kSatu);
    });
}

}  // namespace ledger
