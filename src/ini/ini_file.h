// INI file model: every line kept (comments, blank lines, order) so that a file is written back
// unchanged apart from its edits, in the encoding it was read in. Failures raise
// CZbIniFileException as a pointer to a heap object; the handler that catches it owns it.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

class CTCharStream;
class IniSection;
class IniSectionCollection;
class IniLineCollection;

class CZbIniFileException {
  public:
    CZbIniFileException(int32_t category, uint32_t code, std::string message)
        : Category(category), Code(code), Message(std::move(message)) {}
    int32_t Category; // 4: content, opening or reading; 5: internal, or no file name on Load
    uint32_t Code;    // system error code: last error, 13 invalid data, 123 invalid name
    std::string Message;
    std::string FileName;
    std::string SectionName;
    std::string LineText;
    int32_t LineNumber = 0; // lines processed before the failure
    int32_t Reserved = 0;
};

extern const char* const kUnnamedSectionName; // "$$$unnamed$$$": lines before the first header

// Reference-counted base of sections, lines and enumerators (starts at 0; handed out after AddRef).
class IniRefCounted {
  public:
    IniRefCounted() = default;
    IniRefCounted(const IniRefCounted&) = delete;
    IniRefCounted& operator=(const IniRefCounted&) = delete;
    virtual ~IniRefCounted() = default;
    virtual long AddRef();  // the new count
    virtual long Release(); // the new count; destroys the object at 0

  private:
    std::atomic<long> refs_{0};
};

// Lines and sections hold text up to its first NUL when written: the file format has no NUL.
class IniSection : public IniRefCounted {
  public:
    IniSection();
    ~IniSection() override;
    virtual void GetName(std::string& name) const;
    virtual void SetName(const std::string& name);
    virtual bool GetLines(IniLineCollection** lines); // not counted; false for a null pointer
    // Value of the first line with this key (key trimmed, exact case); false when absent.
    virtual bool GetValue(const std::string& key, std::string& value) const;
    // Text of a line counted from 1 in list order (0 also gives the first); the value of a key
    // line, the whole line of a plain line. False for a negative index or past the end.
    virtual bool GetLine(int index, std::string& text) const;
    virtual void AddKeyValue(const std::string& key, const std::string& value);
    virtual void AddLine(const std::string& text);
    // Removes the line that GetValue finds for this exact (untrimmed) key; a later line with the
    // same key then becomes the one found.
    virtual bool RemoveKey(const std::string& key);
    virtual bool RemoveLine(int index); // counted from 0; false past the end
    virtual void RemoveAll();
    // A new, empty line collection for this section; false for a null pointer.
    virtual bool CreateLineCollection(IniLineCollection** lines);
    int LineCount() const;

    // A header repeating a name already present adds an empty section to the list, while the lines
    // under it go to the first section of that name (lookups see one list, in file order). Each
    // line remembers the header it came under so that saving writes it back in its place.
    IniSection* FirstOfName() const { return firstOfName_; } // null for the first of a name
    int HeaderNumber() const { return headerNumber_; }       // 0 first, then 1, 2, ...
    // Makes `repeat` the next repeated header of this section; later lines go under it. The repeat
    // holds a reference to this section, which thus outlives every repeat still held by someone.
    void AttachRepeat(IniSection* repeat);

  private:
    IniLineCollection* Lines(); // created on first use
    void IndexNextWithKey(const std::string& trimmedKey, int from);

    std::string name_;
    IniLineCollection* lines_ = nullptr;
    IniSection* firstOfName_ = nullptr;
    int headerNumber_ = 0;
    int lastHeader_ = 0;
};

class CIniFile {
  public:
    CIniFile();
    virtual ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Must be called right after construction; false only for a null out pointer. The collection
    // stays owned by this object (null when it could not be allocated).
    virtual bool CreateSectionCollection(IniSectionCollection** collection);
    void Open(const std::string& path); // sets the file name and loads; raises on failure
    void Load();
    void Save(); // in the encoding read; raises when any line cannot be written
    // Section by exact name, without a reference added; false when absent.
    bool FindSection(const std::string& name, IniSection** section) const;
    void AddSection(const std::string& name);
    void RemoveAllSections();
    virtual void ParseLine(const std::string& line, std::string& currentSection);
    // Writes the lines that belong under this section's header in the file.
    virtual void WriteSection(CTCharStream& stream, IniSection* section, int& lineCounter);

    const std::string& FileName() const { return fileName_; }
    bool IsUnicode() const { return unicode_; }
    // The code page an ANSI file is read in (default: the process's ANSI code page). In a double-
    // byte code page the parser steps over both bytes of a character, so a second byte 0x5B or
    // 0x5D is not a bracket; text narrowed from a UTF-16 file is single-byte.
    void SetCodePage(unsigned codePage) { codePage_ = codePage; }
    unsigned CodePage() const { return codePage_; }
    int SectionCount() const;
    IniSection* SectionAt(int index) const; // list order, from 0; null past the end

  protected:
    // The collection CreateSectionCollection installs (null when it cannot be allocated).
    virtual IniSectionCollection* NewSectionCollection();

  private:
    IniSection* CurrentSection(const std::string& name) const; // raises when missing

    unsigned ParsingCodePage() const;

    std::string fileName_;
    IniSectionCollection* sections_ = nullptr;
    bool unicode_ = false;
    unsigned codePage_;
};
