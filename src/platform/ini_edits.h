// Look-ups in an INI file's bytes, and edits of them that change only the lines they concern.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlin::ini {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// Whether the text has a section of the name, wherever it stands.
bool HasSection(std::string_view text, std::string_view section);

// The trimmed value of `key` in the first section of the name; nothing when either is missing.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key);

// `key` of the first section of the name set to `value`: in place over an existing value, as a
// new line after the section's last key, or as a new section at the end.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

// Every section of the name gone, so that none of its keys can be read afterwards; lines in it
// that are not keys (comments, blank lines) stay where they are.
std::string WithoutSection(std::string_view text, std::string_view section);

// The lines of `key` in the sections of the name gone.
std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key);

// The section holding exactly `keys`, in order: the key lines of the sections of the name are
// replaced by them under the first one's header (later headers of the name go), or the section
// is appended. Comments and blank lines stay.
std::string WithSectionKeys(std::string_view text, std::string_view section, const KeyValues& keys);

}  // namespace quorlin::ini
