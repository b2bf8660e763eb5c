// ondrel-contact-sheet: stacks pictures into one, each under its file name.
//
//   ondrel-contact-sheet OUT.png IN.png...

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ondrel-contact-sheet OUT.png IN.png...\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication application(argc, argv);
    constexpr int Margin = 12, Label = 22;
    std::vector<QImage> pictures;
    std::vector<QString> names;
    int width = 0, height = Margin;
    for (int i = 2; i < argc; ++i) {
        QImage picture(QString::fromLocal8Bit(argv[i]));
        if (picture.isNull()) {
            std::fprintf(stderr, "ondrel-contact-sheet: cannot read %s\n", argv[i]);
            return 2;
        }
        width = std::max(width, picture.width());
        height += Label + picture.height() + Margin;
        names.push_back(QFileInfo(QString::fromLocal8Bit(argv[i])).completeBaseName());
        pictures.push_back(std::move(picture));
    }
    QImage sheet(width + 2 * Margin, height, QImage::Format_RGB32);
    sheet.fill(QColor(48, 48, 48));
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    painter.setPen(QColor(230, 230, 230));
    int y = Margin;
    for (size_t i = 0; i < pictures.size(); ++i) {
        painter.drawText(Margin, y + Label - 6, names[i]);
        painter.drawImage(Margin, y + Label, pictures[i]);
        y += Label + pictures[i].height() + Margin;
    }
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "ondrel-contact-sheet: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
