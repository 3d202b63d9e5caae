#include "ZipCipher.h"

#include <zlib.h>

namespace Orbisong {

namespace {

uint32_t crcStep(uint32_t crc, uint8_t byte)
{
    static const z_crc_t *const table = get_crc_table();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

ZipCipher::ZipCipher(const QByteArray &password) : m_keys{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (const char c : password)
        update(static_cast<uint8_t>(c));
}

uint8_t ZipCipher::keyStream() const
{
    const uint32_t temp = (m_keys[2] | 2u) & 0xFFFFu;
    return static_cast<uint8_t>(((temp * (temp ^ 1u)) >> 8) & 0xFFu);
}

void ZipCipher::update(uint8_t plainByte)
{
    m_keys[0] = crcStep(m_keys[0], plainByte);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFFu)) * 134775813u + 1u;
    m_keys[2] = crcStep(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
}

uint8_t ZipCipher::decrypt(uint8_t cipherByte)
{
    const uint8_t plain = cipherByte ^ keyStream();
    update(plain);
    return plain;
}

uint8_t ZipCipher::encrypt(uint8_t plainByte)
{
    const uint8_t cipher = plainByte ^ keyStream();
    update(plainByte);
    return cipher;
}

void ZipCipher::decrypt(uint8_t *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = decrypt(data[i]);
}

} // namespace Orbisong
