#include "marks/IcsReader.h"

#include <cctype>

namespace {

bool IsNameChar(char c)
{
  return isalnum(static_cast<unsigned char>(c)) || c == '-';
}

} // namespace

IcsReader::IcsReader(std::string_view text) : fText(text)
{
  // A byte order mark is no part of the first line.
  if (fText.substr(0, 3) == "\xEF\xBB\xBF")
    fAt = 3;
}

bool IcsReader::NextUnfolded(std::string* line)
{
  line->clear();
  if (fAt >= fText.size())
    return false;
  fLineNumber = fLinesRead + 1;
  for (;;) {
    fLinesRead++;
    size_t end = fText.find('\n', fAt);
    size_t next = end == std::string_view::npos ? fText.size() : end + 1;
    if (end == std::string_view::npos)
      end = fText.size();
    size_t stop = end;
    if (stop > fAt && fText[stop - 1] == '\r')
      stop--;
    line->append(fText.substr(fAt, stop - fAt));
    fAt = next;
    // A continuation line starts with one blank or tab, which is dropped.
    if (fAt < fText.size() && (fText[fAt] == ' ' || fText[fAt] == '\t'))
      fAt++;
    else
      return true;
  }
}

bool IcsReader::Split(const std::string& line, IcsLine* parsed)
{
  size_t at = 0;
  while (at < line.size() && IsNameChar(line[at]))
    at++;
  if (at == 0 || at == line.size() || (line[at] != ';' && line[at] != ':'))
    return false;
  parsed->name = UpperCase(std::string_view(line).substr(0, at));
  parsed->tzid.clear();
  parsed->valueType.clear();
  parsed->range.clear();

  while (line[at] == ';') {
    const size_t nameStart = ++at;
    while (at < line.size() && IsNameChar(line[at]))
      at++;
    if (at == nameStart || at == line.size() || line[at] != '=')
      return false;
    const std::string param = UpperCase(std::string_view(line).substr(nameStart, at - nameStart));
    // One or more values separated by commas, each quoted or plain; only
    // the first value of TZID and VALUE is kept.
    std::string first;
    bool isFirst = true;
    do {
      at++;
      std::string value;
      if (at < line.size() && line[at] == '"') {
        const size_t close = line.find('"', at + 1);
        if (close == std::string::npos)
          return false;
        value = line.substr(at + 1, close - at - 1);
        at = close + 1;
      } else {
        const size_t start = at;
        while (at < line.size() && line[at] != ';' && line[at] != ':' && line[at] != ',' && line[at] != '"')
          at++;
        value = line.substr(start, at - start);
      }
      if (isFirst)
        first = value;
      isFirst = false;
    } while (at < line.size() && line[at] == ',');
    if (at == line.size() || (line[at] != ';' && line[at] != ':'))
      return false;
    if (param == "TZID")
      parsed->tzid = first;
    else if (param == "VALUE")
      parsed->valueType = UpperCase(first);
    else if (param == "RANGE")
      parsed->range = UpperCase(first);
  }
  parsed->value = line.substr(at + 1);
  return true;
}

bool IcsReader::Next(IcsLine* line)
{
  while (NextUnfolded(&line->raw)) {
    bool blank = true;
    for (char c : line->raw)
      blank = blank && (c == ' ' || c == '\t');
    if (blank)
      continue;
    if (Split(line->raw, line))
      return true;
    fBadLines++;
  }
  return false;
}

std::string IcsReader::UnescapeText(std::string_view value)
{
  std::string text;
  text.reserve(value.size());
  for (size_t i = 0; i < value.size(); i++) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char next = value[i + 1];
      if (next == 'n' || next == 'N') {
        text += '\n';
        i++;
        continue;
      }
      if (next == '\\' || next == ';' || next == ',') {
        text += next;
        i++;
        continue;
      }
    }
    text += value[i];
  }
  return text;
}

std::string IcsReader::UpperCase(std::string_view text)
{
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}
