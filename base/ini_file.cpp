#include "base/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

#include "base/ascii.h"
#include "base/atomic_file.h"

namespace orvo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}


IniLine ParseLine(std::string_view line) {
  IniLine parsed;
  if (line.front() == ';') {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    parsed.kind = IniLine::Kind::Comment;
    parsed.name = line;
  } else if (line.front() == '[') {
    line.remove_prefix(1);
    parsed.kind = IniLine::Kind::Group;
    parsed.name = line.substr(0, line.find(']'));
  } else {
    // A line without "=" is a key with an empty value; it must not reach
    // into the next line.
    const auto equals = line.find('=');
    parsed.kind = IniLine::Kind::Entry;
    parsed.name = TrimRight(line.substr(0, equals));
    if (equals != std::string_view::npos) parsed.value = TrimLeft(line.substr(equals + 1));
  }
  return parsed;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot
// start one.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The range the byte after a lead byte may take (excluding overlong forms,
// surrogates and code points past U+10FFFF).
bool SecondByteFits(unsigned char lead, unsigned char second) {
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  return second >= low && second <= high;
}

// Text of a UTF-8 file as ISO-8859-1; nothing when it holds an invalid
// sequence or a character the 8-bit texts cannot hold. A sequence cut off
// by the end of the text is dropped.
std::optional<std::string> Utf8ToLatin1(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = SequenceLength(lead);
    if (length == 0) return std::nullopt;
    for (size_t k = 1; k < length; ++k) {
      if (i + k == text.size()) return out;  // cut off at the end
      const auto next = static_cast<unsigned char>(text[i + k]);
      const bool fits = k == 1 ? SecondByteFits(lead, next) : (next & 0xC0) == 0x80;
      if (!fits) return std::nullopt;
    }
    if (length == 1) {
      out += text[i];
    } else if (length == 2 && lead <= 0xC3) {
      out += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
    } else {
      return std::nullopt;  // above U+00FF
    }
    i += length;
  }
  return out;
}

enum class Access { Unopened, ReadWrite, ReadOnly, Created, CreateFailed };

}  // namespace

struct IniFile::State {
  std::string path;
  Access access = Access::Unopened;
  bool modified = false;
  bool utf8 = false;
  std::vector<IniLine> lines;
  // The addressed section: the top level, the group whose header stands at
  // `group`, or a pending group that lookups cannot find anything in.
  bool inGroup = false;
  size_t group = 0;
  std::optional<std::string> pending;

  std::string encode(const std::string& text) const { return utf8 ? Latin1ToUtf8(text) : text; }

  // [begin, end) of the lines of the addressed section.
  std::pair<size_t, size_t> section() const {
    const size_t begin = inGroup ? group + 1 : 0;
    size_t end = begin;
    while (end < lines.size() && lines[end].kind != IniLine::Kind::Group) ++end;
    return {begin, end};
  }

  // Position of the first entry of the addressed section with this key.
  std::optional<size_t> find(const std::string& key) const {
    if (pending) return std::nullopt;
    const std::string wanted = encode(key);
    const auto [begin, end] = section();
    for (size_t i = begin; i < end; ++i) {
      if (lines[i].kind == IniLine::Kind::Entry && EqualsIgnoringAsciiCase(lines[i].name, wanted)) {
        return i;
      }
    }
    return std::nullopt;
  }

  const IniLine* entry(const std::string& key) const {
    const auto i = find(key);
    return i ? &lines[*i] : nullptr;
  }

  void write(const std::string& key, const std::string& value) {
    if (access == Access::CreateFailed) return;
    if (pending) {
      lines.push_back(IniLine{IniLine::Kind::Group, *pending, {}});
      inGroup = true;
      group = lines.size() - 1;
      pending.reset();
    }
    IniLine line{IniLine::Kind::Entry, encode(key), encode(value)};
    if (const auto found = find(key)) {
      lines[*found] = std::move(line);  // the key takes the spelling just written
    } else {
      // Inserting at the end of the addressed section keeps `group` valid.
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(section().second), std::move(line));
    }
    modified = true;
  }
};

std::vector<IniLine> ParseIni(std::string_view text) {
  std::vector<IniLine> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    if (IsLineEnd(text[pos])) {
      ++pos;
      continue;
    }
    size_t end = pos;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    // A line of only blanks produces nothing, also as an unterminated last line.
    const std::string_view line = TrimLeft(text.substr(pos, end - pos));
    if (!line.empty()) lines.push_back(ParseLine(line));
    pos = end;
  }
  return lines;
}

