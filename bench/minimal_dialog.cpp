// The yardstick for start-up time and memory: the least a Qt Widgets program can do, one empty dialog with the
// program's title. "--minimized" starts it minimized, for the idle comparison. "--label" puts one line of text in
// it: an empty dialog never needs a font, so Qt starts without reading the font configuration, which every window
// that shows text pays for before it can be sized.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Nudgepost"));
    bool minimized = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--minimized") == 0) {
            minimized = true;
        } else if (std::strcmp(argv[i], "--label") == 0) {
            auto* layout = new QVBoxLayout(&dialog);
            layout->addWidget(new QLabel(QStringLiteral("Nudgepost"), &dialog));
        }
    }
    if (minimized)
        dialog.showMinimized();
    else
        dialog.show();
    return app.exec();
}
