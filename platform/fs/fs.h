// The device's file system on this machine. Every file of both programs is
// named by a device path ("\Program Files\Tindrell\Bramble Hollow Saga\data.bar",
// "\temp\sound1.mid") and reached through this layer, which maps it into one
// host folder, the device root:
//   - '\' and '/' both separate components; empty and "." components vanish;
//   - each component matches an existing entry without regard to letter case
//     (ASCII and Latin-1 letters; an exact match wins), so the mixed-case
//     installed folders serve the game's lower-case paths; components that do
//     not exist yet are used as given;
//   - ".." components, drive or scheme prefixes ("c:", "file:"), NUL bytes,
//     host paths inside the root given as device paths and existing
//     components that are symbolic links are refused with a logged error:
//     nothing resolves outside the root.
// Device paths are UTF-8; a path that is not valid UTF-8 is read as Latin-1
// (the 8-bit form of the game's strings).
//
// The root is BRAMBLE_DEVICE_ROOT, else $XDG_DATA_HOME/bramble-hollow/device
// (~/.local/share/bramble-hollow/device). On first use the root, the
// application folder and "\temp" are created when missing.
//
// All functions are safe to call from any thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::fs {

// Device folders.
inline constexpr std::string_view kProgramFilesFolder = "\\Program Files";
inline constexpr std::string_view kAppFolder = "\\Program Files\\Tindrell\\Bramble Hollow Saga";
inline constexpr std::string_view kTempFolder = "\\temp";

// The host folder standing for the device's root (absolute, no trailing '/').
std::string deviceRoot();

// Reads the environment again and re-creates the standard folders (for tests
// that switch BRAMBLE_DEVICE_ROOT).
void reloadDeviceRoot();

// The host path of a device path, or nothing when the path is refused (logged).
// The result lies inside deviceRoot(). The root itself is "\" (or "").
std::optional<std::string> hostPath(std::string_view devicePath);

enum class OpenMode {
  Read,    // existing file, read only
  Write,   // create or truncate, read and write
  Update,  // existing file, read and write, position 0
  Append,  // create when missing, writes go to the end
};

enum class SeekFrom { Start, Current, End };

// An open file (buffered). Failures are reported, never hidden: a short write,
// a failing flush, sync or close answers false.
class File {
 public:
  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // A file that did not open answers isOpen() false. A missing file opened for
  // reading is not logged (asking is normal); other failures are.
  static File open(std::string_view devicePath, OpenMode mode);

  bool isOpen() const { return file_ != nullptr; }
  explicit operator bool() const { return isOpen(); }

  // Up to size bytes; 0 at the end of the file or on an error.
  size_t read(void* buffer, size_t size);
  // Writes all bytes or answers false.
  bool write(const void* data, size_t size);
  bool seek(int64_t offset, SeekFrom from);
  int64_t position();  // -1 on error
  int64_t size();      // current length including buffered writes, -1 on error
  bool flush();
  bool sync();         // flush, then force the data to the disk
  bool truncate(int64_t length);
  // Closes; false when buffered data could not be written. Closing a closed
  // file answers true.
  bool close();

  std::FILE* stdioHandle() { return file_; }

 private:
  explicit File(std::FILE* file) : file_(file) {}
  std::FILE* file_ = nullptr;
};

// Writes a file so that it is either wholly the old or wholly the new one, even
// if the process dies or the machine stops half-way: the data goes to a
// temporary file in the same folder, is flushed and synced, and renamed over
// the target; then the folder is synced. A failure leaves the old file as it
// was and removes the temporary file.
class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // discards unless committed

  bool begin(std::string_view devicePath);
  bool write(const void* data, size_t size);  // false (and stays failed) on error
  bool commit();                              // false when anything failed
  void discard();

 private:
  std::FILE* file_ = nullptr;
  std::string target_;
  std::string temp_;
  bool failed_ = false;
};

// Tests: while set, every write, flush and close of a file fails as on a
// full device (the files stay as they were before the failing call).
void setDeviceFullForTesting(bool full);

// Atomically replaces (or creates) a file with the given bytes.
bool replaceFile(std::string_view devicePath, const void* data, size_t size);

// Removes the temporary files that AtomicFile left beside files whose names
// begin with the last component of `devicePath` when their writer died
// before it could commit or discard them (a process that is gone). Answers
// how many were removed.
int removeStaleTemporaries(std::string_view devicePath);

bool exists(std::string_view devicePath);    // file or folder
bool isFolder(std::string_view devicePath);
int64_t fileSize(std::string_view devicePath);  // -1 when missing or not a file
// Removes a file or an empty folder; false when it is missing or cannot go.
bool remove(std::string_view devicePath);
// Renames within the device; replaces an existing file of the new name.
bool rename(std::string_view fromPath, std::string_view toPath);
bool truncate(std::string_view devicePath, int64_t length);
// Creates one folder (its parent must exist); true when it exists afterwards.
bool makeFolder(std::string_view devicePath);
// Creates a folder and every missing parent; true when it exists afterwards.
bool makeFolders(std::string_view devicePath);
// The names in a folder (no "." or ".."), sorted; nothing when it is no folder.
std::optional<std::vector<std::string>> listFolder(std::string_view devicePath);

// Letter-case folding used for matching (ASCII and Latin-1 letters), exposed
// for callers that match names the same way. Input and output are UTF-8.
std::string foldCase(std::string_view utf8);

}  // namespace platform::fs
