// The baseline of the start-up benchmark: a bare Qt Widgets window with one
// button, built with the program's flags.
#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("НАЧАЛО РАБОТЫ"));
    window.resize(800, 600);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QPushButton(QStringLiteral("Продолжение работы"), &window));
    window.show();
    return QApplication::exec();
}
