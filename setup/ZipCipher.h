#pragma once

#include <QByteArray>

#include <cstdint>

namespace Orbisong {

// The traditional PKWARE stream cipher of ZIP archives: three keys stirred by every plain
// byte. One object follows one entry from its 12-byte header to its last byte.
class ZipCipher
{
public:
    explicit ZipCipher(const QByteArray &password);

    uint8_t decrypt(uint8_t cipherByte);
    uint8_t encrypt(uint8_t plainByte);
    void decrypt(uint8_t *data, qsizetype size);

private:
    uint8_t keyStream() const;
    void update(uint8_t plainByte);

    uint32_t m_keys[3];
};

} // namespace Orbisong
