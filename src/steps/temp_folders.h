// Temporary copies of the launcher folder: a fresh folder with a random name, a recursive copy and
// a recursive delete. Folder paths end with a backslash and are at most 259 bytes.
#pragma once
#include <cstdint>
#include <string>

// Creates a new folder "<user temp folder>KOBRxxxx\" (xxxx four hex digits, never FFFF, drawn from
// the system's random source). A name that already exists, as folder, file or link, is never used:
// another name is tried, up to 99 in all. On the NT family the folder gets a protected DACL of its
// own (SYSTEM, Administrators and the user running setup; passed on to what is made inside). False
// when no folder was created.
bool CreateTempFolder(std::string& folder);

// The same inside `parent` (ending with a backslash), with the name sequence given by `seed`.
bool CreateTempFolderIn(const char* parent, uint32_t seed, std::string& folder);

// The candidate numbers in the order CreateTempFolderIn tries them (0 to 0xFFFE).
class TempFolderNumbers {
  public:
    explicit TempFolderNumbers(uint32_t seed) : state_(seed) {}
    // Numbers nobody can foresee: the system's RtlGenRandom where it has one (NT from XP on), the
    // sequence seeded with the time elsewhere.
    static TempFolderNumbers Unpredictable();
    unsigned Next();

  private:
    uint32_t state_;
    bool random_ = false;
};

// Copies every file and folder below `source` into the existing `destination` (folders whose name
// starts with ".", and folder links and junctions, are skipped); an existing destination file is
// not overwritten. False when
// anything could not be copied, a folder could not be read or a path passes 259 bytes; what was
// copied stays.
bool CopyFolderFiles(const char* source, const char* destination);

// Deletes everything below `folder` (not the folder itself), clearing read-only, hidden and system
// attributes first; what cannot be deleted is scheduled for deletion at restart, if it lies plainly
// inside `folder`. Folders whose name starts with "." are left alone. On the NT family every entry
// is opened itself and held while it is emptied and deleted: a link or junction is deleted, never
// followed, and never scheduled; one that cannot be opened itself (Wine) is left in place.
void DeleteFolderTree(const char* folder);
