#include "ApplicationBus.h"

QString ApplicationBus::ObjectPathFor(const QString& busName) {
    QString path = QLatin1Char('/') + busName;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    return path;
}

void ApplicationBus::Activate(const QVariantMap& platformData) {
    // The start-up token a launcher may hand over is of no use here: raising the window is all there is to do.
    Q_UNUSED(platformData);
    emit activated();
}
