#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// What a running copy offers on the session bus: the desktop's usual way of asking an application to come to the
// front, org.freedesktop.Application's Activate. The program has no files to open and no actions, so Open and
// ActivateAction are not offered.
class ApplicationBus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    static constexpr const char* kInterface = "org.freedesktop.Application";

    using QObject::QObject;

    // The object path that goes with a bus name, as the desktop derives it: "/" and the name with "/" for ".".
    static QString ObjectPathFor(const QString& busName);

    // The key of the platform data under which a launcher's start-up id is handed over.
    static constexpr const char* kStartupIdKey = "desktop-startup-id";

public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

signals:
    // startupId: the start-up id handed over, if it is usable (see StartupNotification::IsUsableId); else empty.
    void activated(const QString& startupId);
};
