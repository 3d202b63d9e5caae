#include "collection/SettingsStore.h"

#include <QSettings>

namespace Orbisong {

namespace {
const QLatin1Char Separator('/');
}

SettingsStore::SettingsStore(const QString &file, const QString &rootKey)
    : m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat))
    , m_root(rootKey)
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultRootKey()
{
    return QStringLiteral("Software/Varnholt Systems/Orbisong/CurrentVersion");
}

QString SettingsStore::previousVersionRootKey()
{
    return QStringLiteral("Software/Varnholt Systems/Orbisong/3.0");
}

bool parseStoredInteger(const QString &text, int *value)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qlonglong number = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = trimmed.mid(2).toLongLong(&ok, 16);
    else
        number = trimmed.toLongLong(&ok, 10);
    if (!ok || number < -2147483648LL || number > 4294967295LL)
        return false;
    *value = static_cast<int>(static_cast<qint64>(number) & 0xFFFFFFFF);
    return true;
}

QString SettingsStore::existingKey(const QString &key) const
{
    // Walk the key path one level at a time, matching each level without regard to case.
    QString path = m_root;
    const QStringList parts =
        QString(key).replace(QLatin1Char('\\'), Separator).split(Separator, Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        m_settings->beginGroup(path);
        const QStringList groups = m_settings->childGroups();
        m_settings->endGroup();
        QString match = part;
        for (const QString &group : groups) {
            if (group.compare(part, Qt::CaseInsensitive) == 0) {
                match = group;
                break;
            }
        }
        path += Separator + match;
    }
    return path;
}

QString SettingsStore::groupFor(const QString &key) const
{
    return existingKey(key);
}

QString SettingsStore::existingName(const QString &group, const QString &name) const
{
    m_settings->beginGroup(group);
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return name;
}

bool SettingsStore::valueExists(const QString &key, const QString &name) const
{
    const QString group = groupFor(key);
    return m_settings->contains(group + Separator + existingName(group, name));
}

QString SettingsStore::readString(const QString &key, const QString &name,
                                  const QString &fallback) const
{
    const QString group = groupFor(key);
    const QVariant value = m_settings->value(group + Separator + existingName(group, name));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray)
        return fallback;
    return value.toString();
}

int SettingsStore::readInteger(const QString &key, const QString &name, int fallback) const
{
    const QString group = groupFor(key);
    const QVariant value = m_settings->value(group + Separator + existingName(group, name));
    int number = 0;
    if (!value.isValid() || !parseStoredInteger(value.toString(), &number))
        return fallback;
    return number;
}

QByteArray SettingsStore::readBinary(const QString &key, const QString &name) const
{
    const QString group = groupFor(key);
    const QVariant value = m_settings->value(group + Separator + existingName(group, name));
    if (value.typeId() != QMetaType::QByteArray)
        return {};
    return value.toByteArray();
}

void SettingsStore::writeString(const QString &key, const QString &name, const QString &value)
{
    const QString group = groupFor(key);
    m_settings->setValue(group + Separator + existingName(group, name), value);
}

void SettingsStore::writeInteger(const QString &key, const QString &name, int value)
{
    writeString(key, name, QString::number(value));
}

void SettingsStore::writeBinary(const QString &key, const QString &name, const QByteArray &value)
{
    const QString group = groupFor(key);
    m_settings->setValue(group + Separator + existingName(group, name), value);
}

void SettingsStore::deleteValue(const QString &key, const QString &name)
{
    const QString group = groupFor(key);
    m_settings->remove(group + Separator + existingName(group, name));
}

void SettingsStore::deleteKey(const QString &key)
{
    m_settings->remove(groupFor(key));
}

bool SettingsStore::keyExists(const QString &key) const
{
    m_settings->beginGroup(groupFor(key));
    const bool exists = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    return exists;
}

QStringList SettingsStore::valueNames(const QString &key) const
{
    m_settings->beginGroup(groupFor(key));
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

QStringList SettingsStore::subkeyNames(const QString &key) const
{
    m_settings->beginGroup(groupFor(key));
    const QStringList names = m_settings->childGroups();
    m_settings->endGroup();
    return names;
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace Orbisong
