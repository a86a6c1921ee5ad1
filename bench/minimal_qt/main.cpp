// The smallest program on the toolkit that shows a window: the lower bound for start-up time and memory
// of any Qt Widgets program on this machine.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.setWindowTitle(QStringLiteral("Minimal Qt"));
    window.show();
    return app.exec();
}
