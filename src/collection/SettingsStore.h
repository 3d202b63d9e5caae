#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace Orbisong {

// A registry-like store: keys (sections) below one root key, each holding named values of
// string, integer or binary type. Key and value names are case-insensitive and keep the
// spelling they were first written with. Integers are stored as decimal text.
class SettingsStore
{
public:
    // The store in `file` under the root key path `rootKey` ("Software/.../CurrentVersion").
    SettingsStore(const QString &file, const QString &rootKey);
    ~SettingsStore();

    static QString defaultRootKey();
    static QString previousVersionRootKey();

    bool valueExists(const QString &key, const QString &name) const;
    QString readString(const QString &key, const QString &name, const QString &fallback) const;
    // Accepts decimal text and "0x"/"0X" hexadecimal; anything else gives `fallback`.
    int readInteger(const QString &key, const QString &name, int fallback) const;
    // The stored bytes, or an empty array when the value is missing or not binary.
    QByteArray readBinary(const QString &key, const QString &name) const;

    void writeString(const QString &key, const QString &name, const QString &value);
    void writeInteger(const QString &key, const QString &name, int value);
    void writeBinary(const QString &key, const QString &name, const QByteArray &value);

    void deleteValue(const QString &key, const QString &name);
    // Removes the key with all its values and subkeys.
    void deleteKey(const QString &key);
    bool keyExists(const QString &key) const;
    QStringList valueNames(const QString &key) const;
    QStringList subkeyNames(const QString &key) const;

    // Writes pending changes to disk; false when the file could not be written.
    bool sync();

private:
    QString groupFor(const QString &key) const;
    QString existingName(const QString &group, const QString &name) const;
    QString existingKey(const QString &key) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_root;
};

// Reads an integer the way the store does: decimal or "0x" hexadecimal text.
bool parseStoredInteger(const QString &text, int *value);

} // namespace Orbisong
