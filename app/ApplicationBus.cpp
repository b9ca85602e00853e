#include "ApplicationBus.h"

#include "StartupNotification.h"

QString ApplicationBus::ObjectPathFor(const QString& busName) {
    QString path = QLatin1Char('/') + busName;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    return path;
}

void ApplicationBus::Activate(const QVariantMap& platformData) {
    const QVariant id = platformData.value(QString::fromLatin1(kStartupIdKey));
    const bool usable = id.typeId() == QMetaType::QString && StartupNotification::IsUsableId(id.toString());
    emit activated(usable ? id.toString() : QString());
}
