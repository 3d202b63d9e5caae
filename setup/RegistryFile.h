#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace Orbisong {

// Registry keys kept in an INI file whose groups are the key path below one root key, the
// layout QSettings gives "Root/Key/Subkey/Value". As in a registry, key and value names match
// without regard to case, and a name keeps the spelling it was first written with.
class RegistryFile
{
public:
    // `rootKey` is a path such as "HKEY_CLASSES_ROOT" or "Software/Maker/Product".
    RegistryFile(const QString &file, const QString &rootKey);
    RegistryFile(RegistryFile &&) noexcept;
    ~RegistryFile();

    // `key` is a path below the root, "/" or "\" separated. Gives `fallback` when the file,
    // the key or the value is missing, and when the value holds bytes rather than text.
    QString readString(const QString &key, const QString &name, const QString &fallback) const;
    void writeString(const QString &key, const QString &name, const QString &value);
    // Removes the key with all its values and subkeys.
    void deleteKey(const QString &key);

    // Writes pending changes to disk; false when the file could not be written.
    bool sync();

private:
    QString existingKey(const QString &key) const;
    QString existingValue(const QString &group, const QString &name) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_root;
};

} // namespace Orbisong
