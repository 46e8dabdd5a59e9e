#include "librarian/BaseSettings.h"

namespace librarian {

void ReadMainWindowValues(BaseValues& values, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kBaseKey, store);
    reader.Next("MBX", values.mainTop);
    reader.Next("MBY", values.mainLeft);
    reader.Next("PER", values.functionsMode);
    reader.Next("PAG", values.pageMode);
}

void ReadOptionsWindowValues(BaseValues& values, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kBaseKey, store);
    reader.Next("OBX", values.optionsTop);
    reader.Next("OBY", values.optionsLeft);
    reader.Next("OBO", values.optionsOpen);
    reader.Next("MSL", values.multiSelect);
    reader.Next("LBU", values.linkBuffers);
    reader.Next("CPY", values.dropCopy);
    reader.Next("SWP", values.dropSwap);
    reader.Next("ADD", values.dropAddTo);
    reader.Next("DF1", values.doublesFirst);
    reader.Next("DF2", values.doublesSecond);
    reader.Next("DEL", values.doublesDelete);
    reader.Next("AUD", values.auditionOn);
    reader.Next("AUDN", values.auditionNote);
    reader.Next("AUDV", values.auditionVelocity);
    reader.Next("AUDL", values.auditionLength);
}

void ReadMarkersWindowValues(BaseValues& values, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kBaseKey, store);
    reader.Next("TBX", values.markersTop);
    reader.Next("TBY", values.markersLeft);
    reader.Next("TBO", values.markersOpen);
}

int WriteBaseValues(const BaseValues& v, platform::SettingsStore& store) {
    return platform::WriteSettings(platform::kBaseKey, {
        {"MBX", v.mainTop},
        {"MBY", v.mainLeft},
        {"OBX", v.optionsTop},
        {"OBY", v.optionsLeft},
        {"TBX", v.markersTop},
        {"TBY", v.markersLeft},
        {"PER", v.functionsMode},
        {"PAG", v.pageMode},
        {"OBO", v.optionsOpen},
        {"TBO", v.markersOpen},
        {"MSL", v.multiSelect},
        {"LBU", v.linkBuffers},
        {"CPY", v.dropCopy},
        {"SWP", v.dropSwap},
        {"ADD", v.dropAddTo},
        {"DF1", v.doublesFirst},
        {"DF2", v.doublesSecond},
        {"DEL", v.doublesDelete},
        {"AUD", v.auditionOn},
        {"AUDN", v.auditionNote},
        {"AUDV", v.auditionVelocity},
        {"AUDL", v.auditionLength},
    }, store);
}

}  // namespace librarian
