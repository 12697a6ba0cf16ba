// CIniFile: loading an INI file line by line into sections, lookups and edits, and writing it back.
#include <memory>
#include <new>
#include <vector>

#include "ini/char_stream.h"
#include "ini/ini_collections.h"
#include "sys/code_page.h"
#include "sys/last_error.h"
#include "sys/next_token.h"

const char* const kUnnamedSectionName = "$$$unnamed$$$";

namespace {
constexpr int32_t kContentError = 4;  // the file's content, opening or reading
constexpr int32_t kInternalError = 5; // internal failures, writing, no file name on Load
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kInvalidName = 123;
constexpr int32_t kFirstReadCapacity = 1024;

const char kNoFileName[] = "The filename member of CIniFile has not been initialized.";
const char kBadHeader[] = "Improperly formed section name.";
const char kBadSectionName[] = "Illegal character(s) in section name.";
const char kBadKeyName[] = "Illegal character(s) in key name.";
const char kNoSection[] = "Could not find INI section.";
const char kNoOutputStream[] = "Failed to open the output stream";
const char kNoSectionArray[] = "Failed to retrieve the collection of IniSection objects.";
const char kSectionCountMismatch[] =
    "The number of IniSection interfaces returned does not match the number requested.";
const char kNoLineArray[] = "Failed to retrieve the collection of INI section lines.";
const char kLineCountMismatch[] =
    "The number of INI section lines returned does not match the number requested.";
const char kNullLine[] = "The array of INI sections contains null pointers.";

const char kSectionNameForbidden[] = "=[];\t";
const char kKeyForbidden[] = "[];\t";

[[noreturn]] void Raise(int32_t category, uint32_t code, std::string message) {
    throw new CZbIniFileException(category, code, std::move(message));
}

// An enumerator released when the scope ends.
template <typename Item> struct EnumeratorHolder {
    IniEnumerator<Item>* enumerator;
    ~EnumeratorHolder() {
        if (enumerator) enumerator->Release();
    }
};

// Reads one line of any length with the stream's capacity protocol; false at the end of the file.
bool ReadWholeLine(CTCharStream& stream, std::vector<char>& large, std::string& line,
                   const std::string& fileName) {
    char buffer[kFirstReadCapacity];
    int32_t length = kFirstReadCapacity;
    if (stream.ReadLine(buffer, &length)) {
        if (length < 0) return false;
        line.assign(buffer, static_cast<std::size_t>(length));
        return true;
    }
    if (length <= 0)
        Raise(kContentError, GetLastSystemError(), "Failed to read line from file:" + fileName);
    const int32_t needed = length + 1;
    large.resize(static_cast<std::size_t>(needed));
    length = needed;
    if (!stream.ReadLine(large.data(), &length) || length < 0)
        Raise(kContentError, GetLastSystemError(), "Failed to read line from file:" + fileName);
    line.assign(large.data(), static_cast<std::size_t>(length));
    return true;
}

// The text a line is written as: "key=text" or the text alone (each up to its first NUL).
void FormatLine(const IniLine& line, std::string& out) {
    const char* key = line.Key().c_str();
    out.clear();
    if (*key) {
        out.append(key);
        out.push_back('=');
    }
    out.append(line.Text().c_str());
}

void WriteOrRaise(CTCharStream& stream, const std::string& text, const std::string& fileName) {
    // A lost line would leave a damaged file behind a successful Save.
    if (!stream.WriteLine(text.c_str()))
        Raise(kInternalError, GetLastSystemError(), "Failed to write line to file:" + fileName);
}

constexpr int kAllHeaders = -1;

// Writes a section's lines that came under header `headerNumber` (or all of them), in list order.
void WriteLines(CTCharStream& stream, IniSection* section, int headerNumber,
                const std::string& fileName, int& lineCounter) {
    IniLineCollection* lines = nullptr;
    if (!section->GetLines(&lines) || !lines) return;
    int first = 0, last = lines->Count();
    if (headerNumber != kAllHeaders) lines->HeaderRange(headerNumber, first, last);
    const int count = last - first;
    if (count <= 0) return;

    const std::size_t lineCount = static_cast<std::size_t>(count);
    std::unique_ptr<IniLine*[]> array(new (std::nothrow) IniLine*[lineCount]);
    if (!array) Raise(kInternalError, kInvalidData, kNoLineArray);
    EnumeratorHolder<IniLine> holder{lines->NewEnumerator()};
    holder.enumerator->Skip(first);
    std::size_t taken = 0;
    while (taken < lineCount && holder.enumerator->Next(&array[taken])) {
        if (!array[taken]) Raise(kInternalError, kInvalidData, kNullLine);
        ++taken;
    }
    if (taken < lineCount) Raise(kInternalError, kInvalidData, kLineCountMismatch);

    std::string text;
    for (std::size_t i = 0; i < lineCount; ++i) {
        FormatLine(*array[i], text);
        WriteOrRaise(stream, text, fileName);
        ++lineCounter;
    }
}
} // namespace

