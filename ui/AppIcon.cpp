#include "AppIcon.h"

// Outside any namespace: the macro declares the resource's initialiser where it is used.
static void LoadIconResources() { Q_INIT_RESOURCE(icons); }

QIcon AppIcon() {
    static const QIcon icon = [] {
        LoadIconResources();
        QIcon result;
        for (int size : {16, 32, 48, 64, 128, 256})
            result.addFile(QStringLiteral(":/icons/nudgepost-%1.png").arg(size), QSize(size, size));
        return result;
    }();
    return icon;
}
