// Lines of a section and the ordered, name-indexed collections that hold sections and lines.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "ini/ini_file.h"

// One line of a section: a key line (key as written, untrimmed; text is the value) or a plain line
// (empty key; text is the whole line).
class IniLine : public IniRefCounted {
  public:
    virtual void GetKey(std::string& key) const { key = key_; }
    virtual void SetKey(const std::string& key) { key_ = key; }
    virtual void GetText(std::string& text) const { text = text_; }
    virtual void SetText(const std::string& text) { text_ = text; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    int HeaderNumber() const { return headerNumber_; } // see IniSection::AttachRepeat
    void SetHeaderNumber(int number) { headerNumber_ = number; }

  private:
    std::string key_;
    std::string text_;
    int headerNumber_ = 0;
};

template <typename Item> class IniItemCollection;

// Walks a collection in list order (items handed out without a reference).
template <typename Item> class IniEnumerator : public IniRefCounted {
  public:
    explicit IniEnumerator(const IniItemCollection<Item>* collection) : collection_(collection) {}
    // The next item; false at the end.
    virtual bool Next(Item** item) {
        if (!item || position_ >= collection_->Count()) return false;
        *item = collection_->At(position_++);
        return true;
    }
    void Skip(int count) { position_ += count; }

  private:
    const IniItemCollection<Item>* collection_;
    int position_ = 0;
};

// An ordered list in insertion order plus an index from name to item. The list holds one reference
// to each item and the index one to each indexed item. Names compare exactly, with letter case;
// lookups cost the same however many items there are.
template <typename Item> class IniItemCollection {
  public:
    IniItemCollection() = default;
    IniItemCollection(const IniItemCollection&) = delete;
    IniItemCollection& operator=(const IniItemCollection&) = delete;
    virtual ~IniItemCollection() { RemoveAll(); }

    // A new enumerator at the first item, with one reference held by the caller.
    virtual IniEnumerator<Item>* NewEnumerator() const {
        auto* enumerator = new IniEnumerator<Item>(this);
        enumerator->AddRef();
        return enumerator;
    }
    virtual void DeleteObject(IniRefCounted* object) { delete object; }
    // A new item with one reference held by the caller; null when it cannot be allocated.
    virtual Item* CreateItem() = 0;

    int Count() const { return static_cast<int>(entries_.size()); }
    // A checked position as an index into the entries.
    static std::size_t Slot(int position) { return static_cast<std::size_t>(position); }
    Item* At(int position) const {
        return position >= 0 && position < Count() ? entries_[Slot(position)].item : nullptr;
    }
    Item* Find(const std::string& name) const {
        auto found = index_.find(name);
        return found == index_.end() ? nullptr : found->second;
    }
    // Appends an item (adding the list's reference) and indexes it under `name` unless that name
    // is indexed already.
    void Append(Item* item, const std::string* name) {
        item->AddRef();
        entries_.push_back(Entry{item, nullptr});
        if (name) IndexAt(Count() - 1, *name);
    }
    // Indexes the item at `position` under `name`; false when the name is taken.
    bool IndexAt(int position, const std::string& name) {
        auto inserted = index_.emplace(name, entries_[Slot(position)].item);
        if (!inserted.second) return false;
        entries_[Slot(position)].item->AddRef();
        entries_[Slot(position)].indexedAs = &inserted.first->first;
        return true;
    }
    // Removes the item at `position` from the list and the index; `name` receives the name it was
    // indexed under (empty and false in `wasIndexed` when it was not).
    bool RemoveAt(int position, std::string& name, bool& wasIndexed) {
        wasIndexed = false;
        name.clear();
        if (position < 0 || position >= Count()) return false;
        Entry entry = entries_[Slot(position)];
        entries_.erase(entries_.begin() + position);
        if (entry.indexedAs) {
            wasIndexed = true;
            name = *entry.indexedAs;
            index_.erase(name);
            entry.item->Release();
        }
        entry.item->Release();
        return true;
    }
    // The position of an item in the list, or -1.
    int PositionOf(const Item* item) const {
        for (int i = 0; i < Count(); ++i)
            if (entries_[Slot(i)].item == item) return i;
        return -1;
    }
    void RemoveAll() {
        std::vector<Entry> entries;
        entries.swap(entries_);
        index_.clear();
        for (const Entry& entry : entries) {
            if (entry.indexedAs) entry.item->Release();
            entry.item->Release();
        }
    }

  private:
    struct Entry {
        Item* item;
        const std::string* indexedAs; // the key inside index_ (stable across rehashing), or null
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, Item*> index_;
};

class IniSectionCollection : public IniItemCollection<IniSection> {
  public:
    IniSection* CreateItem() override;
};

class IniLineCollection : public IniItemCollection<IniLine> {
  public:
    IniLine* CreateItem() override;
    // Positions [first, last) of the lines that came under header `number` (lines are kept in
    // header order).
    void HeaderRange(int number, int& first, int& last) const;
};
