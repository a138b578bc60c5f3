// A window that drags one file, as a file manager does, for the real-window
// checks: "kestal-drag-source FILE" shows a small window titled
// "kestal-drag-source"; pressing the mouse in it starts dragging FILE's
// address. The drop's target asks for the address after the drop, so the
// program stays a few seconds more before it ends.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QString file) : file_(std::move(file)) {
        setWindowTitle(QStringLiteral("kestal-drag-source"));
        resize(120, 120);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(file_)});
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
        QTimer::singleShot(5000, qApp, &QApplication::quit);
    }

private:
    QString file_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
