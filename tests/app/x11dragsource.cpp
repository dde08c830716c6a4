// A drag source for the drop tests on a real X server: a window that,
// pressed, drags one file as a file manager does (text/uri-list) and says
// on standard output which action the target took. Asked on standard input
// ("grab WINDOW PATH"), it saves what the X server shows of a window, so
// the test sees the other program's window as a user would.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSocketNotifier>
#include <QTextStream>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

class DragSource : public QWidget
{
public:
    explicit DragSource(QString file) : file_(std::move(file))
    {
        setWindowTitle(QStringLiteral("drag source"));
        setFixedSize(160, 160);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(file_)});
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("dropped %d\n", int(action));
        std::fflush(stdout);
    }

private:
    QString file_;
};

void answer(const QString& line)
{
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (words.size() == 3 && words[0] == QLatin1String("grab")) {
        const QPixmap shown = QGuiApplication::primaryScreen()->grabWindow(words[1].toULongLong());
        std::printf("grabbed %d\n", int(!shown.isNull() && shown.save(words[2])));
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char line[4096];
        const ssize_t got = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        for (const QString& request : QString::fromLocal8Bit(line, int(got)).split(u'\n'))
            answer(request.trimmed());
    });
    return app.exec();
}
