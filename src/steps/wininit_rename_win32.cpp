// The restart deletion of the 9x family: "NUL=<short path>" lines in WININIT.INI [Rename].
#include "steps/wininit_rename.h"

#include "ini/ini_file.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"

void ScheduleInWininit(const char* path, const std::string& windowsFolder) {
    std::string iniPath = windowsFolder;
    if (iniPath.empty() || iniPath.back() != '\\') iniPath += '\\';
    iniPath += "WININIT.INI";
    if (!FitsMaxPath(iniPath)) return;

    {
        // The INI library loads an existing file only.
        UniqueFile touch(::CreateFileA(iniPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    }
    try {
        CIniFile ini;
        IniSectionCollection* sections = nullptr;
        ini.CreateSectionCollection(&sections);
        ini.Open(iniPath);
        IniSection* rename = nullptr;
        if (!ini.FindSection("Rename", &rename)) {
            ini.AddSection("Rename");
            if (!ini.FindSection("Rename", &rename)) {
                WriteLog("Error with [Rename] section in WININIT.INI");
                return;
            }
        }
        char shortPath[kMaxPath];
        const DWORD length = ::GetShortPathNameA(path, shortPath, sizeof shortPath);
        // Without a short form (a path that is gone, or too long) there is nothing to write.
        if (length == 0 || length >= sizeof shortPath) return;
        rename->AddKeyValue("NUL", shortPath);
        ini.Save();
    } catch (CZbIniFileException* error) {
        // Reached from the worker's exit routine too: an INI failure must not end anything.
        WriteLogF("Failed to update \"%s\" in LogForDeletion(): %s", iniPath.c_str(),
                  error->Message.c_str());
        delete error;
    } catch (...) {
        WriteLogF("Failed to update \"%s\" in LogForDeletion()", iniPath.c_str());
    }
}
