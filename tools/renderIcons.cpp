// Writes the application icon as the desktop wants it: a PNG per size in a hicolor theme
// tree (OUTDIR/NxN/apps/NAME.png) and a scalable SVG (OUTDIR/scalable/apps/NAME.svg), all
// drawn by the program's own icon code.
//
//     zqar-render-icons OUTDIR NAME SIZE...

#include "core/data/numbers.h"
#include "platform/icon/applicationIcon.h"

#include <QImage>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The SVG is the picture at SVG_GRID pixels, one rectangle per run of equal pixels in a row.
constexpr int SVG_GRID = 64;

bool writePng(const std::filesystem::path &file, int size) {
    const std::vector<uint32_t> pixels = zqar::applicationIconPixels(size);
    if (pixels.empty())
        return false;
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * size,
                    static_cast<std::size_t>(size) * sizeof(uint32_t));
    return image.save(QString::fromStdString(file.string()), "PNG");
}

bool writeSvg(const std::filesystem::path &file) {
    const std::vector<uint32_t> pixels = zqar::applicationIconPixels(SVG_GRID);
    std::ofstream out(file, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << SVG_GRID << "\" height=\""
        << SVG_GRID << "\" viewBox=\"0 0 " << SVG_GRID << " " << SVG_GRID
        << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < SVG_GRID; ++y) {
        const uint32_t *row = pixels.data() + static_cast<std::size_t>(y) * SVG_GRID;
        for (int x = 0; x < SVG_GRID;) {
            int end = x + 1;
            while (end < SVG_GRID && row[end] == row[x])
                ++end;
            char colour[8];
            std::snprintf(colour, sizeof colour, "#%06x", row[x] & 0xFFFFFFu);
            out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x
                << "\" height=\"1\" fill=\"" << colour << "\"/>\n";
            x = end;
        }
    }
    out << "</svg>\n";
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: zqar-render-icons OUTDIR NAME SIZE...\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::string name = argv[2];
    for (int i = 3; i < argc; ++i) {
        const int size = zqar::readInteger(argv[i]);
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = root / folder / "apps";
        std::filesystem::create_directories(dir);
        if (!writePng(dir / (name + ".png"), size)) {
            std::fprintf(stderr, "zqar-render-icons: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    const std::filesystem::path scalable = root / "scalable" / "apps";
    std::filesystem::create_directories(scalable);
    if (!writeSvg(scalable / (name + ".svg"))) {
        std::fprintf(stderr, "zqar-render-icons: cannot write the SVG icon\n");
        return 1;
    }
    return 0;
}
