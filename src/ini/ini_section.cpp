// Sections of an INI file: their lines, key lookup and edits, and the reference counting they
// share.
#include <new>

#include "ini/ini_collections.h"
#include "sys/next_token.h"

long IniRefCounted::AddRef() {
    return ++refs_;
}

long IniRefCounted::Release() {
    const long count = --refs_;
    if (count == 0) delete this;
    return count;
}

IniSection* IniSectionCollection::CreateItem() {
    auto* section = new (std::nothrow) IniSection();
    if (section) section->AddRef();
    return section;
}

IniLine* IniLineCollection::CreateItem() {
    auto* line = new (std::nothrow) IniLine();
    if (line) line->AddRef();
    return line;
}

void IniLineCollection::HeaderRange(int number, int& first, int& last) const {
    // Lines are appended under the latest header, so header numbers never decrease along the list.
    auto lowerBound = [this](int wanted) {
        int low = 0, high = Count();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (At(middle)->HeaderNumber() < wanted)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    };
    first = lowerBound(number);
    last = lowerBound(number + 1);
}

IniSection::IniSection() = default;

IniSection::~IniSection() {
    RemoveAll();
    delete lines_;
    if (firstOfName_) firstOfName_->Release();
}

void IniSection::GetName(std::string& name) const {
    name = name_;
}
void IniSection::SetName(const std::string& name) {
    name_ = name;
}

bool IniSection::GetLines(IniLineCollection** lines) {
    if (!lines) return false;
    *lines = Lines();
    return true;
}

bool IniSection::CreateLineCollection(IniLineCollection** lines) {
    if (!lines) return false;
    *lines = new (std::nothrow) IniLineCollection();
    return true;
}

IniLineCollection* IniSection::Lines() {
    if (!lines_) CreateLineCollection(&lines_);
    return lines_;
}

int IniSection::LineCount() const {
    return lines_ ? lines_->Count() : 0;
}

bool IniSection::GetValue(const std::string& key, std::string& value) const {
    if (!lines_) return false;
    const IniLine* line = lines_->Find(TrimBlanks(key));
    if (!line) return false;
    value = line->Text();
    return true;
}

bool IniSection::GetLine(int index, std::string& text) const {
    if (index < 0 || LineCount() == 0) return false;
    const IniLine* line = lines_->At(index == 0 ? 0 : index - 1);
    if (!line) return false;
    text = line->Text();
    return true;
}

void IniSection::AddKeyValue(const std::string& key, const std::string& value) {
    IniLineCollection* lines = Lines();
    if (!lines) return;
    IniLine* line = lines->CreateItem();
    if (!line) return;
    line->SetText(value);
    line->SetKey(key);
    line->SetHeaderNumber(lastHeader_);
    const std::string trimmed = TrimBlanks(key);
    lines->Append(line, &trimmed); // indexed only when the key is new: the first line wins
    line->Release();
}

void IniSection::AddLine(const std::string& text) {
    IniLineCollection* lines = Lines();
    if (!lines) return;
    IniLine* line = lines->CreateItem();
    if (!line) return;
    line->SetText(text);
    line->SetHeaderNumber(lastHeader_);
    lines->Append(line, nullptr);
    line->Release();
}

bool IniSection::RemoveKey(const std::string& key) {
    if (!lines_) return false;
    const int position = lines_->PositionOf(lines_->Find(key));
    if (position < 0) return false;
    return RemoveLine(position);
}

bool IniSection::RemoveLine(int index) {
    if (!lines_) return false;
    std::string indexedAs;
    bool wasIndexed = false;
    if (!lines_->RemoveAt(index, indexedAs, wasIndexed)) return false;
    if (wasIndexed) IndexNextWithKey(indexedAs, index);
    return true;
}

void IniSection::IndexNextWithKey(const std::string& trimmedKey, int from) {
    // Keeps lookups on "the first line with the key" once the indexed line is gone.
    for (int i = from; i < lines_->Count(); ++i) {
        const IniLine* line = lines_->At(i);
        if (!line->Key().empty() && TrimBlanks(line->Key()) == trimmedKey) {
            lines_->IndexAt(i, trimmedKey);
            return;
        }
    }
}

void IniSection::RemoveAll() {
    if (lines_) lines_->RemoveAll();
}

void IniSection::AttachRepeat(IniSection* repeat) {
    if (!repeat || repeat == this || repeat->firstOfName_) return;
    AddRef();
    repeat->firstOfName_ = this;
    repeat->headerNumber_ = ++lastHeader_;
}
