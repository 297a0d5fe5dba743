// A Wayland window for the sway tests: `kestavon_sway_window APP_ID KEYS_FILE` shows a window
// with that app_id and appends the evdev code of every key typed into it to KEYS_FILE.
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRasterWindow>

namespace {

class Window final : public QRasterWindow {
public:
    explicit Window(QString keysFile) : keysFile_(std::move(keysFile)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QFile keys(keysFile_);
        if (keys.open(QIODevice::Append)) keys.write(QByteArray::number(event->nativeScanCode() - 8) + "\n");
    }

private:
    QString keysFile_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    QGuiApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLocal8Bit(argv[1]));
    Window window{QString::fromLocal8Bit(argv[2])};
    window.setTitle(QString::fromLocal8Bit(argv[1]));
    window.resize(200, 150);
    window.show();
    return QGuiApplication::exec();
}