CIniFile::CIniFile() : codePage_(kAnsiCodePage) {}

CIniFile::~CIniFile() {
    RemoveAllSections();
    delete sections_;
}

bool CIniFile::CreateSectionCollection(IniSectionCollection** collection) {
    if (!collection) return false;
    if (sections_) {
        RemoveAllSections();
        delete sections_;
    }
    sections_ = NewSectionCollection();
    *collection = sections_;
    return true;
}

IniSectionCollection* CIniFile::NewSectionCollection() {
    return new (std::nothrow) IniSectionCollection();
}

void CIniFile::Open(const std::string& path) {
    fileName_ = path;
    try {
        Load();
    } catch (...) {
        fileName_.clear();
        throw;
    }
}

void CIniFile::Load() {
    RemoveAllSections();
    unicode_ = false;
    if (fileName_.empty()) Raise(kInternalError, kInvalidName, kNoFileName);

    CTCharStream stream;
    if (!stream.OpenStream(fileName_.c_str(), CTCharStream::kModeRead))
        Raise(kContentError, GetLastSystemError(),
              "Call to CTCharStream::OpenStream( " + fileName_ + " ) failed.");
    unicode_ = stream.GetEncoding() == CTCharStream::kEncodingUtf16;

    std::string current = kUnnamedSectionName;
    AddSection(current);
    int32_t processed = 0;
    std::string line;
    std::vector<char> large;
    try {
        for (;;) {
            line.clear();
            if (!ReadWholeLine(stream, large, line, fileName_)) break;
            ParseLine(line, current);
            ++processed;
        }
    } catch (CZbIniFileException* e) {
        e->FileName = fileName_;
        e->SectionName = current;
        e->LineText = line;
        e->LineNumber = processed;
        e->Reserved = 0;
        stream.Close();
        RemoveAllSections();
        throw;
    } catch (...) {
        stream.Close();
        RemoveAllSections();
        throw;
    }
    stream.Close();
}

void CIniFile::Save() {
    if (fileName_.empty()) Raise(kContentError, kInvalidName, kNoFileName);

    CTCharStream stream;
    if (!stream.OpenStream(fileName_.c_str(),
                           unicode_ ? CTCharStream::kModeWriteUtf16 : CTCharStream::kModeWriteAnsi))
        Raise(kInternalError, GetLastSystemError(), kNoOutputStream);

    int lineCounter = 0;
    std::string header;
    try {
        const int sectionCount = SectionCount();
        const std::size_t count = sectionCount > 0 ? static_cast<std::size_t>(sectionCount) : 0;
        std::unique_ptr<IniSection*[]> sections(new (std::nothrow)
                                                    IniSection*[count > 0 ? count : 1]);
        if (!sections) Raise(kInternalError, kInvalidData, kNoSectionArray);
        std::size_t taken = 0;
        if (sections_) {
            EnumeratorHolder<IniSection> holder{sections_->NewEnumerator()};
            while (taken < count && holder.enumerator->Next(&sections[taken]))
                ++taken;
        }
        if (taken < count) Raise(kInternalError, kInvalidData, kSectionCountMismatch);

        for (std::size_t i = 0; i < count; ++i) {
            IniSection* section = sections[i];
            if (!section) Raise(kInternalError, kInvalidData, kNullLine);
            std::string name;
            section->GetName(name);
            // The lines before the first header have no header; a repeated header of that name
            // was written in the file and goes back.
            if (name != kUnnamedSectionName || section->FirstOfName()) {
                // "[]" would not load again: an empty name keeps one blank inside its brackets.
                // A name ending in a lone lead byte would take the "]" as its second byte.
                const bool padded = name.empty() || EndsWithLoneLeadByte(name, ParsingCodePage());
                header = "[" + name + (padded ? " ]" : "]");
                WriteOrRaise(stream, header, fileName_);
                ++lineCounter;
            }
            WriteSection(stream, section, lineCounter);
        }
        if (!stream.Close())
            Raise(kInternalError, GetLastSystemError(),
                  "Failed to write line to file:" + fileName_);
    } catch (CZbIniFileException* e) {
        e->FileName = fileName_;
        e->SectionName.clear();
        e->LineText = header;
        e->LineNumber = lineCounter;
        e->Reserved = 0;
        stream.Close();
        throw;
    } catch (...) {
        stream.Close();
        throw;
    }
}

