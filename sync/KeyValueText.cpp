#include "sync/KeyValueText.h"

namespace {

std::string Trimmed(std::string_view text)
{
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return std::string();
  const size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::string OneLine(const std::string& text)
{
  std::string line = text;
  for (char& c : line) {
    if (c == '\n' || c == '\r')
      c = ' ';
  }
  return line;
}

} // namespace

std::string KeyValueSection::Value(const std::string& key) const
{
  for (const auto& [name, value] : entries) {
    if (name == key)
      return value;
  }
  return std::string();
}

std::vector<std::string> KeyValueSection::Values(const std::string& key) const
{
  std::vector<std::string> values;
  for (const auto& [name, value] : entries) {
    if (name == key)
      values.push_back(value);
  }
  return values;
}

bool KeyValueSection::Has(const std::string& key) const
{
  for (const auto& entry : entries) {
    if (entry.first == key)
      return true;
  }
  return false;
}

void KeyValueSection::Add(const std::string& key, const std::string& value)
{
  entries.emplace_back(OneLine(key), OneLine(value));
}

KeyValueText KeyValueText::Parse(std::string_view text)
{
  KeyValueText parsed;
  int number = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos)
      end = text.size();
    const std::string line = Trimmed(text.substr(at, end - at));
    at = end + 1;
    number++;
    if (line.empty() || line[0] == '#')
      continue;
    if (line[0] == '[' && line.back() == ']') {
      parsed.sections.push_back(KeyValueSection{Trimmed(std::string_view(line).substr(1, line.size() - 2)), {}});
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      parsed.badLines.push_back(number);
      continue;
    }
    if (parsed.sections.empty())
      parsed.sections.push_back(KeyValueSection());
    parsed.sections.back().entries.emplace_back(Trimmed(std::string_view(line).substr(0, equals)),
                                                Trimmed(std::string_view(line).substr(equals + 1)));
  }
  return parsed;
}

std::string KeyValueText::Format(const std::string& header) const
{
  std::string text;
  size_t at = 0;
  while (at < header.size()) {
    size_t end = header.find('\n', at);
    if (end == std::string::npos)
      end = header.size();
    text += "# " + header.substr(at, end - at) + "\n";
    at = end + 1;
  }
  for (const KeyValueSection& section : sections) {
    if (!text.empty())
      text += "\n";
    if (!section.name.empty() || &section != &sections.front())
      text += "[" + OneLine(section.name) + "]\n";
    for (const auto& [key, value] : section.entries)
      text += key + " = " + value + "\n";
  }
  return text;
}
