// A readable dump of a loaded INI model (sections in list order, each line's key and text), for
// comparing models in tests.
#pragma once
#include <string>

#include "ini/ini_collections.h"

inline std::string DumpSection(IniSection* section) {
    std::string out;
    IniLineCollection* lines = nullptr;
    if (!section->GetLines(&lines) || !lines) return out;
    for (int i = 0; i < lines->Count(); ++i) {
        const IniLine* line = lines->At(i);
        out += "  " + std::to_string(line->HeaderNumber()) + " <" + line->Key() + "> <" +
               line->Text() + ">\n";
    }
    return out;
}

inline std::string DumpModel(const CIniFile& file) {
    std::string out;
    for (int i = 0; i < file.SectionCount(); ++i) {
        IniSection* section = file.SectionAt(i);
        std::string name;
        section->GetName(name);
        out +=
            "[" + name + "]" + (section->FirstOfName() ? " repeat\n" : "\n") + DumpSection(section);
    }
    return out;
}

// A file object ready for use, its collection created.
class ReadyIniFile : public CIniFile {
  public:
    ReadyIniFile() {
        IniSectionCollection* sections = nullptr;
        CreateSectionCollection(&sections);
    }
};
