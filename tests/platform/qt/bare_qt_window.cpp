// The yardstick of the start-up benchmark: a bare Qt dialog with one label, measured the same
// way as the wizard (it writes "shown" and ends at its first paint).
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <cstdio>

namespace rg::test {

class FirstPaintExit final : public QDialog {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        ::_exit(0);
    }
};

}  // namespace rg::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    rg::test::FirstPaintExit window;
    QLabel label(QStringLiteral("Hello"), &window);
    window.resize(545, 304);
    window.show();
    return QApplication::exec();
}
