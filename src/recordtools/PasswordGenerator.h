#pragma once

#include <QString>

#include <array>

// New passwords drawn from the system's secure random source.
namespace generator {

constexpr int kMinLength = 8;
constexpr int kMaxLength = 128;

// A class of characters, chosen by its letter in the settings.
struct CharacterClass
{
    char letter;
    const char* caption; // the menu item
    const char* characters;
};
// Upper-case letters, lower-case letters, digits and symbols: every printable ASCII character
// but the blank, which a login form may trim.
const std::array<CharacterClass, 4>& characterClasses();
// The characters of the classes whose letters are given.
QString alphabet(const QString& classLetters);

// length characters (held to kMinLength..kMaxLength), each drawn on its own and uniformly from
// the alphabet of the classes with libsodium's unbiased bounded draw. Empty when no class is given.
QString generate(int length, const QString& classLetters);

} // namespace generator
