#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// One stored line of an INI-syntax file. Blank lines are not stored.
struct IniLine {
  enum class Kind { Group, Comment, Entry };
  Kind kind = Kind::Entry;
  std::string name;   // group name, comment text, or entry key
  std::string value;  // entry value (stored bytes, trailing blanks kept)

  bool operator==(const IniLine& other) const {
    return kind == other.kind && name == other.name && value == other.value;
  }
};

// Parses INI text (after any byte order mark has been removed) into lines.
std::vector<IniLine> ParseIni(std::string_view text);
// The normalised text that a write-back produces for `lines`.
std::string FormatIni(const std::vector<IniLine>& lines, bool utf8);

// Reader and rewriter of the small group/key = value files the player keeps
// (the preferences file and skin descriptions). Lookups and writes address
// the current section; keys and groups compare ignoring ASCII case. Texts
// are ISO-8859-1; a file that starts with a UTF-8 byte order mark is
// converted on the way in and out. The file is rewritten only by close()
// after a write, and then replaced as a whole, so that a crash or a full
// disk never leaves it half-written.
class IniFile {
 public:
  IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;
  // Closes the file (with its write-back).
  ~IniFile();

  // Reads the file, read-write when allowed. False when it cannot be read:
  // lookups then find nothing, writes stay in memory, and close writes only
  // if the file has meanwhile become readable and writable (never creates it).
  bool open(const std::string& path);
  // Starts an empty 8-bit file that close writes (even without writes),
  // replacing any old one. False when it could not be created; writes then
  // do nothing.
  bool create(const std::string& path);
  bool selectGroup(const std::string& name);
  int32_t readInteger(const std::string& key, int32_t defaultValue) const;
  std::string readString(const std::string& key, const std::string& defaultValue) const;
  void writeInteger(const std::string& key, int32_t value);
  void writeString(const std::string& key, const std::string& value);
  // Writes the file back when something was written. False only when a
  // needed write-back failed (the old file then stays intact).
  bool close();

  // Implementation state is private; see ini_file.cpp. Null while closed.
 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Base-10 conversion of the leading digits: blanks and one sign allowed,
// stops at the first non-digit, no digits gives 0.
int32_t ParseLeadingInteger(std::string_view text);

}  // namespace orvo
