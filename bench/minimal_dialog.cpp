// The yardstick for start-up time and memory: the least a Qt Widgets program can do, one empty dialog with the
// program's title. "--minimized" starts it minimized, for the idle comparison.

#include <QApplication>
#include <QDialog>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Nudgepost"));
    if (argc > 1 && std::strcmp(argv[1], "--minimized") == 0)
        dialog.showMinimized();
    else
        dialog.show();
    return app.exec();
}
