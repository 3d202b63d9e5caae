#include "RegistryFile.h"

#include <QSettings>

namespace Orbisong {

namespace {

const QLatin1Char Separator('/');

QStringList keyParts(const QString &path)
{
    return QString(path).replace(QLatin1Char('\\'), Separator).split(Separator, Qt::SkipEmptyParts);
}

QString matching(const QStringList &candidates, const QString &name)
{
    for (const QString &candidate : candidates) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return name;
}

} // namespace

RegistryFile::RegistryFile(const QString &file, const QString &rootKey)
    : m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat)), m_root(rootKey)
{
}

RegistryFile::RegistryFile(RegistryFile &&) noexcept = default;

RegistryFile::~RegistryFile() = default;

QString RegistryFile::existingKey(const QString &key) const
{
    // Each level is looked up among the groups that exist at that depth, so a key typed in
    // another case lands on the one already stored instead of beside it.
    QString path;
    for (const QString &part : keyParts(m_root) + keyParts(key)) {
        m_settings->beginGroup(path);
        const QStringList groups = m_settings->childGroups();
        m_settings->endGroup();
        if (!path.isEmpty())
            path += Separator;
        path += matching(groups, part);
    }
    return path;
}

QString RegistryFile::existingValue(const QString &group, const QString &name) const
{
    m_settings->beginGroup(group);
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return group + Separator + matching(names, name);
}

QString RegistryFile::readString(const QString &key, const QString &name,
                                 const QString &fallback) const
{
    const QVariant value = m_settings->value(existingValue(existingKey(key), name));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray)
        return fallback;
    return value.toString();
}

void RegistryFile::writeString(const QString &key, const QString &name, const QString &value)
{
    m_settings->setValue(existingValue(existingKey(key), name), value);
}

void RegistryFile::deleteKey(const QString &key)
{
    m_settings->remove(existingKey(key));
}

bool RegistryFile::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace Orbisong