std::string FormatIni(const std::vector<IniLine>& lines, bool utf8) {
  std::string out;
  if (utf8) {
    out += kByteOrderMark;
    out += '\n';
  }
  for (const IniLine& line : lines) {
    switch (line.kind) {
      case IniLine::Kind::Group:
        out += '[' + line.name + ']';
        break;
      case IniLine::Kind::Comment:
        out += "; " + line.name;
        break;
      case IniLine::Kind::Entry:
        out += line.name + " = " + line.value;
        break;
    }
    out += '\n';
  }
  return out;
}

int32_t ParseLeadingInteger(std::string_view text) {
  text = TrimLeft(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Saturate instead of overflowing on an absurdly long number.
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  int64_t magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    magnitude = std::min<int64_t>(magnitude * 10 + (c - '0'), kLimit);
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min<int64_t>(magnitude, INT32_MAX));
}

IniFile::IniFile() = default;
IniFile::~IniFile() { (void)close(); }

bool IniFile::open(const std::string& path) {
  (void)close();
  state_ = std::make_unique<State>();
  state_->path = path;
  bool writable = false;
  const std::optional<std::string> content = ReadRegularFile(path, &writable);
  if (!content) return false;
  state_->access = writable ? Access::ReadWrite : Access::ReadOnly;
  std::string_view text = *content;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    state_->utf8 = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  try {
    state_->lines = ParseIni(text);
  } catch (const std::bad_alloc&) {
    // More lines than memory takes (the read is bounded, a line is not):
    // read like an unreadable file, and never written back, which would
    // keep only what this run writes.
    state_->lines.clear();
    state_->access = Access::ReadOnly;
    return false;
  }
  return true;
}

bool IniFile::create(const std::string& path) {
  (void)close();
  state_ = std::make_unique<State>();
  state_->path = path;
  // Nothing is written before close, so a crash keeps the old file; but a
  // file that could not be created is refused now, as the caller expects.
  state_->access = CanCreateFile(path) ? Access::Created : Access::CreateFailed;
  return state_->access == Access::Created;
}

bool IniFile::selectGroup(const std::string& name) {
  if (!state_) return false;
  State& s = *state_;
  s.pending.reset();
  s.inGroup = false;
  if (name.empty()) return true;
  const std::string wanted = s.encode(name);
  for (size_t i = 0; i < s.lines.size(); ++i) {
    if (s.lines[i].kind == IniLine::Kind::Group && EqualsIgnoringAsciiCase(s.lines[i].name, wanted)) {
      s.inGroup = true;
      s.group = i;
      return true;
    }
  }
  s.pending = wanted;
  return false;
}

int32_t IniFile::readInteger(const std::string& key, int32_t defaultValue) const {
  const IniLine* entry = state_ ? state_->entry(key) : nullptr;
  return entry ? ParseLeadingInteger(entry->value) : defaultValue;
}

std::string IniFile::readString(const std::string& key, const std::string& defaultValue) const {
  const IniLine* entry = state_ ? state_->entry(key) : nullptr;
  if (!entry) return defaultValue;
  const std::string_view value = TrimRight(TrimLeft(entry->value));
  if (!state_->utf8) return std::string(value);
  return Utf8ToLatin1(value).value_or(std::string());
}

void IniFile::writeInteger(const std::string& key, int32_t value) {
  writeString(key, std::to_string(value));
}

void IniFile::writeString(const std::string& key, const std::string& value) {
  if (state_) state_->write(key, value);
}

bool IniFile::close() {
  if (!state_) return true;
  const std::unique_ptr<State> s = std::move(state_);
  // A created file is made even without writes, as an emptied one.
  if (!s->modified && s->access != Access::Created) return true;
  const std::string content = FormatIni(s->lines, s->utf8);
  switch (s->access) {
    case Access::ReadWrite:
      return ReplaceFileAtomically(s->path, content);
    case Access::Unopened: {
      // One more try on a file that could not be opened: it may have become
      // readable and writable since, but a missing file is never created here.
      bool writable = false;
      return ReadRegularFile(s->path, &writable) && writable &&
             ReplaceFileAtomically(s->path, content);
    }
    case Access::Created:
      return WriteFileAtomically(s->path, content);
    case Access::ReadOnly:
    case Access::CreateFailed:
      break;
  }
  return false;
}

}  // namespace orvo
