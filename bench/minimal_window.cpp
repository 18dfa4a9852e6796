// The floor the start-up benchmark compares Quendril with: the least a Qt
// Widgets program with a similar first window has to do.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Qt Window"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);

    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Type nine numbers:"), central));
    layout->addWidget(new QLineEdit(central));
    window.setCentralWidget(central);

    window.show();
    return QApplication::exec();
}
