#include "SettingsProfileStore.h"

#include "IntParse.h"

#include <QStringList>
#include <cstdint>
#include <QVariant>

namespace {
QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

// An INI value with unquoted commas comes back as a list; a hand-edited text must not vanish because of them.
QString AsText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}
} // namespace

SettingsProfileStore::SettingsProfileStore(const QString& organization, const QString& application)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, organization, application) {}

SettingsProfileStore::SettingsProfileStore(const QString& iniFile) : m_settings(iniFile, QSettings::IniFormat) {}

int SettingsProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return nDefault;
    // The registry hands back a DWORD; an INI file hands back text, which must be a whole 32-bit number.
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt ||
        value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::ULongLong) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= INT32_MIN && number <= INT32_MAX)
            return static_cast<int>(number);
        if (ok && value.typeId() == QMetaType::UInt)
            return static_cast<int>(static_cast<quint32>(number));
        return nDefault;
    }
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        return nDefault;
    return ParseStoredInt(value.toString().toStdString()).value_or(nDefault);
}

std::string SettingsProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                                   const std::string& defaultValue) {
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return defaultValue;
    return AsText(value).toStdString();
}

bool SettingsProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    m_settings.setValue(Key(section, entry), nValue);
    return m_settings.status() != QSettings::AccessError;
}

bool SettingsProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                              const std::string& value) {
    m_settings.setValue(Key(section, entry), QString::fromStdString(value));
    return m_settings.status() != QSettings::AccessError;
}

bool SettingsProfileStore::Commit() {
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}
