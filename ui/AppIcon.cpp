#include "AppIcon.h"

// Outside any namespace: the macro declares the resource's initialiser where it is used.
static void LoadIconResources() { Q_INIT_RESOURCE(icons); }

QIcon AppIcon() {
    static const QIcon icon = [] {
        LoadIconResources();
        QIcon result;
        // The window system receives every size at start; the larger ones serve only the desktop's own icon
        // theme, which installs them.
        for (int size : {16, 32, 48, 64, 128})
            result.addFile(QStringLiteral(":/icons/nudgepost-%1.png").arg(size), QSize(size, size));
        return result;
    }();
    return icon;
}
