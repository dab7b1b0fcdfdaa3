// Checks two screenshots of the same page taken by kestro-host: one with
// the context menu open, one with its submenu open as well. The submenu
// must be drawn in the second: where the two differ, the largest
// connected part is menu-sized (small changes elsewhere, a caret or a
// hovered button, do not count). Not pixel-exact: fonts and styles vary
// from machine to machine.
//   screenshot_check MENU.png SUBMENU.png
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCell = 8;  // differences are grouped in cells of this size
constexpr int kMinWidth = 100;
constexpr int kMinHeight = 80;

int Fail(const char* what) {
    std::fprintf(stderr, "screenshot_check: %s\n", what);
    return 1;
}

// The cells holding a differing pixel.
std::vector<std::vector<bool>> ChangedCells(const QImage& a, const QImage& b) {
    std::vector<std::vector<bool>> cells((a.height() + kCell - 1) / kCell,
                                         std::vector<bool>((a.width() + kCell - 1) / kCell));
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) cells[y / kCell][x / kCell] = true;
    return cells;
}

// The bounding box, in pixels, of the largest group of touching cells.
QRect LargestGroup(std::vector<std::vector<bool>> cells) {
    QRect largest;
    int largestCount = 0;
    for (int row = 0; row < static_cast<int>(cells.size()); ++row)
        for (int column = 0; column < static_cast<int>(cells[row].size()); ++column) {
            if (!cells[row][column]) continue;
            QRect box;
            int count = 0;
            std::vector<QPoint> stack{{column, row}};
            cells[row][column] = false;
            while (!stack.empty()) {
                const QPoint at = stack.back();
                stack.pop_back();
                ++count;
                box |= QRect(at.x() * kCell, at.y() * kCell, kCell, kCell);
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = at + step;
                    if (next.y() < 0 || next.y() >= static_cast<int>(cells.size()) ||
                        next.x() < 0 || next.x() >= static_cast<int>(cells[next.y()].size()) ||
                        !cells[next.y()][next.x()])
                        continue;
                    cells[next.y()][next.x()] = false;
                    stack.push_back(next);
                }
            }
            if (count > largestCount) {
                largestCount = count;
                largest = box;
            }
        }
    return largest;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) return Fail("usage: screenshot_check MENU.png SUBMENU.png");
    const QImage menu =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage submenu =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (menu.isNull() || submenu.isNull()) return Fail("a picture cannot be read");
    if (menu.size() != submenu.size()) return Fail("the pictures differ in size");
    const QRect group = LargestGroup(ChangedCells(menu, submenu));
    std::printf("the submenu picture changed most in %dx%d at %d,%d\n", group.width(),
                group.height(), group.x(), group.y());
    if (group.width() < kMinWidth || group.height() < kMinHeight)
        return Fail("no submenu-sized part of the picture changed");
    return 0;
}
