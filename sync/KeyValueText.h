// The plain text form of calendars.conf and of the sync state files:
// sections named in brackets, each with "key = value" lines.
//
//   # Orvella's calendar sources
//   [https://dav.example.org/]
//   kind = deDE
//   calendar = /alice/work/
//
//   KeyValueText text = KeyValueText::Parse(fileText);
//   for (const KeyValueSection& section : text.sections)
//     section.Value("kind");   // "deDE"
//
// Lines before the first section form a section without a name. Blank lines
// and lines starting with '#' are skipped; any other line without '=' is
// counted as bad. A key may stand several times in a section.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct KeyValueSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;

  // The first value of the key; empty when it is absent.
  std::string Value(const std::string& key) const;
  std::vector<std::string> Values(const std::string& key) const;
  bool Has(const std::string& key) const;
  // Appends an entry; line breaks in key and value become blanks, so no
  // value can start a line of its own.
  void Add(const std::string& key, const std::string& value);
};

struct KeyValueText {
  std::vector<KeyValueSection> sections;
  std::vector<int> badLines;  // numbers of the lines not understood, from 1

  static KeyValueText Parse(std::string_view text);
  // The text with `header` as comment lines first (each line gets "# ").
  std::string Format(const std::string& header) const;
};
