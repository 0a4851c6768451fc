#include "PasswordGenerator.h"

#include <QtGlobal>

#include <sodium.h>

namespace generator {

const std::array<CharacterClass, 4>& characterClasses()
{
    static const std::array<CharacterClass, 4> classes{{
        {'u', "&Upper-case letters (A-Z)", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {'l', "&Lower-case letters (a-z)", "abcdefghijklmnopqrstuvwxyz"},
        {'d', "&Digits (0-9)", "0123456789"},
        {'s', "&Symbols (!#$%...)", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
    }};
    return classes;
}

QString alphabet(const QString& classLetters)
{
    QString characters;
    for (const CharacterClass& kind : characterClasses()) {
        if (classLetters.contains(QLatin1Char(kind.letter))) {
            characters += QLatin1String(kind.characters);
        }
    }
    return characters;
}

QString generate(int length, const QString& classLetters)
{
    const QString characters = alphabet(classLetters);
    QString password;
    if (characters.isEmpty()) {
        return password;
    }
    length = qBound(kMinLength, length, kMaxLength);
    password.reserve(length);
    for (int i = 0; i < length; ++i) {
        // Rejection sampling inside libsodium: no character is likelier than another.
        password +=
            characters.at(static_cast<qsizetype>(randombytes_uniform(static_cast<uint32_t>(characters.size()))));
    }
    return password;
}

} // namespace generator
