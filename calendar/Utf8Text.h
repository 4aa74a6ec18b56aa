// Cutting UTF-8 text without splitting a character: labels and names come
// from dictionaries and other programs, and a cut must leave valid text.
//
//   FirstCharacters("M\xc3\xa4rz", 2);   // "M\xc3\xa4"
//   FirstBytes("M\xc3\xa4rz", 2);        // "M"
#pragma once

#include <string>

// The number of characters of the text.
size_t CharacterCount(const std::string& text);
// The first `count` characters of the text.
std::string FirstCharacters(const std::string& text, size_t count);
// At most `bytes` bytes of the text, cut before a partial character.
std::string FirstBytes(const std::string& text, size_t bytes);
