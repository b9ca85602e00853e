#include "AppIcon.h"

#include <QImageReader>
#include <QPixmap>

// Outside any namespace: the macro declares the resource's initialiser where it is used.
static void LoadIconResources() { Q_INIT_RESOURCE(icons); }

QIcon AppIcon() {
    static const QIcon icon = [] {
        LoadIconResources();
        QIcon result;
        // The window system receives every size at start, so only those of title bars and task bars are compiled
        // in; the larger ones serve the desktop's own icon theme, which installs them.
        for (int size : {16, 32, 48}) {
            // Named as PNG and read as PNG: a reader left to guess loads every image format plugin to ask it.
            QImageReader reader(QStringLiteral(":/icons/nudgepost-%1.png").arg(size), "png");
            reader.setAutoDetectImageFormat(false);
            result.addPixmap(QPixmap::fromImage(reader.read()));
        }
        return result;
    }();
    return icon;
}