void CIniFile::WriteSection(CTCharStream& stream, IniSection* section, int& lineCounter) {
    if (!section) return;
    // A repeated header writes the lines that came under it (kept in its first section's list),
    // then any lines added to it directly.
    if (IniSection* first = section->FirstOfName())
        WriteLines(stream, first, section->HeaderNumber(), fileName_, lineCounter);
    WriteLines(stream, section, section->FirstOfName() ? kAllHeaders : 0, fileName_, lineCounter);
}

bool CIniFile::FindSection(const std::string& name, IniSection** section) const {
    if (!section || !sections_) return false;
    IniSection* found = sections_->Find(name);
    if (!found) return false;
    *section = found;
    return true;
}

void CIniFile::AddSection(const std::string& name) {
    if (!sections_) return;
    IniSection* section = sections_->CreateItem();
    if (!section) return;
    section->SetName(name);
    IniSection* first = sections_->Find(name);
    if (first) first->AttachRepeat(section);
    sections_->Append(section, first ? nullptr : &name);
    section->Release();
}

void CIniFile::RemoveAllSections() {
    if (sections_) sections_->RemoveAll();
}

int CIniFile::SectionCount() const {
    return sections_ ? sections_->Count() : 0;
}

IniSection* CIniFile::SectionAt(int index) const {
    return sections_ ? sections_->At(index) : nullptr;
}

IniSection* CIniFile::CurrentSection(const std::string& name) const {
    IniSection* section = nullptr;
    if (!FindSection(name, &section)) Raise(kContentError, kInvalidName, kNoSection);
    return section;
}

unsigned CIniFile::ParsingCodePage() const {
    return unicode_ ? kSingleByteCodePage : codePage_;
}

void CIniFile::ParseLine(const std::string& line, std::string& currentSection) {
    const unsigned codePage = ParsingCodePage();
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;

    if (start < line.size() && line[start] == '[') {
        const std::size_t close = FindCharacter(line, "]", codePage, start);
        if (close == std::string::npos || close - start <= 1)
            Raise(kContentError, kInvalidData, kBadHeader);
        std::string name = TrimBlanks(line.substr(start + 1, close - start - 1));
        if (FindCharacter(name, kSectionNameForbidden, codePage) != std::string::npos)
            Raise(kContentError, kInvalidData, kBadSectionName);
        currentSection = name;
        AddSection(name);
        return;
    }
    if (start < line.size() && line[start] == ';') {
        CurrentSection(currentSection)->AddLine(line);
        return;
    }
    const std::size_t equals = FindCharacter(line, "=", codePage);
    if (equals == std::string::npos || equals == 0) {
        CurrentSection(currentSection)->AddLine(line);
        return;
    }
    std::string key = line.substr(0, equals);
    if (FindCharacter(TrimBlanks(key), kKeyForbidden, codePage) != std::string::npos)
        Raise(kContentError, kInvalidData, kBadKeyName);
    CurrentSection(currentSection)->AddKeyValue(key, line.substr(equals + 1));
}
